// Feeds arbitrary command lines and current directories to the cd interpreter. The first line
// of the input is the current directory, the rest the executed line. Folders "exist" by a
// rule of their text, so every path through the interpreter is reachable.
#include <cstddef>
#include <cstdint>
#include <string>

#include "directory/CdInterpreter.h"
#include "text/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const auto newline = input.find('\n');
    const std::string currentDir = newline == std::string::npos ? "C:\\WINDOWS" : input.substr(0, newline);
    const std::string line = newline == std::string::npos ? input : input.substr(newline + 1);
    const std::string currentDrive = text::Split(currentDir, ":").front();
    int refreshes = 0;
    const CdContext context{currentDir, currentDrive,
                            [](const std::string& path) { return path.size() % 3 != 0; },
                            [&refreshes] { ++refreshes; }};
    const CdOutcome outcome = TrackCdCommand(line, context);
    // The interpreter accepts only a path it found existing, and refreshes the drives at most
    // once.
    if (outcome.NewDirectory && outcome.NewDirectory->size() % 3 == 0) __builtin_trap();
    if (refreshes > 1) __builtin_trap();
    return 0;
}
