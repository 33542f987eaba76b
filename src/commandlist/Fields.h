#pragma once
#include <map>
#include <string>
#include <string_view>
#include <vector>

// Fields in a command text: {{NAME}} stands for a value the user gives when the text is input.
// NAME is one or more characters other than braces and line breaks. \{\{ and \}\} stand for
// literal {{ and }}; every other brace (a lone {{, {{}}) is literal text.
namespace fields {

struct Piece {
    bool isField = false;
    // A field's NAME, or literal text as it is typed (escapes turned into their braces).
    std::string text;
};

// The text as literals and fields in order; neighbouring literals form one piece.
std::vector<Piece> Parse(std::string_view text);

bool HasFields(std::string_view text);

// Every NAME once, in the order of its first appearance.
std::vector<std::string> Names(std::string_view text);

// What a NAME holding | offers: the NAME without a surrounding [ ], cut at each |. Empty for a
// NAME without |. An empty alternative stays: it offers leaving the place empty.
std::vector<std::string> Alternatives(std::string_view name);

// Values by NAME.
using Values = std::map<std::string, std::string>;

// The text that is typed. A text without fields is typed as written, escapes included, as it
// always was; otherwise each field becomes its NAME's value (empty when values has none) and
// each escape its braces.
std::string Fill(std::string_view text, const Values& values);

}  // namespace fields
