#include <gtest/gtest.h>

#include <map>

#include "text/Path.h"
#include "text/Text.h"

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
    const PromptSyntax cmd;
    for (const char* plain :
         {"C:\\Work", "a.txt", "C:\\a-b_c~1\\x@y#z$.txt", "日本語.txt", "C:\\"}) {
        EXPECT_EQ(QuotedForPrompt(plain, cmd), plain);
        EXPECT_EQ(InQuotesForPrompt(plain, cmd), std::string("\"") + plain + "\"");
    }
    for (const char* special : {"C:\\Program Files", "C:\\R&D\\build.bat", "a(1).txt", "[x]", "{y}",
                                "a^b", "a=b", "a;b", "a!b", "it's", "a+b", "a,b", "a`b"}) {
        EXPECT_EQ(QuotedForPrompt(special, cmd), std::string("\"") + special + "\"") << special;
        EXPECT_EQ(InQuotesForPrompt(special, cmd), std::string("\"") + special + "\"") << special;
    }
}

TEST(Path, PercentAndExclamationMarksAreWrittenSoThatThePromptKeepsThem) {
    const PromptSyntax cmd;
    const PromptSyntax delayed{.percentVariables = true, .delayedExpansion = true};
    const PromptSyntax commandCom{.percentVariables = false, .delayedExpansion = false};
    struct Case {
        const char* path;
        PromptSyntax syntax;
        const char* quoted;
    };
    const Case cases[] = {
        {"C:\\x%OS%y", cmd, R"("C:\x"%"OS"%"y")"},
        {"100%", cmd, R"("100"%"")"},
        // Backslashes before a % stand outside the quotes: \" would be a quote character.
        {"C:\\%OS%\\a", cmd, R"("C:"\%"OS"%"\a")"},
        {"C:\\a\\\\%b", cmd, R"("C:\a"\\%"b")"},
        // With delayed expansion a caret goes before ! and ^ of a path holding a !.
        {"C:\\Hi!", delayed, R"("C:\Hi^!")"},
        {"a^b!c!", delayed, R"("a^^b^!c^!")"},
        {"a^b%c!", delayed, R"("a^^b"%"c^!")"},
        {"a^b", delayed, R"("a^b")"},
        {"a!b", commandCom, R"("a!b")"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InQuotesForPrompt(c.path, c.syntax), c.quoted) << c.path;
        EXPECT_EQ(QuotedForPrompt(c.path, c.syntax), c.quoted) << c.path;
    }
    // command.com replaces no variable at its prompt.
    EXPECT_EQ(QuotedForPrompt("C:\\x%OS%y", commandCom), "C:\\x%OS%y");
    EXPECT_EQ(InQuotesForPrompt("C:\\x%OS%y", commandCom), "\"C:\\x%OS%y\"");
}

namespace {
// How cmd.exe replaces variables in a line typed at its prompt: %NAME% of a defined variable
// (letter case ignored) by its value; an undefined %NAME% stays, and its closing % may open
// the next name.
std::string ExpandedAtThePrompt(std::string_view line) {
    const std::map<std::string, std::string> defined = {
        {"os", "Windows_NT"}, {"a", "[A]"}, {"x ", "[x space]"}};
    std::string out;
    std::size_t i = 0;
    while (i < line.size()) {
        const std::size_t closing = line[i] == '%' ? line.find('%', i + 1) : std::string_view::npos;
        if (closing == std::string_view::npos) {
            out += line[i++];
            continue;
        }
        const auto found =
            defined.find(text::LCase(std::string(line.substr(i + 1, closing - i - 1))));
        if (found != defined.end()) {
            out += found->second;
            i = closing + 1;
        } else {
            out += line.substr(i, closing - i);
            i = closing;
        }
    }
    return out;
}

// How a program's C runtime reads one argument: quotes toggle, 2n backslashes before a quote
// give n, 2n+1 give n and a quote character, "" inside quotes gives a quote character.
std::string ReadAsAnArgument(std::string_view s) {
    std::string out;
    bool inQuotes = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        std::size_t slashes = 0;
        while (i < s.size() && s[i] == '\\') ++slashes, ++i;
        if (i < s.size() && s[i] == '"') {
            out.append(slashes / 2, '\\');
            if (slashes % 2 == 1) {
                out += '"';
            } else if (inQuotes && i + 1 < s.size() && s[i + 1] == '"') {
                out += '"';
                ++i;
            } else {
                inQuotes = !inQuotes;
            }
        } else {
            out.append(slashes, '\\');
            if (i < s.size()) out += s[i];
        }
    }
    return out;
}

std::string WithoutQuotes(std::string s) {
    std::erase(s, '"');
    return s;
}
}  // namespace

TEST(Path, APathWithPercentSignsReachesCdAndProgramsAsItself) {
    const PromptSyntax cmd;
    const char* paths[] = {
        "C:\\x%OS%y",  "%OS%",           "%a%%OS%",  "C:\\%OS%\\%a%\\b", "a%%b", "100%", "%x %",
        "C:\\a\\%OS%", "C:\\R&D %a%\\b", "C:\\Work", "C:\\Program Files"};
    // What the user typed around the path may hold a % of its own.
    const std::pair<const char*, const char*> around[] = {
        {"cd ", ""}, {"echo %", ""}, {"cd ", " %a%"}, {"echo 1%", "%"}};
    for (const char* p : paths) {
        const std::string quoted = InQuotesForPrompt(p, cmd);
        EXPECT_EQ(WithoutQuotes(ExpandedAtThePrompt(quoted)), p) << quoted;
        EXPECT_EQ(ReadAsAnArgument(ExpandedAtThePrompt(quoted)), p) << quoted;
        for (const auto& [before, after] : around) {
            const std::string line = std::string(before) + quoted + after;
            const std::string expanded = ExpandedAtThePrompt(line);
            const std::string expected = ExpandedAtThePrompt(before);
            EXPECT_EQ(expanded.substr(0, expected.size()), expected) << line;
            EXPECT_EQ(WithoutQuotes(expanded.substr(
                          expected.size(),
                          expanded.size() - expected.size() - ExpandedAtThePrompt(after).size())),
                      p)
                << line;
        }
    }
}
