// Which program the prompt is, and where a relative start folder puts it: always the system's
// own cmd.exe, never one lying beside the program or in the folder the program was started
// from; ".", "sub" and the like taken from the folder the program was started from.

#include <gtest/gtest.h>

#include <stdexcept>

#include "DirectorySteps.h"
#include "Driver.h"
#include "Steps.h"

#ifndef TAVIMERO_PLANTED_PROMPT
#define TAVIMERO_PLANTED_PROMPT ""
#endif

namespace e2e {
namespace {

// What the planted program writes into its current folder when it runs.
constexpr wchar_t kMarker[] = L"planted-prompt-ran.txt";

std::wstring systemCmd() {
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH + 1);
    return std::wstring(folder, length) + L"\\cmd.exe";
}

bool fileExistsAt(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Puts the planted program into folder under the name cmd.exe.
void plantCmd(const std::wstring& folder) {
    const std::wstring planted = toWindowsPath(TAVIMERO_PLANTED_PROMPT);
    if (!CopyFileW(planted.c_str(), (folder + L"\\cmd.exe").c_str(), FALSE)) {
        throw std::runtime_error("cannot copy the planted program " + narrow(planted));
    }
}

TEST(PromptLaunch, ThePlantedProgramLeavesItsMarkerWhenRun) {
    // Without this the test below could pass with a planted program that marks nothing.
    TempFolder folder(L"planted");
    plantCmd(folder.path());
    auto run = startProcess(folder / L"cmd.exe", L"", folder.path());
    ASSERT_TRUE(waitForEnd(run.process.get(), kEffectTimeout));
    EXPECT_TRUE(fileExistsAt(folder / kMarker)) << folder.listing();
}

TEST(PromptLaunch, OnlyTheSystemsCmdIsStartedNeverOnePlantedNearby) {
    for (const bool besideProgram : {true, false}) {
        SCOPED_TRACE(besideProgram ? "cmd.exe beside Tavimero.exe"
                                   : "cmd.exe in the folder the program is started from");
        TempFolder from(L"started from");
        SessionOptions options;
        options.workingFolder = from.path();
        if (besideProgram) {
            options.beforeStart = plantCmd;
        } else {
            plantCmd(from.path());
        }
        Session s(options);
        const DWORD prompt = runningPrompt(s);
        if (prompt == 0) continue;  // reported; the other placement is still tried
        EXPECT_TRUE(sameTextIgnoringCase(imagePathOf(prompt), systemCmd()))
            << "the prompt is " << narrow(imagePathOf(prompt)) << "\n"
            << s.report();
        // Commands reach the real prompt, which starts in the program's folder.
        EXPECT_TRUE(execute(s, "echo real> real.txt"));
        EXPECT_TRUE(fileHolds(s, L"real.txt", "real\r\n"));
        EXPECT_EQ(s.livePrompts().size(), 1u) << s.report();
        EXPECT_FALSE(s.fileExists(kMarker)) << "the planted cmd.exe ran\n" << s.report();
        EXPECT_FALSE(fileExistsAt(from / kMarker)) << "the planted cmd.exe ran\n"
                                                    << from.listing();
    }
}

TEST(PromptLaunch, ARelativeStartFolderIsTakenFromTheFolderTheProgramStartsIn) {
    TempFolder from(L"started from");
    ASSERT_TRUE(CreateDirectoryW((from / L"sub").c_str(), nullptr));
    struct Case {
        const wchar_t* argument;
        std::wstring expected;
    };
    const Case cases[] = {
        {L".", from.path()},
        {L"sub", from / L"sub"},
        {L"sub\\..\\sub\\", from / L"sub"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(narrow(c.argument));
        SessionOptions options;
        options.arguments = c.argument;
        options.workingFolder = from.path();
        Session s(options);
        runningPrompt(s);
        EXPECT_TRUE(sameTextIgnoringCase(shownDirectory(s), c.expected)) << s.report();
        EXPECT_TRUE(boxShowsPromptDirectory(s, c.expected));
    }
}

}  // namespace
}  // namespace e2e
