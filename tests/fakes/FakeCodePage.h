#pragma once
#include <optional>
#include <string>
#include <utility>

#include "platform/CodePage.h"
#include "text/Text.h"

// A deterministic double-byte code page shaped like 932 and failing where it fails: ASCII;
// half-width katakana at 0xA1-0xDF (U+FF61-U+FF9F); a lead byte 0x81-0x9F or 0xE0-0xFC with a
// trail byte 0x40-0x7E or 0x80-0xFC is one character. 0x80, 0xA0, 0xFD-0xFF and a lead byte
// without its trail are not valid and read as U+FFFD; such a lead byte takes the byte after it
// along, a CR too, as Wine's 932 does. A few pairs give their real characters (日本語表ア);
// every other pair gives one from U+20000 on, numbered in byte order, so each pair has exactly
// one character and each character at most one pair.
class FakeCodePage : public CodePage {
public:
    std::optional<std::string> toAnsi(const std::string& utf8) override {
        std::string ansi;
        for (char32_t c : text::DecodeUtf8(utf8)) {
            if (c < 0x80) {
                ansi.push_back(static_cast<char>(c));
            } else if (c >= 0xFF61 && c <= 0xFF9F) {
                ansi.push_back(static_cast<char>(c - 0xFEC0));
            } else if (const auto pair = PairOf(c)) {
                ansi.push_back(static_cast<char>(*pair >> 8));
                ansi.push_back(static_cast<char>(*pair & 0xFF));
            } else {
                return std::nullopt;
            }
        }
        return ansi;
    }

    Decoded fromAnsi(const std::string& ansi) override {
        std::u32string characters;
        bool lossless = true;
        for (std::size_t i = 0; i < ansi.size(); ++i) {
            const unsigned char byte = static_cast<unsigned char>(ansi[i]);
            const unsigned char next =
                i + 1 < ansi.size() ? static_cast<unsigned char>(ansi[i + 1]) : 0;
            if (byte < 0x80) {
                characters.push_back(byte);
            } else if (byte >= 0xA1 && byte <= 0xDF) {
                characters.push_back(byte + 0xFEC0);
            } else if (IsLead(byte) && IsTrail(next)) {
                characters.push_back(CharacterOf(byte << 8 | next));
                ++i;
            } else if (IsLead(byte)) {
                characters.push_back(U'\uFFFD');
                lossless = false;
                ++i;
            } else {
                characters.push_back(U'\uFFFD');
                lossless = false;
            }
        }
        return {text::EncodeUtf8(characters), lossless};
    }

private:
    static constexpr std::pair<unsigned, char32_t> Known[] = {
        {0x93FA, U'日'}, {0x967B, U'本'}, {0x8CEA, U'語'}, {0x955C, U'表'}, {0x8341, U'ア'}};
    static constexpr char32_t Numbered = 0x20000;
    static constexpr unsigned Trails = 188;  // trail bytes per lead byte
    static constexpr unsigned Pairs = 60 * Trails;

    static bool IsLead(unsigned char b) {
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    }
    static bool IsTrail(unsigned char b) {
        return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
    }

    static char32_t CharacterOf(unsigned pair) {
        for (const auto& [bytes, known] : Known) {
            if (bytes == pair) return known;
        }
        const unsigned lead = pair >> 8, trail = pair & 0xFF;
        const unsigned leadIndex = lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
        const unsigned trailIndex = trail <= 0x7E ? trail - 0x40 : trail - 0x80 + 63;
        return Numbered + leadIndex * Trails + trailIndex;
    }

    static std::optional<unsigned> PairOf(char32_t c) {
        for (const auto& [bytes, known] : Known) {
            if (known == c) return bytes;
        }
        if (c < Numbered || c >= Numbered + Pairs) return std::nullopt;
        const unsigned leadIndex = (c - Numbered) / Trails, trailIndex = (c - Numbered) % Trails;
        const unsigned lead = leadIndex < 31 ? 0x81 + leadIndex : 0xE0 + leadIndex - 31;
        const unsigned trail = trailIndex < 63 ? 0x40 + trailIndex : 0x80 + trailIndex - 63;
        const unsigned pair = lead << 8 | trail;
        // The numbered character of a pair that gives a real character has no pair.
        for (const auto& [bytes, known] : Known) {
            if (bytes == pair) return std::nullopt;
        }
        return pair;
    }
};
