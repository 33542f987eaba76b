// Feeds arbitrary memory to the reader of the prompt's directories. The first byte picks the
// bitness (even: 64-bit, odd: 32-bit); the rest is the prompt's memory from kBase on, with the
// PEB at its start, so every pointer and length in it is the fuzzer's to choose. Memory comes in
// whole pages, as the system maps it: zeros after the input up to the end of its last page. The
// same bytes also go to the two parsers directly.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "directory/PromptMemory.h"
#include "text/Text.h"

namespace {

constexpr std::uint64_t kBase = 0x10000;

// A result must hold what the checks promise: text that is valid UTF-8 and paths that start
// as they must.
void CheckDrives(const DriveDirectories& drives) {
    std::uint32_t seen = 0;
    for (const auto& [letter, path] : drives) {
        if (letter.size() != 1 || letter[0] < 'A' || letter[0] > 'Z') __builtin_trap();
        if (seen & 1u << (letter[0] - 'A')) __builtin_trap();
        seen |= 1u << (letter[0] - 'A');
        if (path.size() < 2 || (path[0] & ~0x20) != letter[0] || path[1] != ':') __builtin_trap();
        if (text::EncodeUtf8(text::DecodeUtf8(path)) != path) __builtin_trap();
    }
}

void CheckCurrent(const std::string& current) {
    if (current.size() < 2) __builtin_trap();
    if (current[1] != ':' && current.compare(0, 2, "\\\\") != 0) __builtin_trap();
    if (current.find('\0') != std::string::npos) __builtin_trap();
    if (text::EncodeUtf8(text::DecodeUtf8(current)) != current) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const ProcessLayout& layout = data[0] % 2 == 0 ? kLayout64 : kLayout32;
    const std::span<const std::uint8_t> memory(data + 1, size - 1);

    std::size_t bytesRead = 0;
    const MemoryReader read = [&](std::uint64_t address, std::span<std::uint8_t> into) {
        // No single read is larger than the longest path.
        if (into.size() > kLongestPath * 2) __builtin_trap();
        bytesRead += into.size();
        const std::size_t mapped = (memory.size() + kMemoryPage - 1) / kMemoryPage * kMemoryPage;
        if (address < kBase || address - kBase > mapped ||
            into.size() > mapped - (address - kBase)) {
            return false;
        }
        const std::size_t offset = address - kBase;
        const std::size_t present = offset < memory.size() ? memory.size() - offset : 0;
        const std::size_t copied = std::min(present, into.size());
        if (copied) std::memcpy(into.data(), memory.data() + offset, copied);
        std::memset(into.data() + copied, 0, into.size() - copied);
        return true;
    };
    if (auto directories = ReadPromptDirectories(kBase, layout, read)) {
        CheckCurrent(directories->current);
        CheckDrives(directories->drives);
    }
    // At most four reads of everything, each bounded.
    if (bytesRead > 4 * (kEnvironmentLimit + kLongestPath * 2 + 0x100)) __builtin_trap();

    if (auto drives = ParseDriveDirectories(memory)) CheckDrives(*drives);
    if (auto current = ParseCurrentDirectory(memory)) CheckCurrent(*current);
    return 0;
}
