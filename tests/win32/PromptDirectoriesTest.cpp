#include <algorithm>
#include <cctype>

#include "PromptFixture.h"
#include "platform/PlatformError.h"
#include "text/Text.h"

namespace {

using PromptDirectoriesTest = PromptFixture;

std::string Describe(const std::optional<PromptDirectories>& directories) {
    if (!directories) return "nothing";
    std::string out = "current " + directories->current;
    for (const auto& [letter, path] : directories->drives) out += ", " + letter + " " + path;
    return out;
}

// Paths as the prompt holds them keep the letter case that was typed ("z:" gives z:\).
bool SamePath(const std::string& a, const std::string& b) {
    return text::UCase(a) == text::UCase(b);
}

std::optional<std::string> DriveEntry(const PromptDirectories& directories, char letter) {
    for (const auto& [drive, path] : directories.drives) {
        if (drive == std::string(1, letter)) return path;
    }
    return std::nullopt;
}

// A ready drive other than the given one, from Z: down (Wine maps the Unix root to Z:).
std::optional<char> OtherDrive(char besides) {
    for (char letter = 'Z'; letter >= 'C'; --letter) {
        if (letter == besides) continue;
        const std::wstring root{static_cast<wchar_t>(letter), L':', L'\\'};
        const DWORD attributes = GetFileAttributesW(root.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return letter;
    }
    return std::nullopt;
}

TEST_F(PromptDirectoriesTest, ShowWhereThePromptReallyIsAfterEachChange) {
    const std::string japanese = "日本語\U0002000B";
    ASSERT_TRUE(CreateDirectoryW(folder.file(L"sub").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(folder.file(ToWide(japanese)).c_str(), nullptr));
    wchar_t windowsDirectory[MAX_PATH];
    ASSERT_GT(GetWindowsDirectoryW(windowsDirectory, MAX_PATH), 3u);
    const std::string home = ToUtf8(folder.path()), windows = ToUtf8(windowsDirectory);
    const char drive = static_cast<char>(toupper(home[0]));
    ASSERT_EQ(toupper(windows[0]), drive) << "the test folder and Windows on one drive";
    const std::optional<char> other = OtherDrive(drive);
    ASSERT_TRUE(other) << "a second drive";
    const std::string otherRoot = std::string(1, *other) + ":\\";

    struct Step {
        std::string typed;
        std::string current;
        std::string driveEntry;  // what the prompt remembers for the test folder's drive
    };
    const Step steps[] = {
        {"cd sub", home + "\\sub\\", home + "\\sub"},
        {"cd..", home + "\\", home},
        {"cd " + japanese, home + "\\" + japanese + "\\", home + "\\" + japanese},
        {"cd\\", std::string(1, drive) + ":\\", std::string(1, drive) + ":\\"},
        {std::string(1, drive) + ":\rcd " + windows.substr(3), windows + "\\", windows},
        {otherRoot.substr(0, 2), otherRoot, windows},
        {"pushd " + home + "\\sub", home + "\\sub\\", home + "\\sub"},
        {"popd", otherRoot, home + "\\sub"},
        {std::string(1, drive) + ":", home + "\\sub\\", home + "\\sub"},
    };
    // Until the prompt has set itself up, its directory is the start folder as it was handed
    // over, without cmd's trailing backslash.
    std::optional<PromptDirectories> read;
    const bool started = WaitUntil([&] {
        read = prompt->readDirectories();
        return read && SamePath(read->current, home + "\\");
    });
    ASSERT_TRUE(started) << Describe(read);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.typed);
        Type(step.typed + "\r");
        const bool arrived = WaitUntil([&] {
            read = prompt->readDirectories();
            return read && SamePath(read->current, step.current);
        });
        ASSERT_TRUE(arrived) << Describe(read);
        const std::optional<std::string> entry = DriveEntry(*read, drive);
        EXPECT_TRUE(entry && SamePath(*entry, step.driveEntry)) << Describe(read);
    }
}

TEST_F(PromptDirectoriesTest, NothingOnceThePromptHasEnded) {
    ASSERT_TRUE(prompt->readDirectories());
    Type("exit\r");
    ASSERT_TRUE(WaitUntil([&] { return !prompt->isRunning(); }));
    EXPECT_EQ(prompt->readDirectories(), std::nullopt);

    Restart(folder.path());
    ASSERT_TRUE(prompt->readDirectories());
    prompt->terminate();
    ASSERT_TRUE(WaitUntil([&] { return !prompt->isRunning(); }));
    EXPECT_EQ(prompt->readDirectories(), std::nullopt);
}

TEST_F(PromptDirectoriesTest, ConsoleProcessesAreThePromptAndWhatItRuns) {
    const std::vector<std::uint32_t> alone{prompt->id()};
    EXPECT_EQ(console.consoleProcesses(prompt->id()), alone);

    // A second command interpreter inside the first shares its console until it exits.
    Type("cmd /k\r");
    std::vector<std::uint32_t> attached;
    EXPECT_TRUE(WaitUntil([&] {
        attached = console.consoleProcesses(prompt->id());
        return attached.size() == 2;
    }));
    EXPECT_NE(std::find(attached.begin(), attached.end(), prompt->id()), attached.end());
    Type("exit\r");
    EXPECT_TRUE(WaitUntil([&] { return console.consoleProcesses(prompt->id()) == alone; }));
    EXPECT_EQ(GetConsoleWindow(), nullptr);

    const std::uint32_t ended = prompt->id();
    End();
    EXPECT_THROW(console.consoleProcesses(ended), PlatformError);
    EXPECT_EQ(GetConsoleWindow(), nullptr);
}

}  // namespace
