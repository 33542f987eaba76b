// List files keep their text: a list saved by a current editor (UTF-8 without a mark) opens as
// written and saves back byte for byte; under the Japanese code page, a list with bytes that code
// page cannot read is not overwritten without a question.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Driver.h"
#include "Steps.h"
#include "SystemBoxes.h"
#include "forms/ControlIds.h"

namespace e2e {
namespace {

SessionOptions openingList(const std::string& bytes) {
    SessionOptions options;
    options.beforeStart = [bytes](const std::wstring& folder) {
        writeBytes(folder + L"\\list.txt", bytes);
        writeBytes(folder + L"\\Tavimero.ini",
                   "[Tavimero]\r\nLoadList=Yes\r\nPathOfList=" + narrow(folder) + "\\list.txt\r\n");
    };
    return options;
}

// Saves the list over its file, as File > Save does, and waits until the bytes have changed
// or a box has come up.
void save(Session& s) { postMenuCommand(s, ids::mnuSave); }

// Which file is at path (its volume and id); nothing when none is. A save puts a new file there.
std::optional<std::uint64_t> fileIdOf(const std::wstring& path) {
    Handle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
    return (std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow) ^
           (std::uint64_t{info.dwVolumeSerialNumber} << 40);
}

TEST(ListEncoding, Utf8WithoutAMarkOpensAsWrittenAndSavesBackTheSameBytes) {
    // In the list's own order, so that a save can give back the very bytes.
    const std::string bytes = "cd \"C:\\作業\\テスト\"\r\necho 日本語の行\r\nver";
    Session s(openingList(bytes));
    runningPrompt(s);
    EXPECT_EQ(s.listItems(ids::lstCommand),
              (std::vector<std::string>{"cd \"C:\\作業\\テスト\"", "echo 日本語の行", "ver"}));
    const auto before = fileIdOf(s.pathOf(L"list.txt"));
    ASSERT_TRUE(before.has_value());
    save(s);
    EXPECT_TRUE(
        pollUntil([&] { return fileIdOf(s.pathOf(L"list.txt")) != before; }, kEffectTimeout))
        << "not saved\n"
        << s.report();
    EXPECT_TRUE(fileHolds(s, L"list.txt", bytes));
}

TEST(ListEncoding932, BytesTheCodePageCannotReadAreAskedAboutBeforeOverwriting) {
    if (GetACP() != 932) GTEST_SKIP() << "runs with the Japanese code page (tavimero_e2e_cp932)";
    // 日本 in code page 932, then a byte 932 does not define.
    const std::string bytes = "echo \x93\xFA\x96\x7B\r\necho \xFD";
    Session s(openingList(bytes));
    runningPrompt(s);
    const auto entries = s.listItems(ids::lstCommand);
    ASSERT_EQ(entries.size(), 2u) << s.report();
    EXPECT_NE(std::find(entries.begin(), entries.end(), "echo 日本"), entries.end()) << s.report();

    save(s);
    HWND box = waitForBox(s, "保存の確認");
    ASSERT_NE(box, nullptr) << "no question before overwriting\n" << s.report();
    EXPECT_NE(messageBoxText(box).find("上書き保存しますか"), std::string::npos);
    ASSERT_TRUE(pressAndWaitForClose(box, IDNO));
    EXPECT_EQ(s.readFile(L"list.txt"), bytes) << "No keeps the file as it was";

    save(s);
    box = waitForBox(s, "保存の確認");
    ASSERT_NE(box, nullptr) << s.report();
    ASSERT_TRUE(pressAndWaitForClose(box, IDYES));
    EXPECT_TRUE(pollUntil([&] { return s.readFile(L"list.txt") != bytes; }, kEffectTimeout));
    // Yes writes the list as shown, 日本 in whatever form holds every entry.
    const std::string saved = s.readFile(L"list.txt").value_or("");
    EXPECT_TRUE(saved.find("\x93\xFA\x96\x7B") != std::string::npos ||
                saved.find("日本") != std::string::npos)
        << printable(saved);
}

}  // namespace
}  // namespace e2e
