// The exit command and the prompt's lifetime: "exit" closes the prompt instead of being typed,
// and the input after the prompt has ended starts a new prompt and is dropped.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Driver.h"
#include "Steps.h"
#include "forms/ControlIds.h"

namespace e2e {
namespace {

TEST(Exit, ExitWordClosesPromptKeepsTextAndAddsNothing) {
    for (const char* word : {"exit", " EXIT ", "Exit"}) {
        SCOPED_TRACE(std::string("\"") + word + "\"");
        Session s;
        const DWORD prompt = runningPrompt(s);
        s.click(ids::chbAdd);
        ASSERT_TRUE(s.isChecked(ids::chbAdd));

        ASSERT_TRUE(execute(s, word));
        EXPECT_TRUE(s.waitForPromptEnd(prompt)) << "the prompt still runs\n" << s.report();
        EXPECT_EQ(s.text(ids::txtCommand), word);
        EXPECT_TRUE(s.listItems(ids::lstCommand).empty()) << s.report();
        EXPECT_TRUE(s.livePrompts().empty()) << "a new prompt was started before the next input\n"
                                             << s.report();
    }
}

TEST(Exit, LongerCommandStartingWithExitIsTypedAndExecuted) {
    Session s;
    const DWORD prompt = runningPrompt(s);
    s.click(ids::chbAdd);
    ASSERT_TRUE(s.isChecked(ids::chbAdd));

    ASSERT_TRUE(execute(s, "exit now"));
    EXPECT_EQ(s.text(ids::txtCommand), "");
    EXPECT_EQ(s.listItems(ids::lstCommand), std::vector<std::string>{"exit now"});
    // cmd itself ends on "exit now", which shows that it was typed with Enter.
    EXPECT_TRUE(s.waitForPromptEnd(prompt)) << s.report();
}

TEST(Exit, InputOnlyExitThenEmptyExecuteClosesPrompt) {
    Session s;
    const DWORD prompt = runningPrompt(s);

    ASSERT_TRUE(inputOnly(s, "exit"));
    EXPECT_EQ(s.text(ids::txtCommand), "");
    EXPECT_TRUE(s.promptRunning(prompt)) << "input only closed the prompt\n" << s.report();

    ASSERT_TRUE(execute(s, ""));
    EXPECT_TRUE(s.waitForPromptEnd(prompt)) << "the prompt still runs\n" << s.report();
}

TEST(Exit, NextInputAfterPromptEndedStartsNewPromptAndIsDropped) {
    enum class Ending { ExitCommand, ClosedByUser };
    for (const Ending ending : {Ending::ExitCommand, Ending::ClosedByUser}) {
        SCOPED_TRACE(ending == Ending::ExitCommand ? "ended by executing exit"
                                                   : "closed from outside");
        Session s;
        const DWORD first = runningPrompt(s);
        if (ending == Ending::ExitCommand) {
            ASSERT_TRUE(execute(s, "exit"));
        } else {
            s.killPrompt(first);
        }
        ASSERT_TRUE(s.waitForPromptEnd(first)) << s.report();

        ASSERT_TRUE(execute(s, "echo r1> r1.txt"));
        const DWORD second = s.waitForPrompt(first);
        ASSERT_NE(second, 0u) << "no new prompt\n" << s.report();
        EXPECT_EQ(s.text(ids::txtCommand), "echo r1> r1.txt") << "the dropped input left the box";

        // The prompt takes input in order: r2.txt existing and r1.txt not shows that r1 was
        // dropped.
        ASSERT_TRUE(execute(s, "echo r2> r2.txt"));
        EXPECT_TRUE(fileHolds(s, L"r2.txt", "r2\r\n"));
        EXPECT_FALSE(s.fileExists(L"r1.txt")) << "the input that started the prompt was typed\n"
                                              << s.report();
        EXPECT_EQ(s.text(ids::txtCommand), "");
        EXPECT_EQ(s.livePrompts(), std::vector<DWORD>{second}) << s.report();
    }
}

TEST(Exit, NewPromptStartsInTrackedDirectory) {
    Session s;
    const DWORD first = runningPrompt(s);
    ASSERT_TRUE(execute(s, "mkdir sub"));
    ASSERT_TRUE(s.waitForDirectory(L"sub")) << s.report();
    ASSERT_TRUE(execute(s, "cd sub"));
    EXPECT_TRUE(
        pollUntil([&] { return sameTextIgnoringCase(widen(s.text(ids::txtCD)), s.pathOf(L"sub")); },
                  kEffectTimeout))
        << "txtCD does not follow cd\n"
        << s.report();

    ASSERT_TRUE(execute(s, "exit"));
    ASSERT_TRUE(s.waitForPromptEnd(first)) << s.report();
    ASSERT_TRUE(execute(s, "echo dropped> dropped.txt"));  // starts the new prompt
    ASSERT_NE(s.waitForPrompt(first), 0u) << s.report();
    ASSERT_TRUE(execute(s, "echo r2> r2.txt"));
    EXPECT_TRUE(fileHolds(s, L"sub\\r2.txt", "r2\r\n"));
}

}  // namespace
}  // namespace e2e
