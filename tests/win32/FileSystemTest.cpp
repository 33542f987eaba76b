#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32FileSystem.h"

namespace {

TEST(FileSystemTest, DirectoryExistsAsTheProgramAsksIt) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    TempFolder folder(L"tvm日本");
    WriteFileBytes(folder.file(L"file.txt"), "x");
    const std::string base = ToUtf8(folder.path());
    struct Case {
        std::string path;
        bool exists;
    };
    const Case cases[] = {
        {base, true},         // Japanese in the name
        {base + "\\", true},  // the doubled backslash still names it
        {"C:", true},         // a bare drive is its root
        {"C:\\", true},
        {base + "\\missing", false},
        {base + "\\file.txt", false},   // an ordinary file is no folder
        {"C:\\Windows\\c:\\x", false},  // malformed
        {"Q:\\", false},                // a drive that is not there
        {"", true},                     // "\\": the root of the current drive
    };
    Win32FileSystem files;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(files.directoryExists(c.path), c.exists);
    }
}

}  // namespace
