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

// The prompt's console window, as its close button would be pressed on it: every process on a
// console that is closed so is ended, so the program must never stay attached to it.
bool closePromptWindow(const Session& s) {
    for (DWORD pid : descendantsOf(s.pid())) {
        for (HWND window : visibleWindowsOf(pid)) {
            const std::wstring kind = windowClass(window);
            if (kind == L"WineConsoleClass" || kind == L"ConsoleWindowClass") {
                PostMessageW(window, WM_CLOSE, 0, 0);
                return true;
            }
        }
    }
    return false;
}

TEST(Exit, NextInputAfterPromptEndedStartsNewPromptAndIsDropped) {
    enum class Ending { ExitCommand, ClosedByUser, WindowClosed };
    for (const Ending ending : {Ending::ExitCommand, Ending::ClosedByUser, Ending::WindowClosed}) {
        SCOPED_TRACE(ending == Ending::ExitCommand    ? "ended by executing exit"
                     : ending == Ending::ClosedByUser ? "closed from outside"
                                                      : "its window closed");
        Session s;
        const DWORD first = runningPrompt(s);
        ASSERT_TRUE(execute(s, "echo ready> ready.txt"));  // the program has typed into it
        ASSERT_TRUE(fileHolds(s, L"ready.txt", "ready\r\n"));
        if (ending == Ending::ExitCommand) {
            ASSERT_TRUE(execute(s, "exit"));
        } else if (ending == Ending::ClosedByUser) {
            s.killPrompt(first);
        } else {
            ASSERT_TRUE(closePromptWindow(s)) << s.report();
        }
        ASSERT_TRUE(s.waitForPromptEnd(first)) << s.report();
        EXPECT_FALSE(hasEnded(s.process())) << "the program ended with its prompt";

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
