// Nothing lost, nothing run that the user did not mean: the end of the user's session, a window
// that merely has the program's caption, a command longer than the prompt takes.

#include <gtest/gtest.h>

#include <future>
#include <string>

#include "Driver.h"
#include "Steps.h"
#include "SystemBoxes.h"
#include "forms/ControlIds.h"

namespace e2e {
namespace {

// Asks the program, as the system does at log-off, whether the session may end; the answer comes
// when the program has asked the user. Sent from a thread of its own so that the test can answer
// the program's question meanwhile.
std::future<LRESULT> querySessionEnd(HWND window) {
    return std::async(std::launch::async, [window] {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 60000,
                            &result);
        return static_cast<LRESULT>(result);
    });
}

TEST(Safety, TheEndOfTheSessionAsksOnceAndCancelKeepsTheProgram) {
    Session s;
    const DWORD prompt = runningPrompt(s);
    s.click(ids::chbAdd);
    ASSERT_TRUE(execute(s, "echo q> q.txt"));  // the list has changed
    ASSERT_TRUE(fileHolds(s, L"q.txt", "q\r\n"));

    auto answer = querySessionEnd(s.window());
    HWND box = waitForBox(s, "保存の確認");
    ASSERT_NE(box, nullptr) << "no save question\n" << s.report();
    ASSERT_TRUE(pressAndWaitForClose(box, IDCANCEL));
    EXPECT_EQ(answer.get(), FALSE) << "Cancel refuses the end of the session";
    EXPECT_FALSE(hasEnded(s.process()));
    EXPECT_FALSE(s.fileExists(L"Tavimero.ini"));
    ASSERT_TRUE(execute(s, "echo after> after.txt"));
    EXPECT_TRUE(fileHolds(s, L"after.txt", "after\r\n"));
    EXPECT_TRUE(s.promptRunning(prompt));

    answer = querySessionEnd(s.window());
    box = waitForBox(s, "保存の確認");
    ASSERT_NE(box, nullptr) << s.report();
    ASSERT_TRUE(pressAndWaitForClose(box, IDNO));
    EXPECT_EQ(answer.get(), TRUE) << "No lets the session end";
    sendTo(s.window(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_TRUE(s.fileExists(L"Tavimero.ini")) << "the settings are written as the session ends";
    EXPECT_EQ(waitForBox(s, "保存の確認"), nullptr) << "asked a second time";
}

TEST(Safety, AnotherWindowCaptionedLikeTheProgramIsNeverBroughtForward) {
    Session s;
    runningPrompt(s);
    // A folder window showing the unpacked program folder carries the same caption.
    HWND decoy = CreateWindowExW(0, L"STATIC", L"Tavimero", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50,
                                 50, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(decoy, nullptr);
    SetForegroundWindow(decoy);
    ASSERT_TRUE(execute(s, "echo x> x.txt"));
    ASSERT_TRUE(fileHolds(s, L"x.txt", "x\r\n"));
    EXPECT_TRUE(pollUntil([&] { return GetForegroundWindow() == s.window(); }, kEffectTimeout))
        << "the foreground window is \"" << windowText(GetForegroundWindow()) << "\"";
    DestroyWindow(decoy);
}

TEST(Safety, ACommandLongerThanThePromptTakesTypesNothing) {
    Session s;
    runningPrompt(s);
    const std::string command = "echo " + std::string(8190, 'x') + "> long.txt";
    s.setText(ids::txtCommand, command);
    postClickChild(s.window(), ids::cmdSendAndDo);
    const HWND box = waitForBox(s, "Tavimero");
    ASSERT_NE(box, nullptr) << "no message\n" << s.report();
    EXPECT_NE(messageBoxText(box).find("8191"), std::string::npos) << messageBoxText(box);
    ASSERT_TRUE(pressAndWaitForClose(box, IDOK));
    ASSERT_TRUE(execute(s, "echo done> done.txt"));
    ASSERT_TRUE(fileHolds(s, L"done.txt", "done\r\n"));  // the prompt has run everything typed
    EXPECT_FALSE(s.fileExists(L"long.txt"));
    EXPECT_TRUE(buttonsEnabled(s));
}

}  // namespace
}  // namespace e2e
