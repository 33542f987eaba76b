// Feeds arbitrary bytes to the list-file reader, then writes the entries in every encoding (and
// as a new list) with every line end and reads them back: the non-empty entries must come back
// unchanged, in order, and without loss. The code page is the fake 932, which has undefined bytes
// and pairs.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "commandlist/ListFile.h"
#include "tests/fakes/FakeCodePage.h"

using listfile::Encoding;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FakeCodePage codePage;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const listfile::Contents contents = listfile::Decode(bytes, codePage);
    std::vector<std::string> nonEmpty;
    for (const std::string& entry : contents.entries) {
        if (entry.find_first_of("\r\n") != std::string::npos) __builtin_trap();
        if (!entry.empty()) nonEmpty.push_back(entry);
    }
    const std::optional<Encoding> encodings[] = {std::nullopt,      Encoding::Ansi,
                                                 Encoding::Utf8,    Encoding::Utf8WithMark,
                                                 Encoding::Utf16Le, Encoding::Utf16Be};
    for (const std::optional<Encoding>& encoding : encodings) {
        for (const auto lineEnd :
             {listfile::LineEnd::CrLf, listfile::LineEnd::Lf, listfile::LineEnd::Cr}) {
            const listfile::Contents back = listfile::Decode(
                listfile::Encode(contents.entries, encoding, lineEnd, codePage), codePage);
            if (back.entries != nonEmpty || !back.lossless) __builtin_trap();
        }
    }
    return 0;
}
