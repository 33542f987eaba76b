// Feeds arbitrary bytes to the list-file reader, then writes the entries and reads them back:
// the non-empty entries must survive the round trip unchanged and in order.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "commandlist/ListFile.h"
#include "tests/fakes/FakePlatform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FakeCodePage codePage;  // each byte one character up to U+00FF
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> entries = listfile::Decode(bytes, codePage);
    for (const std::string& entry : entries) {
        if (entry.find('\r') != std::string::npos) __builtin_trap();
    }
    std::vector<std::string> nonEmpty;
    for (const std::string& entry : entries) {
        if (!entry.empty()) nonEmpty.push_back(entry);
    }
    if (listfile::Decode(listfile::Encode(entries, codePage), codePage) != nonEmpty) __builtin_trap();
    return 0;
}
