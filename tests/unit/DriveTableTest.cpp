#include "directory/DriveTable.h"

#include <gtest/gtest.h>

using Drives = std::vector<std::string>;

TEST(DriveTable, TheFirstRefreshFillsTheEmptySlot) {
    DriveTable table;
    EXPECT_EQ(table.DriveDirs(), (std::vector<DriveDir>{{"", ""}}));
    table.RefreshDrives({"A", "C", "D"});
    EXPECT_EQ(table.DriveDirs(), (std::vector<DriveDir>{{"A", ""}, {"C", ""}, {"D", ""}}));
}

TEST(DriveTable, DrivesAreAppendedAndNeverRemoved) {
    DriveTable table;
    table.RefreshDrives({"C"});
    table.RememberDirectory("c", "C:\\Work");  // the drive is found without regard to case
    table.RefreshDrives({"C", "E"});
    table.RefreshDrives({"E", "G"});
    EXPECT_EQ(table.DriveDirs(), (std::vector<DriveDir>{{"C", "C:\\Work"}, {"E", ""}, {"G", ""}}));
    table.Reset();
    EXPECT_EQ(table.DriveDirs(), (std::vector<DriveDir>{{"", ""}}));
}

TEST(DriveTable, RememberingStoresTheTextUnchangedAndIgnoresUnknownDrives) {
    DriveTable table;
    table.RefreshDrives({"C", "D"});
    table.RememberDirectory("D", "D:\\TOOLS\\");
    table.RememberDirectory("Q", "Q:\\X");
    table.RememberDirectory("", "X");
    EXPECT_EQ(table.DriveDirs(), (std::vector<DriveDir>{{"C", ""}, {"D", "D:\\TOOLS\\"}}));
}

TEST(DriveTable, SwitchingDrivesRestoresTheRememberedDirectory) {
    struct Case {
        const char* driveText;
        const char* currentDrive;
        std::optional<DriveTable::Switch> expected;
    };
    const Case cases[] = {
        {"d:", "C", DriveTable::Switch{"D:\\TOOLS", "D"}},  // the one trailing backslash goes
        {"e:", "C", DriveTable::Switch{"E:", "E"}},          // nothing remembered: the root
        {"c:", "C", std::nullopt},
        {"C:", "c", std::nullopt},
        {"q:", "C", std::nullopt},
        {"echo a:", "C", std::nullopt},
    };
    for (const Case& c : cases) {
        DriveTable table;
        table.RefreshDrives({"C", "D"});
        table.RememberDirectory("D", "D:\\TOOLS\\");
        EXPECT_EQ(table.SwitchDrive(c.driveText, c.currentDrive, Drives{"C", "D", "E"}), c.expected)
            << c.driveText;
    }
}

TEST(DriveTable, SwitchingShortensTheStoredDirectoryAndRefreshesOnlyForAnotherDrive) {
    DriveTable table;
    table.RefreshDrives({"C", "D"});
    table.RememberDirectory("D", "D:\\TOOLS\\");
    table.SwitchDrive("c:", "C", Drives{"C", "D", "Z"});
    EXPECT_EQ(table.DriveDirs().size(), 2u);  // the same drive: not even a refresh
    table.SwitchDrive("d:", "C", Drives{"C", "D", "Z"});
    EXPECT_EQ(table.DriveDirs(), (std::vector<DriveDir>{{"C", ""}, {"D", "D:\\TOOLS"}, {"Z", ""}}));
}
