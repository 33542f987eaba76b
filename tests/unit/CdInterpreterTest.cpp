#include "directory/CdInterpreter.h"

#include <gtest/gtest.h>

#include <set>

#include "text/Text.h"

namespace {

// A file system whose folders exist by name, without regard to letter case.
struct Folders {
    std::set<std::string> existing;
    int refreshes = 0;
    CdContext Context(const std::string& currentDir, const std::string& currentDrive) {
        return {currentDir, currentDrive,
                [this](const std::string& path) { return existing.count(text::UCase(path)) > 0; },
                [this] { ++refreshes; }};
    }
};

Folders Windows() {
    Folders f;
    for (const char* path : {"C:", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\.\\SYSTEM", "C:\\TEMP",
                             "C:\\PROGRAM FILES", "C:\\WINDOWS\\A BC", "D:", "D:\\WORK", "D:\\TOOLS"}) {
        f.existing.insert(path);
    }
    return f;
}

struct Case {
    const char* line;
    std::optional<std::string> newDirectory;
    const char* currentDir = "C:\\WINDOWS";
};

}  // namespace

TEST(CdInterpreter, FollowsTheLineTheWayThePromptReadsIt) {
    const Case cases[] = {
        {"cd system", "C:\\WINDOWS\\system"},
        {"CHDIR SYSTEM", "C:\\WINDOWS\\SYSTEM"},
        {"chdir  system", "C:\\WINDOWS\\system"},
        {"cd system\\", "C:\\WINDOWS\\system"},
        {"cd .\\system", "C:\\WINDOWS\\system"},
        {"cd .\\system\\", "C:\\WINDOWS\\system"},  // "." and ".." are worked out
        {"cd ..\\..", "C:", "C:\\WINDOWS\\SYSTEM"},
        {"cd ..\\..\\TEMP", "C:\\TEMP", "C:\\WINDOWS\\SYSTEM"},
        {"cd system\\..\\..\\temp", "C:\\temp"},
        // The cd word ends at a dot, a backslash or a quote as at a space.
        {"cd..", "C:"},
        {"CD..", "C:"},
        {"chdir..", "C:"},
        {"cd\\", "C:"},
        {"cd\\TEMP", "C:\\TEMP"},
        {"cd\"system\"", "C:\\WINDOWS\\system"},
        {"  cd..\\TEMP", "C:\\TEMP"},
        {"cd   system", "C:\\WINDOWS\\system"},
        {"  cd system  ", "C:\\WINDOWS\\system"},
        {"cd ..", "C:"},
        {"cd ...", "C:", "C:\\WINDOWS\\SYSTEM"},
        {"cd ...", "C:\\WINDOWS"},  // above the root: stays, as relative to itself
        {"cd \\", "C:"},
        {"cd \\TEMP", "C:\\TEMP"},
        {"cd c:\\temp", "c:\\temp"},
        {"cd c:\\", "c:"},
        {"cd \"Program Files\"", "C:\\Program Files", "C:"},
        {"cd \"a b\"c", "C:\\WINDOWS\\a bc"},
        {"cd system", "C:\\system", "C:"},
        {"cd ..", "C:", "C:"},
        {"cd system", "D:\\system", "D:\\"},
    };
    for (const Case& c : cases) {
        Folders folders = Windows();
        folders.existing.insert("C:\\SYSTEM");
        folders.existing.insert("D:\\SYSTEM");
        const std::string drive = text::Split(c.currentDir, ":").front();
        const CdOutcome outcome = TrackCdCommand(c.line, folders.Context(c.currentDir, drive));
        EXPECT_EQ(outcome.NewDirectory, c.newDirectory) << c.line << " from " << c.currentDir;
    }
}

TEST(CdInterpreter, FormsThePromptDoesNotFollowLeaveTheDirectory) {
    const Case cases[] = {
        {"cd Program Files", std::nullopt, "C:"},  // an unquoted space
        {"cd /d d:\\work", std::nullopt},
        {"cd \"c:/temp\"", std::nullopt},
        {"cd .", std::nullopt},
        {"cd nothere", std::nullopt},
        {"cd", std::nullopt},
        {"cd    ", std::nullopt},
        {"cd \" \"x", std::nullopt},
        {"cd \"a\" \"b\"", std::nullopt},
        {"cd \\NOSUCH", std::nullopt},  // not looked for in the current folder
        {"cd ..\\NOSUCH", std::nullopt},
        {"cd ..foo", std::nullopt},
        {"cd c:", std::nullopt},  // shows the drive's directory only
        {"cd C:\\WINDOWS\\c:\\TEMP", std::nullopt},
    };
    for (const Case& c : cases) {
        Folders folders = Windows();
        folders.existing.insert("C:\\WINDOWS\\NOSUCH");
        const CdOutcome outcome = TrackCdCommand(c.line, folders.Context(c.currentDir, "C"));
        EXPECT_EQ(outcome, CdOutcome{}) << c.line;
    }
}

TEST(CdInterpreter, GoingUpFollowsTheRestFromTheFolderReached) {
    Folders folders = Windows();
    EXPECT_EQ(TrackCdCommand("cd ..\\TEMP", folders.Context("C:\\WINDOWS", "C")).NewDirectory, "C:\\TEMP");
    EXPECT_EQ(TrackCdCommand("cd ...\\TEMP", folders.Context("C:\\WINDOWS\\SYSTEM", "C")).NewDirectory,
              "C:\\TEMP");
    EXPECT_EQ(TrackCdCommand("cd ..\\", folders.Context("C:\\WINDOWS", "C")).NewDirectory, "C:");
}

TEST(CdInterpreter, AnEmptyQuotedNameStaysWhereItIs) {
    Folders folders = Windows();
    EXPECT_EQ(TrackCdCommand("cd \"\"", folders.Context("C:\\WINDOWS", "C")).NewDirectory, "C:\\WINDOWS");
}

TEST(CdInterpreter, DriveQualifiedPathsOnTheCurrentDriveRefreshTheDrivesFirst) {
    Folders folders = Windows();
    EXPECT_EQ(TrackCdCommand("cd c:\\temp", folders.Context("C:\\WINDOWS", "c")).NewDirectory, "c:\\temp");
    EXPECT_EQ(folders.refreshes, 1);
    EXPECT_EQ(TrackCdCommand("cd system", folders.Context("C:\\WINDOWS", "C")).NewDirectory,
              "C:\\WINDOWS\\system");
    EXPECT_EQ(folders.refreshes, 1);
}

TEST(CdInterpreter, APathOnAnotherDriveChangesThatDrivesDirectoryOnly) {
    Folders folders = Windows();
    const CdOutcome outcome = TrackCdCommand("cd d:\\work\\", folders.Context("C:\\WINDOWS", "C"));
    EXPECT_EQ(outcome.NewDirectory, std::nullopt);
    ASSERT_TRUE(outcome.OtherDrive);
    EXPECT_EQ(outcome.OtherDrive->first, "d");
    EXPECT_EQ(outcome.OtherDrive->second, "d:\\work");
    EXPECT_EQ(TrackCdCommand("cd d:\\nosuch", folders.Context("C:\\WINDOWS", "C")), CdOutcome{});
    // A bare drive only shows that drive's directory: nothing is remembered for it.
    EXPECT_EQ(TrackCdCommand("cd d:", folders.Context("C:\\WINDOWS", "C")), CdOutcome{});
    EXPECT_EQ(TrackCdCommand("cd d:\\tools\\..\\work", folders.Context("C:\\WINDOWS", "C")).OtherDrive,
              std::make_pair(std::string("d"), std::string("d:\\work")));
}

TEST(CdInterpreter, ADriveThatIsNotReadyCountsAsMissing) {
    Folders folders;  // nothing can be listed
    EXPECT_EQ(TrackCdCommand("cd a:\\x", folders.Context("C:\\WINDOWS", "C")), CdOutcome{});
    EXPECT_EQ(TrackCdCommand("cd system", folders.Context("C:\\WINDOWS", "C")), CdOutcome{});
}

