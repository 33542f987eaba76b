#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Control characters in a text to be typed into the prompt. The console's line editor takes
// them as keys (a TAB completes a file name, a backspace erases what was typed before it, an
// escape empties the line), so the prompt would run another command than the text shows.
// Line breaks are not among them: each one is the Enter key, as the text means.
struct ControlCharacter {
    char32_t code = 0;
    std::size_t line = 0;    // counted from 1; a line ends at CR LF, a lone CR or a lone LF
    std::size_t column = 0;  // the character's place in its line, counted from 1
    bool operator==(const ControlCharacter&) const = default;
};

// The first control character of a UTF-8 text other than CR and LF: U+0000 to U+001F and
// U+007F. Nothing when there is none.
std::optional<ControlCharacter> FirstControlCharacter(std::string_view utf8);

// The character as a user knows it: its name where it has a common one, and its code
// ("タブ (U+0009)", "制御文字 (U+0001)").
std::string ControlCharacterName(char32_t code);

// The message that refuses a text holding the character: which character and where it stands.
std::string ControlCharacterMessage(const ControlCharacter& found);
