#pragma once
#include <optional>
#include <string>
#include <vector>

#include "commandlist/ListFileEncoding.h"
#include "platform/CodePage.h"

// The command list file: one entry per line, lines separated by CR LF, a lone LF or a lone CR,
// no terminator after the last; saved with the line ends it was read with. Read in the form its
// bytes show (see DecodeText) and saved back in that form; a list is kept in the system's ANSI code
// page when it was read so or never read, and as UTF-8 with a byte-order mark when its form cannot
// hold it, so nothing turns into '?'.
namespace listfile {

// What the open and save boxes offer for list files, and the extension a name typed without one
// is given.
constexpr const char* DialogFilter = "リストファイル(*.txt)|*.txt";
constexpr const char* Extension = "txt";

// What separates the lines of a list file.
enum class LineEnd { CrLf, Lf, Cr };

struct Contents {
    std::vector<std::string> entries;
    Encoding encoding = Encoding::Ansi;  // the form the file was read in
    LineEnd lineEnd = LineEnd::CrLf;     // the file's first line end; CR LF when it has none
    bool lossless = true;                // false: some bytes were replaced, see DecodedText
};

// The bytes of a list file holding the non-empty entries in their order, separated by lineEnd:
// in `encoding` when it holds every entry and its bytes read back as the same entries, else
// UTF-8 with a mark. A list that was never read (no encoding) is taken as ANSI.
std::string Encode(const std::vector<std::string>& entries, std::optional<Encoding> encoding,
                   LineEnd lineEnd, CodePage& codePage);
// The entries of a list file: a line ends at CR LF, CR or LF (an LF inside an entry would be
// typed as Enter); empty lines are entries; a last line without terminator is an entry; an
// empty file has none.
Contents Decode(const std::string& bytes, CodePage& codePage);

}  // namespace listfile
