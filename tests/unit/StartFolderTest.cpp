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

TEST(StartFolder, ARelativeArgumentIsTakenFromTheCurrentFolder) {
    FakeFileSystem files;
    for (const char* folder :
         {"C:", "C:\\Cur", "C:\\Cur\\sub", "C:\\Cur\\sub dir", "C:\\x", "D:", "D:\\data",
          "\\\\server\\share", "\\\\server\\share\\dir", "\\\\server\\share\\dir\\sub"}) {
        files.addDirectory(folder);
    }
    files.addFile("C:\\Cur\\sub\\a.bat");
    struct Case {
        const char* current;
        const char* argument;
        std::optional<std::string> folder;
    };
    const Case cases[] = {
        {"C:\\Cur", ".", "C:\\Cur"},
        {"C:\\Cur", "sub", "C:\\Cur\\sub"},
        {"C:\\Cur", ".\\sub\\", "C:\\Cur\\sub"},
        {"C:\\Cur", "sub\\..\\sub\\.", "C:\\Cur\\sub"},
        {"C:\\Cur", "\"sub dir\"", "C:\\Cur\\sub dir"},
        {"C:\\Cur", "sub\\a.bat", "C:\\Cur\\sub"},
        {"C:\\Cur", "..\\x", "C:\\x"},
        {"C:\\Cur", "..\\..\\..\\x", "C:\\x"},  // going up stops at the root
        {"C:\\Cur", "..", "C:"},
        {"C:\\Cur", "\\x", "C:\\x"},             // from the current drive's root
        {"C:\\Cur", "c:sub", "C:\\Cur\\sub"},    // relative on the current drive
        {"C:\\Cur", "D:data", "D:\\data"},       // another drive: from its root
        {"C:\\Cur", "C:\\Cur\\..\\x", "C:\\x"},  // an absolute path gets its dots worked out
        {"C:\\Cur", "missing", std::nullopt},
        {"C:\\", ".", "C:"},
        {"C:\\", "Cur", "C:\\Cur"},
        {"\\\\server\\share\\dir", "sub", "\\\\server\\share\\dir\\sub"},
        {"\\\\server\\share\\dir", "..", "\\\\server\\share"},
    };
    for (const Case& c : cases) {
        files.current = c.current;
        EXPECT_EQ(StartFolderFromArgument(c.argument, files), c.folder)
            << c.argument << " from " << c.current;
    }
}
