#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/CodePage.h"

// The command list file: one entry per line, lines separated by CR LF, no terminator after
// the last. Kept in the system's ANSI code page; a list with a character that code page
// cannot hold is kept as UTF-8 with a byte-order mark instead, so nothing turns into '?'.
namespace listfile {

// What the open and save boxes offer for list files, and the extension a name typed without one
// is given.
constexpr const char* DialogFilter = "リストファイル(*.txt)|*.txt";
constexpr const char* Extension = "txt";

// The bytes of a list file holding the non-empty entries in their order.
std::string Encode(const std::vector<std::string>& entries, CodePage& codePage);
// The entries of a list file: a line ends at CR or CR LF; a lone LF stays in its entry; empty
// lines are entries; a last line without terminator is an entry; an empty file has none.
std::vector<std::string> Decode(const std::string& bytes, CodePage& codePage);

}  // namespace listfile
