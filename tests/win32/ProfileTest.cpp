#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "platform/PlatformError.h"
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

// The bytes of a text in UTF-16 LE, as the profile functions write a file that has the mark.
std::string Utf16(const std::wstring& text) {
    std::string bytes;
    for (const wchar_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

const std::string kMark = "\xFF\xFE";
// Outside code page 1252, and accented Greek is outside 932 too.
const std::string kGreek = "C:\\Ελληνικά";

TEST_F(ProfileTest, NewFileIsWrittenInUtf16WithTheMarkInKeyOrder) {
    const std::string path = FreshPath();
    profile.setString("Tavimero", "AddListMain", "No", path);
    profile.setString("Tavimero", "CD", kGreek, path);
    profile.setString("Tavimero", "Width", "4575", path);
    profile.setString("Tavimero", "AddListMain", "Yes", path);  // keeps its place
    EXPECT_EQ(ReadFileBytes(ToWide(path)), kMark + Utf16(L"[Tavimero]\r\nAddListMain=Yes\r\nCD=" +
                                                         ToWide(kGreek) + L"\r\nWidth=4575\r\n"));
    EXPECT_EQ(profile.getString("Tavimero", "CD", "", path), kGreek);

    // Other programs read it with the ANSI functions (at a path the ANSI code page holds).
    TempFolder plain(L"tvm");
    const std::string ansiPath = ToUtf8(plain.file(L"plain.ini"));
    profile.setString("Tavimero", "Width", "4575", ansiPath);
    profile.setString("Tavimero", "CD", kGreek, ansiPath);
    char value[64] = {};
    EXPECT_EQ(
        GetPrivateProfileStringA("Tavimero", "Width", "", value, sizeof value, ansiPath.c_str()),
        4u);
    EXPECT_STREQ(value, "4575");
}

// An ANSI file from elsewhere stays ANSI while every text written has its exact form there; a
// text without one turns the whole file, comments and other sections included, into UTF-16.
TEST_F(ProfileTest, AnsiFileBecomesUtf16OnlyForATextTheCodePageCannotHold) {
    std::string ansiValue, ansiBytes;
    if (GetACP() == 932) {
        ansiValue = "C:\\日本";
        ansiBytes = "C:\\\x93\xFA\x96\x7B";
    } else if (GetACP() == 1252) {
        ansiValue = "C:\\été";
        ansiBytes = "C:\\\xE9t\xE9";
    } else {
        GTEST_SKIP() << "code page " << GetACP();
    }
    const std::string path = FreshPath();
    const std::string before =
        "; kept\r\n[Other]\r\nName=" + ansiBytes + "\r\n[Tavimero]\r\nWidth=1\r\n";
    WriteFileBytes(ToWide(path), before);
    profile.setString("Tavimero", "CD", ansiValue, path);
    EXPECT_EQ(ReadFileBytes(ToWide(path)), before + "CD=" + ansiBytes + "\r\n");

    profile.setString("Tavimero", "PathOfList", kGreek + "\\list.txt", path);
    const std::wstring ansiWide = ToWide(ansiValue);
    EXPECT_EQ(ReadFileBytes(ToWide(path)),
              kMark + Utf16(L"; kept\r\n[Other]\r\nName=" + ansiWide +
                            L"\r\n[Tavimero]\r\nWidth=1\r\nCD=" + ansiWide + L"\r\nPathOfList=" +
                            ToWide(kGreek) + L"\\list.txt\r\n"));
    EXPECT_EQ(profile.getString("Other", "Name", "", path), ansiValue);
    EXPECT_EQ(profile.getString("Tavimero", "PathOfList", "", path), kGreek + "\\list.txt");
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(folder.file(L"*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a temporary file was left behind";
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
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

TEST_F(ProfileTest, AFileThatCannotBeWrittenIsReportedAndKept) {
    const std::string missing = ToUtf8(folder.file(L"missing\\x.ini"));
    EXPECT_THROW(profile.setString("Tavimero", "Width", "1", missing), PlatformError);
    EXPECT_EQ(profile.getString("Tavimero", "Width", "none", missing), "none");

    // Read-only, ANSI: neither a plain write nor the change to UTF-16 goes through.
    const std::string readOnly = FreshPath();
    const std::string bytes = "[Tavimero]\r\nWidth=1\r\n";
    WriteFileBytes(ToWide(readOnly), bytes);
    SetFileAttributesW(ToWide(readOnly).c_str(), FILE_ATTRIBUTE_READONLY);
    for (const std::string& value : {std::string("2"), kGreek}) {
        SCOPED_TRACE(value);
        EXPECT_THROW(profile.setString("Tavimero", "CD", value, readOnly), PlatformError);
        EXPECT_EQ(ReadFileBytes(ToWide(readOnly)), bytes);
    }
    SetFileAttributesW(ToWide(readOnly).c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
