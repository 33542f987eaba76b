#include "commandlist/CommandSearch.h"

#include <iterator>

namespace search {
namespace {

// Half-width katakana and punctuation, U+FF61 to U+FF9F, as their full-width forms; the voiced
// and semi-voiced marks as the combining marks, which compose with the kana before them.
constexpr char32_t kHalfWidthKana[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2,                          // ｡｢｣､･ｦ
    0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5, 0x30E7, 0x30C3,  // ｧｨｩｪｫｬｭｮｯ
    0x30FC,                                                                  // ｰ
    0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA,                                  // ｱｲｳｴｵ
    0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,                                  // ｶｷｸｹｺ
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD,                                  // ｻｼｽｾｿ
    0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8,                                  // ﾀﾁﾂﾃﾄ
    0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE,                                  // ﾅﾆﾇﾈﾉ
    0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB,                                  // ﾊﾋﾌﾍﾎ
    0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2,                                  // ﾏﾐﾑﾒﾓ
    0x30E4, 0x30E6, 0x30E8,                                                  // ﾔﾕﾖ
    0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED,                                  // ﾗﾘﾙﾚﾛ
    0x30EF, 0x30F3,                                                          // ﾜﾝ
    0x3099, 0x309A,                                                          // ﾞﾟ
};
static_assert(std::size(kHalfWidthKana) == 0xFF9F - 0xFF61 + 1);

// Full-width signs U+FFE0 to U+FFE6 as their usual forms.
constexpr char32_t kFullWidthSigns[] = {0x00A2, 0x00A3, 0x00AC, 0x00AF, 0x00A6, 0x00A5, 0x20A9};

constexpr char32_t kVoicedMark = 0x3099;      // combining
constexpr char32_t kSemiVoicedMark = 0x309A;  // combining

char32_t LowerCase(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 0x20;
    if (c < 0xC0) return c;
    if (c <= 0xDE) return c == 0xD7 ? c : c + 0x20;  // Latin-1, less the multiplication sign
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x130 || c == 0x131) return c;  // the Turkish i's have no plain pair here
        if (c <= 0x137 || (c >= 0x14A && c <= 0x177)) return c | 1;  // upper even, lower odd
        if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
            return (c & 1) ? c + 1 : c;  // upper odd, lower even
        return c == 0x178 ? 0xFF : c;
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;  // Greek
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;                // Cyrillic
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    return c;
}

// One character in its folded form, before composition with the character before it.
char32_t FoldCharacter(char32_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) return LowerCase(c - 0xFEE0);  // full-width ASCII
    if (c == 0x3000) return U' ';
    if (c >= 0xFF61 && c <= 0xFF9F) c = kHalfWidthKana[c - 0xFF61];
    if (c >= 0xFFE0 && c <= 0xFFE6) return kFullWidthSigns[c - 0xFFE0];
    if ((c >= 0x30A1 && c <= 0x30F6) || c == 0x30FD || c == 0x30FE) return c - 0x60;  // as hiragana
    return LowerCase(c);
}

// The folded kana with the mark composed, or 0 when the two do not compose.
char32_t Composed(char32_t base, char32_t mark) {
    const bool haToHo = base >= 0x306F && base <= 0x307B && (base - 0x306F) % 3 == 0;
    if (mark == kSemiVoicedMark) return haToHo ? base + 2 : 0;
    if ((base >= 0x304B && base <= 0x3061 && base % 2 == 1) ||  // か to ち
        base == 0x3064 || base == 0x3066 || base == 0x3068 ||   // つ て と
        haToHo || base == 0x309D)                               // は to ほ, ゝ
        return base + 1;
    if (base == 0x3046) return 0x3094;                                    // う
    if (base >= 0x308F && base <= 0x3092) return base - 0x308F + 0x30F7;  // わ ゐ ゑ を
    return 0;
}

bool Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The UTF-8 sequence at s[at] decoded into c; its length, or 0 when it is malformed.
size_t Decode(std::string_view s, size_t at, char32_t& c) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[at + i]); };
    const unsigned char lead = byte(0);
    const size_t left = s.size() - at;
    if (lead >= 0xC2 && lead <= 0xDF && left >= 2 && Continuation(byte(1))) {
        c = (char32_t{lead} & 0x1F) << 6 | (byte(1) & 0x3F);
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF && left >= 3 && Continuation(byte(1)) &&
        Continuation(byte(2))) {
        c = (char32_t{lead} & 0x0F) << 12 | (char32_t{byte(1)} & 0x3F) << 6 | (byte(2) & 0x3F);
        return c >= 0x800 && (c < 0xD800 || c > 0xDFFF) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4 && left >= 4 && Continuation(byte(1)) &&
        Continuation(byte(2)) && Continuation(byte(3))) {
        c = (char32_t{lead} & 0x07) << 18 | (char32_t{byte(1)} & 0x3F) << 12 |
            (char32_t{byte(2)} & 0x3F) << 6 | (byte(3) & 0x3F);
        return c >= 0x10000 && c <= 0x10FFFF ? 4 : 0;
    }
    return 0;
}

void Append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string Fold(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    char32_t last = 0;  // the character written last; 0 after a byte kept as it was
    size_t lastAt = 0;  // where it starts in out
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {  // most command lines are ASCII throughout
            last = LowerCase(lead);
            lastAt = out.size();
            out += static_cast<char>(last);
            ++i;
            continue;
        }
        char32_t c = 0;
        const size_t length = Decode(utf8, i, c);
        if (length == 0) {
            out += static_cast<char>(lead);
            last = 0;
            ++i;
            continue;
        }
        i += length;
        char32_t folded = FoldCharacter(c);
        if (folded == kVoicedMark || folded == kSemiVoicedMark) {
            if (const char32_t composed = Composed(last, folded)) {
                out.resize(lastAt);
                Append(out, composed);
                last = composed;
                continue;
            }
            folded += 2;  // a mark on its own: its spacing form, ゛ or ゜
        }
        lastAt = out.size();
        Append(out, folded);
        last = folded;
    }
    return out;
}

std::vector<std::string> Words(std::string_view text) {
    const std::string folded = Fold(text);
    std::vector<std::string> words;
    size_t start = 0;
    while (start < folded.size()) {
        size_t end = folded.find(' ', start);
        if (end == std::string::npos) end = folded.size();
        if (end > start) words.push_back(folded.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

bool Matches(std::string_view folded, const std::vector<std::string>& words) {
    for (const std::string& word : words) {
        if (folded.find(word) == std::string_view::npos) return false;
    }
    return true;
}

std::vector<int> FindMatches(const std::vector<std::string>& folded, std::string_view text) {
    const std::vector<std::string> words = Words(text);
    std::vector<int> found;
    found.reserve(words.empty() ? folded.size() : 64);
    for (size_t i = 0; i < folded.size(); ++i) {
        if (Matches(folded[i], words)) found.push_back(static_cast<int>(i));
    }
    return found;
}

std::vector<int> FindMatchesAmong(const std::vector<std::string>& folded,
                                  const std::vector<std::string>& words,
                                  const std::vector<int>& candidates) {
    std::vector<int> found;
    for (const int index : candidates) {
        if (Matches(folded[static_cast<size_t>(index)], words)) found.push_back(index);
    }
    return found;
}

bool Narrows(const std::vector<std::string>& words, const std::vector<std::string>& earlier) {
    for (const std::string& before : earlier) {
        bool kept = false;
        for (const std::string& word : words) kept = kept || word.find(before) != std::string::npos;
        if (!kept) return false;
    }
    return true;
}

}  // namespace search
