#include "directory/StartFolder.h"

#include <gtest/gtest.h>

#include "tests/fakes/FakePlatform.h"

TEST(StartFolder, TheArgumentNamesAFolderOrAFilesFolder) {
    FakeFileSystem files;
    files.addDirectory("C:");
    files.addDirectory("C:\\Work");
    files.addDirectory("C:\\My Work");
    files.addFile("C:\\Work\\a.bat");
    files.addFile("C:\\a.bat");
    files.addFile("C:\\Hidden\\b.bat");  // its folder is not listed as existing
    struct Case {
        const char* argument;
        std::optional<std::string> folder;
    };
    const Case cases[] = {
        {"C:\\Work", "C:\\Work"},
        {"c:\\work\\", "c:\\work"},
        {"C:\\Work\\a.bat", "C:\\Work"},
        {"C:\\a.bat", "C:"},
        {"C:\\", "C:"},
        {"\"C:\\My Work\"", "C:\\My Work"},
        {"\"C:\\My Work\\\"", "C:\\My Work"},
        {"C:\\My Work", "C:\\My Work"},
        {"C:\\Nowhere", std::nullopt},
        {"C:\\Hidden\\b.bat", std::nullopt},
        {"", std::nullopt},
        {"\"\"", std::nullopt},
        {"\"C:\\Work", std::nullopt},  // an unbalanced quote is part of the path
        {"C:\\Work C:\\a.bat", std::nullopt},  // several arguments are one path
    };
    for (const Case& c : cases) EXPECT_EQ(StartFolderFromArgument(c.argument, files), c.folder) << c.argument;
}

