// List files keep what they are besides their bytes when the program saves them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Driver.h"
#include "Steps.h"
#include "SystemBoxes.h"
#include "forms/ControlIds.h"

namespace e2e {
namespace {

// The names in a folder that end in .tmp: a save's temporary file left behind would be one.
std::vector<std::wstring> temporaryFilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

TEST(ListFileIdentity, AHiddenListFileStaysHiddenAfterSave) {
    SessionOptions options;
    options.beforeStart = [](const std::wstring& folder) {
        writeBytes(folder + L"\\list.txt", "echo a");
        writeBytes(folder + L"\\Tavimero.ini",
                   "[Tavimero]\r\nLoadList=Yes\r\nPathOfList=" + narrow(folder) + "\\list.txt\r\n");
    };
    Session s(options);
    ASSERT_EQ(s.listItems(ids::lstCommand), std::vector<std::string>{"echo a"}) << s.report();
    // Hidden while the program has it open, as a user may do in Explorer's properties.
    const std::wstring list = s.pathOf(L"list.txt");
    ASSERT_TRUE(SetFileAttributesW(list.c_str(), FILE_ATTRIBUTE_HIDDEN));

    runningPrompt(s);
    s.click(ids::chbAdd);
    ASSERT_TRUE(execute(s, "echo b> b.txt"));
    ASSERT_TRUE(fileHolds(s, L"b.txt", "b\r\n"));
    s.menuCommand(ids::mnuSave);

    EXPECT_TRUE(fileHolds(s, L"list.txt", "echo a\r\necho b> b.txt"));
    EXPECT_NE(GetFileAttributesW(list.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u)
        << "the saved list file is no longer hidden";
    EXPECT_EQ(visibleWindowsOf(s.pid()).size(), 1u) << "a box came up\n" << s.report();
    EXPECT_TRUE(temporaryFilesIn(s.folder()).empty()) << s.report();
}

}  // namespace
}  // namespace e2e
