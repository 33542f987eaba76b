// Directory tracking: after every way the prompt can change its directory, the box txtCD shows
// where the prompt really is, as the prompt itself reports it (DirectorySteps.h), and the close
// writes that directory as CD.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "DirectorySteps.h"
#include "Driver.h"
#include "Steps.h"
#include "SystemBoxes.h"
#include "forms/ControlIds.h"

namespace e2e {
namespace {

std::wstring rootOf(const std::wstring& path) { return path.substr(0, 2) + L"\\"; }

struct Step {
    std::string command;
    std::wstring promptIn;  // where the prompt is afterwards
};

// Runs the steps; after each, the box must show the prompt's own answer. The slowest agreement
// is reported, as a figure, not as a limit.
void followEachStep(Session& s, const std::vector<Step>& steps) {
    std::chrono::milliseconds slowest{0};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.command);
        ASSERT_TRUE(execute(s, step.command));
        const auto start = Clock::now();
        EXPECT_TRUE(boxShowsPromptDirectory(s, step.promptIn));
        slowest = std::max(
            slowest, std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start));
    }
    std::printf("the box agreed with the prompt's answer within %lld ms after each step\n",
                static_cast<long long>(slowest.count()));
}

TEST(DirectoryTracking, TheBoxFollowsEveryWayThePromptChangesItsDirectory) {
    Session s;
    runningPrompt(s);
    const std::wstring f = s.folder();
    for (const wchar_t* folder : {L"sub", L"sub\\deeper", L"dir with space"})
        ASSERT_TRUE(CreateDirectoryW(s.pathOf(folder).c_str(), nullptr));
    // A batch file that changes the directory: nothing in the typed line says where to.
    ASSERT_TRUE(writeBytes(s.pathOf(L"go.bat"), "@cd \"" + narrow(f) + "\\dir with space\"\r\n"));
    const std::wstring root = rootOf(f);
    const std::vector<Step> steps = {
        {"cd sub", f + L"\\sub"},
        {"cd..", f},
        {"cd sub\\deeper", f + L"\\sub\\deeper"},
        {"cd ..\\..", f},
        {"cd\\", root},
        {"cd /d \"" + narrow(f) + "\"", f},
        {"call \"" + narrow(f) + "\\go.bat\"", f + L"\\dir with space"},
        {"pushd \"" + narrow(f) + "\\sub\"", f + L"\\sub"},
        {"popd", f + L"\\dir with space"},
        {"chdir..", f},
        {"cd \"sub\"", f + L"\\sub"},
        {"CHDIR deeper", f + L"\\sub\\deeper"},
        {"cd ..\\..\\sub", f + L"\\sub"},
    };
    followEachStep(s, steps);
}

TEST(DirectoryTracking, DrivesKeepTheirDirectoriesAsThePromptKeepsThem) {
    Session s;
    runningPrompt(s);
    const std::wstring f = s.folder();
    const OtherDrive other = otherDriveThan(f);
    if (!other.letter) GTEST_SKIP() << "no second drive with a known folder beside " << narrow(f);
    if (!isDirectory(rootOf(f) + L"windows")) GTEST_SKIP() << "no windows folder on the own drive";
    const std::string own = narrow(f.substr(0, 2));
    const std::string otherDrive = narrow(std::wstring{other.letter, L':'});
    const std::wstring windows = rootOf(f) + L"windows";
    const std::vector<Step> steps = {
        {"cd /d \"" + narrow(other.folder) + "\"", other.folder},  // to the other drive and back
        {"cd /d \"" + narrow(f) + "\"", f},
        {otherDrive, other.folder},
        {own, f},
        {"cd \\", rootOf(f)},
        {"cd windows", windows},
        {otherDrive, other.folder},
        {"cd " + own, other.folder},  // a bare other drive only shows its directory
        {own, windows},
        {"chdir..", rootOf(f)},
    };
    followEachStep(s, steps);

    // A new prompt starts every other drive at its root.
    ASSERT_TRUE(execute(s, "cd /d \"" + narrow(other.folder) + "\""));
    ASSERT_TRUE(execute(s, "cd /d \"" + narrow(f) + "\""));
    ASSERT_TRUE(boxShowsPromptDirectory(s, f));
    const DWORD first = runningPrompt(s);
    ASSERT_TRUE(execute(s, "exit"));
    ASSERT_TRUE(s.waitForPromptEnd(first));
    ASSERT_TRUE(execute(s, "echo restarted"));  // dropped: this input starts the new prompt
    ASSERT_NE(s.waitForPrompt(first), 0u) << s.report();
    followEachStep(s, {{otherDrive, std::wstring{other.letter, L':', L'\\'}}});
}

TEST(DirectoryTracking, TheCloseWritesWhereThePromptReallyIs) {
    Session s;
    runningPrompt(s);
    const std::wstring f = s.folder();
    ASSERT_TRUE(CreateDirectoryW(s.pathOf(L"sub").c_str(), nullptr));
    ASSERT_TRUE(writeBytes(s.pathOf(L"go.bat"), "@cd \"" + narrow(f) + "\\sub\"\r\n"));
    ASSERT_TRUE(execute(s, "call \"" + narrow(f) + "\\go.bat\""));
    ASSERT_TRUE(boxShowsPromptDirectory(s, f + L"\\sub"));
    post(s.window(), WM_CLOSE);
    ASSERT_TRUE(waitForEnd(s.process(), kEffectTimeout)) << s.report();
    const std::string ini = settingsText(s).value_or("");
    EXPECT_NE(ini.find("\r\nCD=" + narrow(f) + "\\sub\r\n"), std::string::npos) << ini;
}

TEST(DirectoryTracking, AProgramHoldingTheConsoleIsNeitherFollowedNorSentExit) {
    SessionOptions options;
    options.beforeStart = [](const std::wstring& folder) {
        writeBytes(folder + L"\\Tavimero.ini", "[Tavimero]\r\nCloseDos=Close\r\n");
        copyConsoleReader(folder);
    };
    Session s(options);
    runningPrompt(s);
    ASSERT_TRUE(CreateDirectoryW(s.pathOf(L"sub").c_str(), nullptr));
    ASSERT_TRUE(holdConsole(s));
    const std::wstring shown = shownDirectory(s);

    ASSERT_TRUE(execute(s, "cd sub"));  // an answer to the program, not a directory change
    ASSERT_TRUE(fileHolds(s, L"heard.txt", "started\ncd sub\n"));
    EXPECT_EQ(shownDirectory(s), shown);

    post(s.window(), WM_CLOSE);
    ASSERT_TRUE(waitForEnd(s.process(), kEffectTimeout)) << s.report();
    DWORD reader = 0;
    for (const ProcessEntry& p : processTable())
        if (sameTextIgnoringCase(p.exe, L"ConsoleReader.exe")) reader = p.pid;
    EXPECT_NE(reader, 0u) << "the program in the prompt's console should still run";
    EXPECT_EQ(s.readFile(L"heard.txt").value_or(""), "started\ncd sub\n") << "no exit reaches it";
    if (reader) {
        Handle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, reader));
        if (process) endProcessTree(reader, process.get());
    }
}

}  // namespace
}  // namespace e2e
