#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/PromptDirectories.h"

// The prompt's directories out of its memory: where the system keeps them, and how the bytes
// found there are checked and decoded. The caller only reads memory at the addresses this code
// asks for, so every length and pointer taken from the other process is bounded here, in one
// place that builds and is tested without Windows.

// Where the process parameters hold the current directory and the environment, for one
// bitness of the prompt process.
struct ProcessLayout {
    std::uint32_t pointerSize;      // 8 for a 64-bit prompt, 4 for a 32-bit one
    std::uint32_t parametersInPeb;  // PEB.ProcessParameters
    // In the process parameters: CurrentDirectory.DosPath, a UNICODE_STRING (USHORT Length in
    // bytes, USHORT MaximumLength, then the Buffer pointer), and the Environment pointer.
    std::uint32_t currentDirectoryLength;
    std::uint32_t currentDirectoryBuffer;
    std::uint32_t environment;
};

// A 64-bit prompt, read by a 64-bit program.
inline constexpr ProcessLayout kLayout64{8, 0x20, 0x38, 0x40, 0x80};
// A 32-bit prompt: the 32-bit PEB of a prompt under WOW64, or any prompt of a 32-bit system.
inline constexpr ProcessLayout kLayout32{4, 0x10, 0x24, 0x28, 0x48};

// Copies into.size() bytes of the prompt's memory at address; false unless every byte was read.
using MemoryReader = std::function<bool(std::uint64_t address, std::span<std::uint8_t> into)>;

// The environment block carries no size: it is read a page at a time, never past the page that
// holds its end, and no further than this.
inline constexpr std::size_t kMemoryPage = 4096;
inline constexpr std::size_t kEnvironmentLimit = 1 << 20;
// The longest path the system handles, in UTF-16 units.
inline constexpr std::size_t kLongestPath = 32767;

// The directories of the prompt whose PEB is at pebAddress. The prompt may be changing its
// directory or environment while they are read, so a read counts only when the next read agrees
// with it, or at once when it gives `last`, what the caller had from its previous call: a
// prompt that has not moved (the usual case) costs one read, and a read torn by a change cannot
// give exactly the state before it. Nothing when the memory cannot be read, fails a check, or
// keeps changing.
std::optional<PromptDirectories> ReadPromptDirectories(
    std::uint64_t pebAddress, const ProcessLayout& layout, const MemoryReader& read,
    const std::optional<PromptDirectories>& last = std::nullopt);

// The current directory from its UTF-16LE text: nothing unless the text is valid UTF-16 without
// a NUL and starts with a drive letter and a colon or with "\\".
std::optional<std::string> ParseCurrentDirectory(std::span<const std::uint8_t> utf16);

// The drive directories of an environment block: UTF-16LE strings, each ending in a NUL, the
// block in an empty string. Keeps the strings "=X:=path" (X a letter) in block order and skips
// every other string, hidden ones ("=::=::\", "=ExitCode=...") included. A block cut short
// loses its incomplete last string. Nothing when a drive's string is not valid UTF-16, its
// path does not start with its own drive letter and a colon, or a drive appears twice: the
// block was changing while it was read.
using DriveDirectories = std::vector<std::pair<std::string, std::string>>;
std::optional<DriveDirectories> ParseDriveDirectories(std::span<const std::uint8_t> block);
