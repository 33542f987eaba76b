// Feeds arbitrary bytes to the list-file encoding detection: a read reported lossless must give
// back the very same bytes when its text is written in the encoding it was read in, and a read
// reported lossy must not (its replacement characters stand for bytes it could not read).
#include <cstddef>
#include <cstdint>
#include <string>

#include "commandlist/ListFileEncoding.h"
#include "tests/fakes/FakeCodePage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FakeCodePage codePage;  // shaped like 932, with undefined bytes and pairs
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const listfile::DecodedText decoded = listfile::DecodeText(bytes, codePage);
    const bool givesBackTheBytes =
        listfile::EncodeText(decoded.text, decoded.encoding, codePage) == bytes;
    if (decoded.lossless != givesBackTheBytes) __builtin_trap();
    return 0;
}
