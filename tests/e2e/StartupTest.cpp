// Start-up: where the prompt starts, and the single instance.

#include <gtest/gtest.h>

#include "Driver.h"
#include "Steps.h"
#include "forms/ControlIds.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

TEST(Startup, PromptStartsInProgramFolderShownInCurrentDirectoryBox) {
    struct Case {
        const wchar_t* folderName;
        bool asciiPath;  // cmd writes `cd` output in the ANSI code page: compared only for ASCII
    };
    const Case cases[] = {
        {L"Tavimero e2e", true},
        {L"Tavimero 日本語 e2e", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(narrow(c.folderName));
        Session s(SessionOptions{c.folderName, L"", {}});

        EXPECT_TRUE(sameTextIgnoringCase(widen(s.text(ids::txtCD)), s.folder())) << s.report();
        const DWORD prompt = runningPrompt(s);
        EXPECT_EQ(s.livePrompts().size(), 1u) << s.report();
        EXPECT_TRUE(buttonsEnabled(s));

        ASSERT_TRUE(execute(s, "echo here> here.txt"));
        EXPECT_TRUE(fileHolds(s, L"here.txt", "here\r\n"));
        if (c.asciiPath) {
            ASSERT_TRUE(execute(s, "cd > where.txt"));
            const bool matched = pollUntil(
                [&] {
                    const auto content = s.readFile(L"where.txt");
                    return content && sameTextIgnoringCase(widen(*content), s.folder() + L"\r\n");
                },
                kEffectTimeout);
            EXPECT_TRUE(matched) << "where.txt: \""
                                 << printable(s.readFile(L"where.txt").value_or("(absent)"))
                                 << "\"\n"
                                 << s.report();
        }
        EXPECT_TRUE(s.promptRunning(prompt));
    }
}

TEST(Startup, AnInputTheMomentTheWindowShowsReachesTheOnePrompt) {
    // The prompt starts once the window is on screen; an input that comes first starts it.
    Session s;
    ASSERT_TRUE(execute(s, "echo early> early.txt"));
    EXPECT_TRUE(fileHolds(s, L"early.txt", "early\r\n"));
    EXPECT_EQ(s.livePrompts().size(), 1u) << s.report();
}

TEST(Startup, SecondInstanceEndsAtOnceWithoutWindowWhileFirstRunsOn) {
    Session s;
    const DWORD prompt = runningPrompt(s);

    auto second = startProcess(s.exePath(), L"", s.folder());
    bool showedWindow = false;
    const bool ended = pollUntil(
        [&] {
            if (!visibleWindowsOf(second.pid).empty()) showedWindow = true;
            return hasEnded(second.process.get());
        },
        kEffectTimeout, 5ms);
    if (!ended) endProcessTree(second.pid, second.process.get());
    ASSERT_TRUE(ended) << "the second Tavimero.exe still runs\n" << s.report();
    DWORD exitCode = 1;
    GetExitCodeProcess(second.process.get(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(showedWindow) << "the second Tavimero.exe showed a window";
    for (const auto& e : processTable()) {
        EXPECT_FALSE(e.parent == second.pid && sameTextIgnoringCase(e.exe, L"cmd.exe"))
            << "the second Tavimero.exe started a prompt";
    }
    endProcessTree(second.pid, second.process.get());  // whatever it may have left behind

    EXPECT_FALSE(hasEnded(s.process()));
    EXPECT_TRUE(s.promptRunning(prompt));
    EXPECT_EQ(findVisibleWindow(s.pid(), widen(captions::MainWindow)), s.window());
    ASSERT_TRUE(execute(s, "echo alive> alive.txt"));
    EXPECT_TRUE(fileHolds(s, L"alive.txt", "alive\r\n"));
    EXPECT_FALSE(s.fileExists(L"Tavimero.ini")) << "the second instance wrote settings";
}

}  // namespace
}  // namespace e2e
