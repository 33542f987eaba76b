#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Profile.h"

namespace {

class ProfileTest : public ::testing::Test {
protected:
    // A new file name per use: the system keeps the last file it read in memory.
    std::string FreshPath() {
        return ToUtf8(folder.file(L"設定" + std::to_wstring(++files) + L".ini"));
    }

    TempFolder folder{L"tvm日本"};
    Win32Profile profile;
    int files = 0;
};

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
    const std::string path = FreshPath();
    WriteFileBytes(ToWide(path), "[Tavimero]\r\nWidth=5000\r\nEmpty=\r\n");
    struct Case {
        std::string section, key, path, defaultValue, expected;
    };
    const Case cases[] = {
        {"Tavimero", "Width", path, "4575", "5000"},
        {"Tavimero", "Height", path, "6210", "6210"},
        {"Other", "Width", path, "4575", "4575"},
        {"Tavimero", "Width", ToUtf8(folder.file(L"missing.ini")), "4575", "4575"},
        {"Tavimero", "Width", ToUtf8(folder.file(L"missing\\x.ini")), "No", "No"},
        {"Tavimero", "Empty", path, "No", ""},  // present but empty is not missing
        {"Tavimero", "Height", path, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section + "/" + c.key + " in " + c.path);
        EXPECT_EQ(profile.getString(c.section, c.key, c.defaultValue, c.path), c.expected);
    }
}

TEST_F(ProfileTest, LongValueIsCutTo1023Characters) {
    std::string value;
    for (int i = 0; i < 1500; ++i) value.push_back(static_cast<char>('a' + i % 26));
    const std::string path = FreshPath();
    WriteFileBytes(ToWide(path), "[Tavimero]\r\nPathOfList=" + value + "\r\nNext=1\r\n");
    EXPECT_EQ(profile.getString("Tavimero", "PathOfList", "", path), value.substr(0, 1023));
    EXPECT_EQ(profile.getString("Tavimero", "Next", "", path), "1");

    const std::string exact(1023, 'x');
    const std::string second = FreshPath();
    WriteFileBytes(ToWide(second), "[Tavimero]\r\nCD=" + exact + "\r\n");
    EXPECT_EQ(profile.getString("Tavimero", "CD", "", second), exact);
}

TEST_F(ProfileTest, NewFileIsWrittenInTheAnsiCodePageInKeyOrder) {
    // A character the ANSI code page holds, and its bytes there.
    std::string value, bytes;
    if (GetACP() == 932) {
        value = "C:\\日本";
        bytes = "C:\\\x93\xFA\x96\x7B";
    } else if (GetACP() == 1252) {
        value = "C:\\été";
        bytes = "C:\\\xE9t\xE9";
    } else {
        GTEST_SKIP() << "code page " << GetACP();
    }
    const std::string path = FreshPath();
    profile.setString("Tavimero", "AddListMain", "No", path);
    profile.setString("Tavimero", "CD", value, path);
    profile.setString("Tavimero", "Width", "4575", path);
    profile.setString("Tavimero", "AddListMain", "Yes", path);  // keeps its place
    EXPECT_EQ(ReadFileBytes(ToWide(path)),
              "[Tavimero]\r\nAddListMain=Yes\r\nCD=" + bytes + "\r\nWidth=4575\r\n");
    EXPECT_EQ(profile.getString("Tavimero", "CD", "", path), value);
}

TEST_F(ProfileTest, AnsiFileWrittenElsewhereIsReadInTheAnsiCodePage) {
    std::string value, bytes;
    if (GetACP() == 932) {
        value = "C:\\表示";
        bytes = "C:\\\x95\x5C\x8E\xA6";
    } else if (GetACP() == 1252) {
        value = "C:\\Müller";
        bytes = "C:\\M\xFCller";
    } else {
        GTEST_SKIP() << "code page " << GetACP();
    }
    const std::string path = FreshPath();
    WriteFileBytes(ToWide(path), "[Tavimero]\r\nCD=" + bytes + "\r\n");
    EXPECT_EQ(profile.getString("Tavimero", "CD", "", path), value);
}

TEST_F(ProfileTest, WritingToAFolderThatIsMissingIsNotReported) {
    const std::string path = ToUtf8(folder.file(L"missing\\x.ini"));
    EXPECT_NO_THROW(profile.setString("Tavimero", "Width", "1", path));
    EXPECT_EQ(profile.getString("Tavimero", "Width", "none", path), "none");
}

}  // namespace
