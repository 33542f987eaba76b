#include <gtest/gtest.h>

#include <algorithm>

#include "directory/FolderListing.h"
#include "tests/fakes/FakePlatform.h"

namespace {

bool Logged(const FakeFileSystem& files, const std::string& entry) {
    return std::find(files.log.begin(), files.log.end(), entry) != files.log.end();
}

// Each drive kind: what the drive list shows, and whether the drive itself (its label) is read.
TEST(DriveEntries, OnlyFixedDrivesAreAskedForTheirLabel) {
    struct Case {
        std::string letter;
        DriveKind kind;
        std::string label;       // as the drive would answer
        std::string connection;  // as the network client would answer
        bool ready;
        std::string shown;
        bool labelAsked;
    };
    const Case cases[] = {
        {"C", DriveKind::Fixed, "SYSTEM", "", true, "c: [SYSTEM]", true},
        {"D", DriveKind::Fixed, "", "", true, "d:", true},
        {"E", DriveKind::Fixed, "DATA", "", false, "e:", true},  // not ready
        {"F", DriveKind::RamDisk, "RAM", "", true, "f: [RAM]", true},
        {"A", DriveKind::Removable, "FLOPPY", "", true, "a:", false},
        {"G", DriveKind::CdRom, "DISC", "", true, "g:", false},
        {"Z", DriveKind::Remote, "SERVER", "\\\\server\\share", true, "z: [\\\\server\\share]",
         false},
        {"Y", DriveKind::Remote, "SERVER", "", true, "y:", false},  // no connection recorded
        {"X", DriveKind::Unknown, "ODD", "", true, "x:", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.letter);
        FakeFileSystem files;
        files.driveLetters = {c.letter};
        files.kinds[c.letter] = c.kind;
        files.labels[c.letter] = c.label;
        if (!c.connection.empty()) files.connections[c.letter] = c.connection;
        if (!c.ready) files.notReady.insert(c.letter);
        EXPECT_EQ(listing::DriveEntries(files), std::vector<std::string>{c.shown});
        EXPECT_EQ(Logged(files, "volume label " + c.letter), c.labelAsked);
        EXPECT_EQ(Logged(files, "connection " + c.letter), c.kind == DriveKind::Remote);
    }
}

}  // namespace
