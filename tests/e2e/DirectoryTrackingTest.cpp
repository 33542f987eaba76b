// Directory tracking: after each executed directory change the box txtCD shows where the prompt
// really is, as the prompt itself reports it (DirectorySteps.h). Lines the interpreter does not
// follow leave the box as it was.

#include <gtest/gtest.h>

#include <cwctype>
#include <string>
#include <vector>

#include "DirectorySteps.h"
#include "Driver.h"
#include "Steps.h"
#include "forms/ControlIds.h"

namespace e2e {
namespace {

std::wstring rootOf(const std::wstring& path) { return path.substr(0, 2) + L"\\"; }

TEST(DirectoryTracking, BoxFollowsEachExecutedDirectoryChange) {
    Session s;
    runningPrompt(s);
    const std::wstring f = s.folder();
    ASSERT_TRUE(CreateDirectoryW(s.pathOf(L"sub").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(s.pathOf(L"dir with space").c_str(), nullptr));
    const std::wstring root = rootOf(f);
    const std::wstring withoutDrive = f.substr(2);  // \users\...\Tavimero e2e 1-1
    const std::wstring firstFolder =
        withoutDrive.substr(1, withoutDrive.find(L'\\', 1) - 1);  // users

    struct Step {
        std::string command;
        std::wstring promptIn;
    };
    const Step steps[] = {
        {"cd sub", f + L"\\sub"},
        {"cd ..", f},
        {"cd \"dir with space\"", f + L"\\dir with space"},
        {"cd ..\\sub", f + L"\\sub"},  // up, then on from the folder reached
        {"cd ..", f},
        {"CHDIR SUB", f + L"\\SUB"},
        {"cd \\", root},                                    // a root is shown with its backslash
        {"cd " + narrow(firstFolder), root + firstFolder},  // from a root: one backslash
        {"cd \"" + narrow(withoutDrive) + "\"", f},         // root-relative, quoted
        {"cd \"" + narrow(f) + "\\dir with space\"", f + L"\\dir with space"},  // with the drive
        {"cd ..\\", f},
        {"cd sub\\", f + L"\\sub"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.command);
        ASSERT_TRUE(execute(s, step.command));
        EXPECT_TRUE(boxShowsPromptDirectory(s, step.promptIn));
    }
}

TEST(DirectoryTracking, DriveChangeShowsTheDirectoryThePromptHasThere) {
    Session s;
    runningPrompt(s);
    const std::wstring f = s.folder();
    const OtherDrive other = otherDriveThan(f);
    if (!other.letter) GTEST_SKIP() << "no second drive with a known folder beside " << narrow(f);
    ASSERT_TRUE(CreateDirectoryW(s.pathOf(L"sub").c_str(), nullptr));
    const std::string ownDrive = narrow(f.substr(0, 2));
    const std::string otherDrive = narrow(std::wstring{other.letter, L':'});

    struct Step {
        std::string command;
        std::wstring promptIn;
    };
    const Step steps[] = {
        {"cd sub", f + L"\\sub"},
        {otherDrive, std::wstring{other.letter, L':', L'\\'}},  // nothing there yet: its root
        {ownDrive, f + L"\\sub"},                               // back where it left this drive
        // A cd to a folder on the other drive moves only that drive's directory; the prompt stays.
        {"cd \"" + narrow(other.folder) + "\"", f + L"\\sub"},
        {otherDrive, other.folder},
        {ownDrive, f + L"\\sub"},
        {"cd ..", f},
        {otherDrive, other.folder},
        {narrow(std::wstring{static_cast<wchar_t>(towlower(static_cast<wint_t>(f[0]))), L':'}),
         f},  // lower case
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.command);
        ASSERT_TRUE(execute(s, step.command));
        EXPECT_TRUE(boxShowsPromptDirectory(s, step.promptIn));
    }
}

TEST(DirectoryTracking, FormsNotFollowedLeaveTheBoxAsItWas) {
    Session s;
    runningPrompt(s);
    const std::wstring f = s.folder();
    ASSERT_TRUE(CreateDirectoryW(s.pathOf(L"sub").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(s.pathOf(L"dir with space").c_str(), nullptr));
    const std::wstring shownBefore = shownDirectory(s);
    ASSERT_TRUE(sameTextIgnoringCase(shownBefore, f)) << s.report();

    // The prompt may well move on these lines; the box stays, which is the interpreter's limit.
    std::vector<std::string> commands = {
        "cd /d \"" + narrow(f) + "\\sub\"",
        "cd dir with space",
        "cd \"dir with space\" \"sub\"",
        "cd sub/",
        "cd .",
        "cd nosuch",
        "cd " + narrow(rootOf(f).substr(0, 2)),  // a bare drive only shows the directory
    };
    const OtherDrive other = otherDriveThan(f);
    if (other.letter) commands.push_back("cd \"" + narrow(other.folder) + "\"");
    for (const auto& command : commands) {
        SCOPED_TRACE(command);
        ASSERT_TRUE(execute(s, command));
        // Reading the prompt's directory afterwards shows that the line has been executed.
        const std::wstring promptIn = promptDirectory(s);
        EXPECT_EQ(shownDirectory(s), shownBefore)
            << "the prompt is in \"" << narrow(promptIn) << "\"\n"
            << s.report();
        ASSERT_TRUE(execute(s, "cd /d \"" + narrow(f) + "\""));
        ASSERT_TRUE(sameTextIgnoringCase(promptDirectory(s), f)) << s.report();
    }
}

}  // namespace
}  // namespace e2e
