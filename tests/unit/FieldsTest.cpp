#include <gtest/gtest.h>

#include "commandlist/Fields.h"

namespace {

// A parse written out: fields in angle brackets, literals as they are typed.
std::string Shown(std::string_view text) {
    std::string shown;
    for (const fields::Piece& piece : fields::Parse(text))
        shown += piece.isField ? "<" + piece.text + ">" : "'" + piece.text + "'";
    return shown;
}

TEST(FieldsTest, ParseFindsFieldsAndKeepsEveryOtherBraceLiteral) {
    struct Case {
        std::string text;
        std::string shown;
    };
    const Case cases[] = {
        {"dir /s", "'dir /s'"},
        {"", ""},
        {"copy {{path\\to\\source_file}} {{path\\to\\target_file}}",
         "'copy '<path\\to\\source_file>' '<path\\to\\target_file>"},
        {"{{a}}{{b}}", "<a><b>"},                      // adjacent fields
        {"echo {{a}} {{a}}", "'echo '<a>' '<a>"},      // a repeated name
        {"{{[-o|--output]}}", "<[-o|--output]>"},      // alternatives are one name
        {"{{ファイル名}}.txt", "<ファイル名>'.txt'"},  // any character but braces
        {"{{ spaced name }}", "< spaced name >"},
        // Escapes are literal braces, also around a field and beside other braces.
        {"\\{\\{a\\}\\}", "'{{a}}'"},
        {"\\{\\{{{a}}\\}\\}", "'{{'<a>'}}'"},
        {"\\{\\{{a}}", "'{{{a}}'"},  // the escape's last brace opens no field
        {"\\{{a}}", "'\\'<a>"},      // a lone backslash is no escape
        {"\\{\\", "'\\{\\'"},
        // Not fields: unclosed, empty, broken by a line break or a brace.
        {"echo {{", "'echo {{'"},
        {"echo {{a", "'echo {{a'"},
        {"echo {{a}", "'echo {{a}'"},
        {"{{}}", "'{{}}'"},
        {"{{a\r\nb}}", "'{{a\r\nb}}'"},
        {"{{a{{b}}", "'{{a'<b>"},
        {"{{a}b}}", "'{{a}b}}'"},
        {"{a}", "'{a}'"},
        {"{{{a}}}", "'{'<a>'}'"},  // the innermost pair is the field
        {"for %i in (*) do @echo {%i}", "'for %i in (*) do @echo {%i}'"},
    };
    for (const Case& c : cases) EXPECT_EQ(Shown(c.text), c.shown) << c.text;
}

TEST(FieldsTest, NamesComeOnceInOrderOfFirstAppearance) {
    EXPECT_EQ(fields::Names("robocopy {{src}} {{dst}} /e /log:{{dst}}\\log.txt {{src}}"),
              (std::vector<std::string>{"src", "dst"}));
    EXPECT_EQ(fields::Names("{{b}}{{a}}{{B}}"),
              (std::vector<std::string>{"b", "a", "B"}));  // case counts
    EXPECT_TRUE(fields::Names("\\{\\{a\\}\\} {{}}").empty());
}

TEST(FieldsTest, AlternativesSplitAtBarsWithoutTheSurroundingBrackets) {
    struct Case {
        std::string name;
        std::vector<std::string> offered;
    };
    const Case cases[] = {
        {"[-o|--output]", {"-o", "--output"}},
        {"-o|--output", {"-o", "--output"}},
        {"[/s|/q|/f]", {"/s", "/q", "/f"}},
        {"[|/v]", {"", "/v"}},  // leaving the place empty is a choice
        {"[a|b", {"[a", "b"}},  // brackets go only in pairs around the whole name
        {"[a]|[b]", {"a]", "[b"}},
        {"[ファイル|フォルダ]", {"ファイル", "フォルダ"}},
        {"[-o]", {}},  // no bar: a plain name
        {"path", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(fields::Alternatives(c.name), c.offered) << c.name;
}

TEST(FieldsTest, FillPutsEachValueWhereverItsNameStands) {
    const fields::Values values{
        {"src", "C:\\データ\\a.txt"}, {"dst", "D:\\控え"}, {"[/y|/-y]", "/-y"}};
    struct Case {
        std::string text;
        std::string filled;
    };
    const Case cases[] = {
        {"copy {{src}} {{dst}} {{[/y|/-y]}}", "copy C:\\データ\\a.txt D:\\控え /-y"},
        {"{{dst}}{{dst}}", "D:\\控えD:\\控え"},
        {"echo \\{\\{{{dst}}\\}\\}", "echo {{D:\\控え}}"},  // escapes turn into braces
        {"echo {{unknown}}!", "echo !"},                    // a name without a value is empty
        {"echo {{src}} {{ }} {{}}", "echo C:\\データ\\a.txt  {{}}"},
        // Without a field the text is typed exactly as written, escapes included.
        {"echo \\{\\{x\\}\\}", "echo \\{\\{x\\}\\}"},
        {"echo {{}} {", "echo {{}} {"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(fields::Fill(c.text, values), c.filled) << c.text;
}

TEST(FieldsTest, AValueIsTypedAsGivenAndNeverReadAsAField) {
    const fields::Values values{{"a", "{{b}}"}, {"b", "x"}};
    EXPECT_EQ(fields::Fill("{{a}}-{{b}}", values), "{{b}}-x");
    EXPECT_EQ(fields::Fill("{{a}}", {{"a", "\\{\\{"}}), "\\{\\{");
}

}  // namespace
