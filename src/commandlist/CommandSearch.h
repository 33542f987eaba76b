#pragma once
#include <string>
#include <string_view>
#include <vector>

// Finding entries of the command list by words typed in any order. Texts are compared in a
// folded form that ignores letter case, full- and half-width forms and hiragana against
// katakana. The folding is done here, from tables, rather than by the system's linguistic
// functions, whose results differ between systems: a search finds the same entries everywhere.
namespace search {

// The text in its folded form: letters in lower case (ASCII, Latin-1, Latin Extended-A, Greek,
// Cyrillic), full-width ASCII as ASCII, the ideographic space as a space, half-width katakana
// as full-width with a following voiced or semi-voiced mark composed (ﾃﾞ as デ, also a
// combining mark after full-width kana), and katakana as hiragana. Bytes that are not UTF-8
// stay as they are.
std::string Fold(std::string_view utf8);

// The folded words of a search text: cut at spaces, the ideographic space (U+3000) included;
// empty pieces are dropped.
std::vector<std::string> Words(std::string_view text);

// True when every word occurs in the folded text; no words match every text.
bool Matches(std::string_view folded, const std::vector<std::string>& words);

// The indices of the folded texts that the search text matches, in their order.
std::vector<int> FindMatches(const std::vector<std::string>& folded, std::string_view text);
// The same among the texts at candidates (indices in order), for words that narrow the words
// those candidates were found for.
std::vector<int> FindMatchesAmong(const std::vector<std::string>& folded,
                                  const std::vector<std::string>& words,
                                  const std::vector<int>& candidates);

// True when every text the words match is also matched by the earlier words: each earlier word
// is part of a word now, as when the text is typed on.
bool Narrows(const std::vector<std::string>& words, const std::vector<std::string>& earlier);

}  // namespace search
