// Feeds arbitrary bytes to the list-file reader, then writes the entries and reads them back:
// the non-empty entries must survive the round trip unchanged and in order.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "commandlist/ListFile.h"
#include "text/Text.h"

namespace {
// The code page of the fuzzing runs: each byte one character up to U+00FF.
class Latin1 : public CodePage {
public:
    std::optional<std::string> toAnsi(const std::string& utf8) override {
        std::string out;
        for (char32_t c : text::DecodeUtf8(utf8)) {
            if (c > 0xFF) return std::nullopt;
            out.push_back(static_cast<char>(c));
        }
        return out;
    }
    std::string fromAnsi(const std::string& ansi) override {
        std::u32string out;
        for (unsigned char c : ansi) out.push_back(c);
        return text::EncodeUtf8(out);
    }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Latin1 codePage;
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
