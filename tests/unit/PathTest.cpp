#include <gtest/gtest.h>

#include "text/Path.h"

using namespace path;

TEST(Path, DriveLetters) {
    struct Case {
        const char* path;
        bool hasDriveLetter;
        bool isBareDrive;
        const char* drive;
    };
    const Case cases[] = {
        {"C:", true, true, "C"},        {"c:\\work", true, false, "c"},
        {"C:\\", true, false, "C"},     {"1:\\x", false, false, "1"},
        {":", false, false, ""},        {"\\\\server\\share", false, false, "\\\\server\\share"},
        {"", false, false, ""},         {"C", false, false, "C"},
        {"ab:\\x", false, false, "ab"}, {"Z:x:y", true, false, "Z"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HasDriveLetter(c.path), c.hasDriveLetter) << c.path;
        EXPECT_EQ(IsBareDrive(c.path), c.isBareDrive) << c.path;
        EXPECT_EQ(DriveOf(c.path), c.drive) << c.path;
    }
}

TEST(Path, TrailingBackslashesAreAddedOrRemovedOnce) {
    EXPECT_EQ(WithTrailingBackslash("C:\\Tools"), "C:\\Tools\\");
    EXPECT_EQ(WithTrailingBackslash("D:\\"), "D:\\");
    EXPECT_EQ(WithoutTrailingBackslash("D:\\"), "D:");
    EXPECT_EQ(WithoutTrailingBackslash("C:\\a\\\\"), "C:\\a\\");
    EXPECT_EQ(WithoutTrailingBackslash(""), "");
}

TEST(Path, JoiningNeverDoublesOrLeavesABackslash) {
    const char* cases[][3] = {
        {"C:\\WINDOWS", "system", "C:\\WINDOWS\\system"},
        {"D:\\", "tools", "D:\\tools"},
        {"C:", "\\TEMP", "C:\\TEMP"},
        {"C:", "", "C:"},
        {"D:\\", "", "D:"},
        {"C:\\a\\", "\\b\\", "C:\\a\\b"},
        {"C:\\a", "b\\c", "C:\\a\\b\\c"},
    };
    for (const auto& c : cases) EXPECT_EQ(Join(c[0], c[1]), c[2]) << c[0] << " + " << c[1];
}

TEST(Path, TheFolderOfAPathIsEverythingBeforeItsLastSeparator) {
    EXPECT_EQ(FolderOf("C:\\Work\\a.txt"), "C:\\Work");
    EXPECT_EQ(FolderOf("C:\\a.txt"), "C:");
    EXPECT_EQ(FolderOf("C:\\ My Work\\a.txt"), "C:\\ My Work");  // names may start with a space
    EXPECT_EQ(FolderOf("\\\\server\\share\\a.txt"), "\\\\server\\share");
    EXPECT_EQ(FolderOf("a.txt"), std::nullopt);
    // Windows takes a forward slash for a backslash.
    EXPECT_EQ(FolderOf("C:/Lists/a.txt"), "C:/Lists");
    EXPECT_EQ(FolderOf("C:\\Lists/sub\\a.txt"), "C:\\Lists/sub");
    EXPECT_EQ(FolderOf("C:/a.txt"), "C:");
}

TEST(Path, TheLongFormPrefixGoesWhereAShortFormExists) {
    const char* cases[][2] = {
        {"\\\\?\\C:\\Lists\\a.txt", "C:\\Lists\\a.txt"},
        {"\\\\?\\UNC\\server\\share\\a.txt", "\\\\server\\share\\a.txt"},
        {"\\\\?\\unc\\server\\share", "\\\\server\\share"},
        // A volume without a drive letter has no shorter name.
        {"\\\\?\\Volume{01234567-89ab-cdef-0123-456789abcdef}\\a.txt",
         "\\\\?\\Volume{01234567-89ab-cdef-0123-456789abcdef}\\a.txt"},
        {"C:\\a.txt", "C:\\a.txt"},
        {"\\\\server\\share\\a.txt", "\\\\server\\share\\a.txt"},
        {"\\\\?\\", "\\\\?\\"},
    };
    for (const auto& c : cases) EXPECT_EQ(WithoutLongPrefix(c[0]), c[1]) << c[0];
}

TEST(Path, DotsAreWorkedOutWithoutLeavingTheRoot) {
    const char* cases[][2] = {
        {"C:\\A\\B\\..\\.\\C", "C:\\A\\C"},
        {"C:\\A\\B\\..\\..", "C:"},
        {"C:\\..\\..\\x", "C:\\x"},
        {"c:\\a\\.", "c:\\a"},
        {"C:\\", "C:"},
        {"C:", "C:"},
        {"C:\\a\\\\b\\", "C:\\a\\b"},
        {"C:\\a\\..foo", "C:\\a\\..foo"},  // a name that begins with dots is a name
        {"\\\\server\\share\\a\\..\\..", "\\\\server\\share"},
        {"\\a\\..", "\\"},
        {"a\\..\\b", "b"},
    };
    for (const auto& c : cases) EXPECT_EQ(CollapseDots(c[0]), c[1]) << c[0];
}

TEST(Path, APathThePromptWouldSplitIsQuoted) {
    for (const char* plain : {"C:\\Work", "a.txt", "C:\\a-b_c~1\\x@y#z$%.txt", "日本語.txt"}) {
        EXPECT_EQ(QuotedForPrompt(plain), plain);
    }
    for (const char* special : {"C:\\Program Files", "C:\\R&D\\build.bat", "a(1).txt", "[x]", "{y}",
                                "a^b", "a=b", "a;b", "a!b", "it's", "a+b", "a,b", "a`b"}) {
        EXPECT_EQ(QuotedForPrompt(special), std::string("\"") + special + "\"") << special;
    }
}
