// The search window through the real windows: a list of realistic commands opened at start-up,
// searched by words in any order, with letter case, width and kana written otherwise than in
// the list; Enter takes the chosen match into the command box, Down moves the choice, Esc
// changes nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "Driver.h"
#include "Steps.h"
#include "SystemBoxes.h"
#include "forms/ControlIds.h"

namespace e2e {
namespace {

constexpr wchar_t kCaption[] = L"コマンドの検索";

// Commands as people keep them: cmd and PowerShell, quoted paths, pipes, redirections,
// variables, Japanese names. Each line differs from the others.
std::vector<std::string> realisticCommands() {
    const std::vector<std::string> folders = {"資料",   "会議録",   "プロジェクト", "写真",
                                              "データ", "Projects", "Reports",      "tools",
                                              "経理",   "Backup"};
    const std::vector<std::string> words = {"ERROR", "テスト", "見積書",  "invoice", "請求書",
                                            "TODO",  "ログ",   "timeout", "売上",    "config"};
    const std::vector<std::string> extensions = {"txt", "csv", "log", "xlsx", "ps1", "bat", "json"};
    std::vector<std::string> lines;
    for (int n = 0; lines.size() < 1200; ++n) {
        const std::string& folder = folders[static_cast<size_t>(n) % folders.size()];
        const std::string& word = words[static_cast<size_t>(n / 3) % words.size()];
        const std::string& ext = extensions[static_cast<size_t>(n / 7) % extensions.size()];
        const std::string id = std::to_string(n);
        switch (n % 12) {
        case 0:
            lines.push_back("copy \"C:\\Users\\山田\\" + folder + "\\" + word + id + "." + ext +
                            "\" \"D:\\バックアップ\\\"");
            break;
        case 1:
            lines.push_back("dir /s /b \"%USERPROFILE%\\" + folder + "\\*." + ext +
                            "\" | findstr /i \"" + word + "\" & rem " + id);
            break;
        case 2:
            lines.push_back("robocopy \"C:\\" + folder + "\" \"\\\\fileserver\\共有\\" + folder +
                            id + "\" /MIR /R:1 /W:1");
            break;
        case 3:
            lines.push_back("echo %DATE% %TIME% " + word + ">> \"%TEMP%\\ログ_" + id + ".txt\"");
            break;
        case 4:
            lines.push_back("powershell -NoProfile -Command \"Get-ChildItem -Path '" + folder +
                            "' -Filter *." + ext + " | Measure-Object\" & rem " + id);
            break;
        case 5:
            lines.push_back("powershell -Command \"Get-Process | Where-Object { $_.CPU -gt " + id +
                            " } | Sort-Object CPU\"");
            break;
        case 6:
            lines.push_back("findstr /s /n \"" + word + "\" *." + ext + " > 検索結果_" + id +
                            ".txt");
            break;
        case 7:
            lines.push_back("set PATH=%PATH%;C:\\Tools\\" + folder + id + "\\bin");
            break;
        case 8:
            lines.push_back("ping -n " + std::to_string(n % 9 + 1) + " host" + id + ".example.jp");
            break;
        case 9:
            lines.push_back("type \"" + folder + "\\" + word + id + "." + ext + "\" | more");
            break;
        case 10:
            lines.push_back("del /q \"%TEMP%\\" + folder + id + "\\*.tmp\"");
            break;
        default:
            lines.push_back("tasklist /fi \"imagename eq app" + id + ".exe\" /fo csv > \"" +
                            folder + ".csv\"");
            break;
        }
    }
    // Written otherwise than any search below spells them.
    lines.push_back("powershell -Command \"Get-Content 'ﾃﾞｰﾀ.csv' | Select-String ERROR\"");
    lines.push_back("findstr /i \"Ｗａｒｎｉｎｇ\" \"%TEMP%\\ﾃｽﾄ.log\"");
    lines.push_back("echo てすと完了 > 結果.txt");
    return lines;
}

std::string lowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// What a search must find, worked out apart from the program: each word given with every
// spelling the list may hold of it; an entry matches when it holds a spelling of each word
// (ASCII letter case aside). In the list's order, which is the order its box shows.
std::vector<std::string> expectedMatches(const std::vector<std::string>& shown,
                                         const std::vector<std::vector<std::string>>& words) {
    std::vector<std::string> found;
    for (const std::string& entry : shown) {
        const std::string lower = lowerAscii(entry);
        const bool all = std::all_of(words.begin(), words.end(), [&](const auto& spellings) {
            return std::any_of(spellings.begin(), spellings.end(), [&](const std::string& s) {
                return lower.find(lowerAscii(s)) != std::string::npos;
            });
        });
        if (all) found.push_back(entry);
    }
    return found;
}

std::vector<std::string> itemsOf(HWND list) {
    std::vector<std::string> items;
    const auto count = sendTo(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<size_t>(sendTo(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        text.resize(static_cast<size_t>(
            sendTo(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        items.push_back(narrow(text));
    }
    return items;
}

HWND focusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

class Search : public ::testing::Test {
protected:
    static SessionOptions listAtStartup() {
        SessionOptions options;
        options.beforeStart = [](const std::wstring& folder) {
            std::vector<std::string> lines = realisticCommands();
            std::shuffle(lines.begin(), lines.end(), std::mt19937(18));
            std::string bytes = "\xEF\xBB\xBF";
            for (const std::string& line : lines) bytes += line + "\r\n";
            writeBytes(folder + L"\\list.txt", bytes);
            writeBytes(folder + L"\\Tavimero.ini", "[Tavimero]\r\nLoadList=Yes\r\nPathOfList=" +
                                                       narrow(folder) + "\\list.txt\r\n");
        };
        return options;
    }

    void SetUp() override {
        const auto expected = static_cast<LRESULT>(realisticCommands().size());
        ASSERT_TRUE(pollUntil(
            [&] { return sendTo(s.control(ids::lstCommand), LB_GETCOUNT, 0, 0) == expected; },
            kWindowTimeout))
            << s.report();
        list = s.listItems(ids::lstCommand);
    }

    // Edit > コマンドを検索: the window, its text box and its list.
    HWND open() {
        postMenuCommand(s, ids::mnuFind);
        HWND window = waitForWindowOf(s.pid(), kCaption);
        if (!window) {
            ADD_FAILURE() << "no search window\n" << describeWindowsOf(s.pid());
            return nullptr;
        }
        box = requireChild(window, ids::txtSearch);
        matches = requireChild(window, ids::lstSearch);
        return window;
    }
    // Types the text as a whole and waits for the list to show what it should.
    ::testing::AssertionResult search(std::string_view text,
                                      const std::vector<std::string>& expected) {
        setWindowText(box, text);
        std::vector<std::string> shown;
        if (pollUntil([&] { return (shown = itemsOf(matches)) == expected; }, kEffectTimeout))
            return ::testing::AssertionSuccess();
        auto failure = ::testing::AssertionFailure() << "\"" << text << "\" shows";
        for (const std::string& item : shown) failure << "\n  " << item;
        return failure << "\nexpected " << expected.size() << " entries";
    }
    LRESULT chosen() const { return sendTo(matches, LB_GETCURSEL, 0, 0); }

    Session s{listAtStartup()};
    std::vector<std::string> list;
    HWND box = nullptr;
    HWND matches = nullptr;
};

TEST_F(Search, FindsEveryWordInAnyOrderWhateverItsCaseWidthOrKana) {
    HWND window = open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetWindow(window, GW_OWNER), s.window());
    struct Case {
        const char* text;
        std::vector<std::vector<std::string>> words;  // every spelling the list holds
    };
    const Case cases[] = {
        {"COPY 見積書", {{"copy"}, {"見積書"}}},
        {"見積書 copy", {{"copy"}, {"見積書"}}},
        {"ＲＯＢＯＣＯＰＹ　mir 共有", {{"robocopy"}, {"mir"}, {"共有"}}},
        {"でーた csv", {{"データ", "ﾃﾞｰﾀ"}, {"csv"}}},
        {"ﾃｽﾄ", {{"テスト", "ﾃｽﾄ", "てすと"}}},
        {"warning", {{"Ｗａｒｎｉｎｇ"}}},
        {"%temp% ログ_1", {{"%TEMP%"}, {"ログ_1"}}},
        {"| sort-object where-object", {{"|"}, {"Sort-Object"}, {"Where-Object"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::vector<std::string> expected = expectedMatches(list, c.words);
        ASSERT_FALSE(expected.empty());
        EXPECT_TRUE(search(c.text, expected));
        EXPECT_EQ(chosen(), 0) << "each change chooses the first match";
    }
}

TEST_F(Search, EnterTakesTheChoiceDownMovesItEscChangesNothing) {
    const std::vector<std::string> found = expectedMatches(list, {{"findstr"}, {"ログ"}});
    ASSERT_GE(found.size(), 3u);
    HWND window = open();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(search("ログ FINDSTR", found));

    // Down twice: the third match, with the text and the focus left in the text box.
    postKeyTo(box, VK_DOWN);
    postKeyTo(box, VK_DOWN);
    EXPECT_TRUE(pollUntil([&] { return chosen() == 2; }, kEffectTimeout)) << chosen();
    EXPECT_EQ(windowText(box), "ログ FINDSTR");
    EXPECT_EQ(focusOf(window), box);

    s.setText(ids::txtCommand, "rem ");
    postKeyTo(box, VK_RETURN);
    ASSERT_TRUE(waitForWindowGone(window)) << "Enter closes the window";
    EXPECT_TRUE(boxHolds(s, "rem " + found[2])) << "appended, as Ctrl+L takes a list entry";
    const auto index = sendTo(s.control(ids::lstCommand), LB_GETCURSEL, 0, 0);
    ASSERT_GE(index, 0);
    EXPECT_EQ(list[static_cast<size_t>(index)], found[2]) << "the entry is chosen in the list";
    EXPECT_TRUE(pollUntil([&] { return focusOf(s.window()) == s.control(ids::txtCommand); },
                          kEffectTimeout));

    // Opened again: the same text, its matches; Esc leaves the command box and the list alone.
    window = open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(windowText(box), "ログ FINDSTR");
    EXPECT_TRUE(pollUntil([&] { return itemsOf(matches) == found; }, kEffectTimeout));
    postKeyTo(box, VK_DOWN);
    postKeyTo(box, VK_ESCAPE);
    ASSERT_TRUE(waitForWindowGone(window)) << "Esc closes the window";
    EXPECT_EQ(s.text(ids::txtCommand), "rem " + found[2]);
    EXPECT_EQ(sendTo(s.control(ids::lstCommand), LB_GETCURSEL, 0, 0), index);
}

}  // namespace
}  // namespace e2e
