#pragma once
#include <cstdint>
#include <string_view>

// Reading numbers from settings text, as the settings file has always been read.
namespace numbers {

// The number at the start of text: spaces, tabs and line feeds are ignored wherever they
// stand; reading stops at the first character that cannot continue a decimal number (an
// optional sign, digits, one point, an exponent with E or D); "&H" and "&O" read hexadecimal
// and octal (up to four digits as a 16-bit and up to eight as a 32-bit signed value). Text
// that does not start with a number reads as 0.
double Val(std::string_view text);

// Val rounded to a whole number with halves to the even neighbour (1.5 gives 2, 2.5 gives
// 2), limited to -32768..32767.
std::int16_t ValToInt16(std::string_view text);

}  // namespace numbers
