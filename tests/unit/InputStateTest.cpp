#include "prompt/InputState.h"

#include <gtest/gtest.h>

using Kind = InputState::Tracking::Kind;

TEST(InputState, ExitCommandIsTheTrimmedLowerCaseWordOnly) {
    EXPECT_TRUE(InputState::IsExitCommand("exit"));
    EXPECT_TRUE(InputState::IsExitCommand("EXIT"));
    EXPECT_TRUE(InputState::IsExitCommand("  Exit  "));
    EXPECT_FALSE(InputState::IsExitCommand("exit now"));
    EXPECT_FALSE(InputState::IsExitCommand("\texit"));
    EXPECT_FALSE(InputState::IsExitCommand(""));
}

TEST(InputState, PendingExitMakesAnEmptyExecuteCloseThePrompt) {
    InputState state;
    EXPECT_FALSE(state.ExecutesExit(""));
    state.BeforeInputOnly(" EXIT");
    state.AfterInputOnly(" EXIT");
    EXPECT_TRUE(state.ExitPending());
    EXPECT_TRUE(state.ExecutesExit(""));
    EXPECT_FALSE(state.ExecutesExit("dir"));
    state.AfterExitExecuted();
    EXPECT_FALSE(state.ExitPending());
    EXPECT_EQ(state.PendingLine(), " exit");  // closing the prompt leaves the pending text
}

TEST(InputState, AnyOtherExecuteClearsThePendingExit) {
    InputState state;
    state.BeforeInputOnly("exit");
    state.AfterInputOnly("exit");
    state.BeforeExecute();
    EXPECT_FALSE(state.ExecutesExit(""));
}

// Input-only pieces, then one executed text, and what the directory tracking receives.
TEST(InputState, ExecutedLinesAreHandedToTheDirectoryTracking) {
    struct Case {
        std::vector<std::string> inputOnly;
        std::string executed;
        Kind kind;
        std::string argument;
    };
    const Case cases[] = {
        {{"cd c:\\temp"}, "", Kind::CdCommand, "cd c:\\temp"},
        {{"chdir"}, " c:\\temp", Kind::CdCommand, "chdir c:\\temp"},
        {{"CD \\"}, "Windows", Kind::CdCommand, "cd \\windows"},
        {{"CD "}, "\\Windows", Kind::None, ""},  // the trimmed pending "cd" lacks its space
        {{"cd", " x"}, "y", Kind::CdCommand, "cd xy"},
        {{}, "CD \\Windows", Kind::CdCommand, "CD \\Windows"},
        {{}, "  chdir  \\Temp", Kind::CdCommand, "  chdir  \\Temp"},
        {{}, "chdir", Kind::None, ""},
        {{}, "cd", Kind::None, ""},
        {{"d:"}, "", Kind::DriveChange, "d:"},
        {{" d: "}, " ", Kind::DriveChange, "d:"},
        {{}, "D:", Kind::DriveChange, "D:"},
        {{}, "echo a:", Kind::DriveChange, "echo a:"},
        {{"echo "}, "a:", Kind::DriveChange, "echoa:"},  // the trimmed pending text, then the line
        {{}, "dir", Kind::None, ""},
        {{"dir"}, " /w", Kind::None, ""},
    };
    for (const Case& c : cases) {
        InputState state;
        for (const std::string& piece : c.inputOnly) {
            state.BeforeInputOnly(piece);
            state.AfterInputOnly(piece);
        }
        state.BeforeExecute();
        const auto tracking = state.TrackingFor(c.executed);
        EXPECT_EQ(tracking.kind, c.kind) << c.executed;
        EXPECT_EQ(tracking.argument, c.argument) << c.executed;
        state.AfterExecute();
        EXPECT_EQ(state.PendingLine(), "");
    }
}

TEST(InputState, InputOnlyPiecesAccumulateInLowerCase) {
    InputState state;
    state.AfterInputOnly("ECHO ");
    state.AfterInputOnly("Hello");
    EXPECT_EQ(state.PendingLine(), "echo hello");
    EXPECT_FALSE(state.ExitPending());
}
