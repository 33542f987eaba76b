#include <gtest/gtest.h>

#include "directory/DirectoryTracker.h"
#include "tests/fakes/FakePlatform.h"

namespace {

class DirectoryTrackerTest : public ::testing::Test {
protected:
    DirectoryTrackerTest() {
        for (const char* folder : {"C:", "C:\\Tools", "D:", "D:\\Work"}) files.addDirectory(folder);
        tracker.Started("C:\\Tools");
        shown.clear();
    }
    FakeFileSystem files;
    std::string currentDir;
    std::string currentDrive;
    std::vector<std::string> shown;
    DirectoryTracker tracker{
        {currentDir, currentDrive}, files, [this](const std::string& d) { shown.push_back(d); }};
};

TEST_F(DirectoryTrackerTest, ThePromptsOwnDirectoryIsShownAsTheProgramHoldsIt) {
    struct Case {
        const char* held;        // as the prompt holds it
        const char* currentDir;  // as the program holds it afterwards
        const char* currentDrive;
        bool shown;
    };
    const Case cases[] = {
        {"C:\\Tools\\", "C:\\Tools", "C", false},  // where it is already: nothing shown again
        {"C:\\Tools\\sub\\", "C:\\Tools\\sub", "C", true},
        {"c:\\windows\\", "c:\\windows", "C", true},  // the letter as held; the drive upper case
        {"C:\\", "C:", "C", true},                    // a root held bare
        {"C:\\", "C:", "C", false},
        {"d:\\work", "d:\\work", "D", true},
        {"\\\\server\\share\\", "d:\\work", "D", false},  // no drive: not followed
    };
    for (const Case& c : cases) {
        shown.clear();
        EXPECT_EQ(tracker.Follow({c.held, {}}), c.shown) << c.held;
        EXPECT_EQ(currentDir, c.currentDir) << c.held;
        EXPECT_EQ(currentDrive, c.currentDrive) << c.held;
        EXPECT_EQ(shown.size(), c.shown ? 1u : 0u) << c.held;
    }
}

TEST_F(DirectoryTrackerTest, EachDriveRemembersThePromptsDirectoryForIt) {
    tracker.Follow({"C:\\Tools\\", {{"D", "D:\\Work"}}});
    tracker.SwitchDrive("d:");
    EXPECT_EQ(currentDir, "D:\\Work");
    tracker.Follow({"D:\\Work\\", {{"C", "C:\\"}}});
    tracker.SwitchDrive("c:");
    EXPECT_EQ(currentDir, "C:");
}

TEST_F(DirectoryTrackerTest, ANewPromptForgetsTheOldPromptsDirectories) {
    tracker.Follow({"C:\\Tools\\", {{"D", "D:\\Work"}}});
    tracker.Started("C:\\Tools");
    tracker.SwitchDrive("d:");
    EXPECT_EQ(currentDir, "D:");  // a new prompt starts every other drive at its root
}

TEST_F(DirectoryTrackerTest, ADriveWithoutMediaKeepsThePromptWhereItWas) {
    files.driveLetters = {"A", "C", "D"};
    tracker.SwitchDrive("a:");
    EXPECT_EQ(currentDir, "C:\\Tools");
    EXPECT_TRUE(shown.empty());
}

}  // namespace
