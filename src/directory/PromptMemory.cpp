#include "directory/PromptMemory.h"

#include <algorithm>
#include <limits>

#include "text/Text.h"

namespace {

// Two reads in a row must agree; after this many reads without agreement the prompt counts as
// unreadable for now (the caller asks again later).
constexpr int kMostReads = 4;

std::uint16_t UnitAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

std::uint64_t LittleEndian(std::span<const std::uint8_t> bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) value = value << 8 | bytes[i];
    return value;
}

bool IsLetter(std::uint16_t unit) {
    return (unit >= 'A' && unit <= 'Z') || (unit >= 'a' && unit <= 'z');
}

char UpperLetter(std::uint16_t letter) {
    return static_cast<char>(letter >= 'a' ? letter - 'a' + 'A' : letter);
}

// UTF-16LE units to UTF-8. An unpaired surrogate makes the whole text invalid rather than
// turning into U+FFFD: a path must never come back different from the one the prompt holds.
std::optional<std::string> DecodeUtf16(std::span<const std::uint8_t> bytes) {
    std::u32string decoded;
    decoded.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const std::uint16_t unit = UnitAt(bytes, i);
        if (unit >= 0xDC00 && unit <= 0xDFFF) return std::nullopt;
        if (unit < 0xD800 || unit > 0xDBFF) {
            decoded.push_back(unit);
            continue;
        }
        if (i + 3 >= bytes.size()) return std::nullopt;
        const std::uint16_t low = UnitAt(bytes, i + 2);
        if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
        decoded.push_back(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
    }
    return text::EncodeUtf8(decoded);
}

// address + offset, or nothing when that leaves the address space.
std::optional<std::uint64_t> Offset(std::uint64_t address, std::uint64_t offset) {
    if (address > std::numeric_limits<std::uint64_t>::max() - offset) return std::nullopt;
    return address + offset;
}

std::optional<std::vector<std::uint8_t>> ReadBytes(const MemoryReader& read, std::uint64_t address,
                                                   std::size_t size) {
    if (!Offset(address, size)) return std::nullopt;
    std::vector<std::uint8_t> bytes(size);
    if (!read(address, bytes)) return std::nullopt;
    return bytes;
}

// The environment block from address up to and including its closing empty string, or as much
// as the limit allows when none turns up. Each piece ends at a page boundary, so no read
// reaches into the page after the one that holds the block's end, which may not exist.
std::optional<std::vector<std::uint8_t>> ReadEnvironmentBlock(const MemoryReader& read,
                                                              std::uint64_t address) {
    std::vector<std::uint8_t> block;
    std::size_t scanned = 0;  // bytes looked at, always a whole number of units
    bool atStringStart = true;
    while (block.size() < kEnvironmentLimit) {
        const std::optional<std::uint64_t> at = Offset(address, block.size());
        if (!at) return std::nullopt;
        const std::size_t toBoundary = kMemoryPage - *at % kMemoryPage;
        const std::size_t piece = std::min(toBoundary, kEnvironmentLimit - block.size());
        const std::size_t before = block.size();
        block.resize(before + piece);
        if (!Offset(*at, piece) || !read(*at, std::span(block).subspan(before))) {
            return std::nullopt;
        }
        for (; scanned + 1 < block.size(); scanned += 2) {
            const bool nul = UnitAt(block, scanned) == 0;
            if (nul && atStringStart) {
                block.resize(scanned + 2);
                return block;
            }
            atStringStart = nul;
        }
    }
    return block;
}

std::optional<PromptDirectories> ReadOnce(std::uint64_t pebAddress, const ProcessLayout& layout,
                                          const MemoryReader& read) {
    const std::optional<std::uint64_t> parametersField = Offset(pebAddress, layout.parametersInPeb);
    if (!parametersField) return std::nullopt;
    const auto parametersPointer = ReadBytes(read, *parametersField, layout.pointerSize);
    if (!parametersPointer) return std::nullopt;
    const std::uint64_t parameters = LittleEndian(*parametersPointer);
    if (parameters == 0) return std::nullopt;

    // The fields needed all lie in the first bytes of the parameters, up to the environment
    // pointer: one read.
    const auto head = ReadBytes(read, parameters, layout.environment + layout.pointerSize);
    if (!head) return std::nullopt;
    const std::span<const std::uint8_t> fields(*head);
    const std::uint16_t length = UnitAt(fields, layout.currentDirectoryLength);
    const std::uint16_t maximumLength = UnitAt(fields, layout.currentDirectoryLength + 2);
    const std::uint64_t buffer =
        LittleEndian(fields.subspan(layout.currentDirectoryBuffer, layout.pointerSize));
    const std::uint64_t environment =
        LittleEndian(fields.subspan(layout.environment, layout.pointerSize));
    if (length == 0 || length % 2 != 0 || length > maximumLength || length > kLongestPath * 2 ||
        buffer == 0 || environment == 0) {
        return std::nullopt;
    }

    const auto currentText = ReadBytes(read, buffer, length);
    if (!currentText) return std::nullopt;
    std::optional<std::string> current = ParseCurrentDirectory(*currentText);
    if (!current) return std::nullopt;
    const auto block = ReadEnvironmentBlock(read, environment);
    if (!block) return std::nullopt;
    std::optional<DriveDirectories> drives = ParseDriveDirectories(*block);
    if (!drives) return std::nullopt;
    return PromptDirectories{std::move(*current), std::move(*drives)};
}

}  // namespace

std::optional<PromptDirectories> ReadPromptDirectories(
    std::uint64_t pebAddress, const ProcessLayout& layout, const MemoryReader& read,
    const std::optional<PromptDirectories>& last) {
    std::optional<PromptDirectories> previous = ReadOnce(pebAddress, layout, read);
    if (previous && previous == last) return previous;
    for (int reads = 1; reads < kMostReads; ++reads) {
        std::optional<PromptDirectories> next = ReadOnce(pebAddress, layout, read);
        if (next && next == previous) return next;
        // Two failures in a row are not a change in progress: the memory is unreadable.
        if (!next && !previous) return std::nullopt;
        previous = std::move(next);
    }
    return std::nullopt;
}

std::optional<std::string> ParseCurrentDirectory(std::span<const std::uint8_t> utf16) {
    const std::size_t units = utf16.size() / 2;
    if (units < 2 || utf16.size() % 2 != 0) return std::nullopt;
    for (std::size_t i = 0; i < units; ++i) {
        if (UnitAt(utf16, i * 2) == 0) return std::nullopt;
    }
    const std::uint16_t first = UnitAt(utf16, 0), second = UnitAt(utf16, 2);
    const bool drivePath = IsLetter(first) && second == ':';
    const bool networkPath = first == '\\' && second == '\\';
    if (!drivePath && !networkPath) return std::nullopt;
    return DecodeUtf16(utf16);
}

std::optional<DriveDirectories> ParseDriveDirectories(std::span<const std::uint8_t> block) {
    DriveDirectories drives;
    std::size_t start = 0;
    while (start + 1 < block.size()) {
        std::size_t end = start;
        while (end + 1 < block.size() && UnitAt(block, end) != 0) end += 2;
        if (end + 1 >= block.size()) break;  // cut short: the last string is incomplete
        if (end == start) break;             // the empty string that closes the block
        const std::span<const std::uint8_t> entry = block.subspan(start, end - start);
        start = end + 2;

        const std::size_t units = entry.size() / 2;
        if (units < 4 || UnitAt(entry, 0) != '=' || !IsLetter(UnitAt(entry, 2)) ||
            UnitAt(entry, 4) != ':' || UnitAt(entry, 6) != '=') {
            continue;
        }
        const std::span<const std::uint8_t> path = entry.subspan(8);
        const char letter = UpperLetter(UnitAt(entry, 2));
        if (path.size() < 4 || !IsLetter(UnitAt(path, 0)) ||
            UpperLetter(UnitAt(path, 0)) != letter || UnitAt(path, 2) != ':') {
            return std::nullopt;
        }
        std::optional<std::string> decoded = DecodeUtf16(path);
        if (!decoded) return std::nullopt;
        for (const auto& [known, directory] : drives) {
            if (known[0] == letter) return std::nullopt;
        }
        drives.emplace_back(std::string(1, letter), std::move(*decoded));
    }
    return drives;
}
