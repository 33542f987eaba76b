#pragma once

// Where the prompt really is, and whether the box txtCD agrees. The prompt's own answer comes
// from `cd` with its output sent by absolute path to a file in the program's folder, so the
// file lands there wherever the prompt stands.

#include <gtest/gtest.h>

#include <cwctype>
#include <optional>
#include <string>
#include <utility>

#include "Driver.h"
#include "Steps.h"
#include "forms/ControlIds.h"

namespace e2e {

// Where the prompt is, by its own `cd`. Each call writes a new file, so an old answer is never
// read again. Empty, with a failure recorded, when no answer comes.
inline std::wstring promptDirectory(Session& s) {
    static int calls = 0;
    const std::wstring name = L"where-" + std::to_wstring(++calls) + L".txt";
    const auto executed = execute(s, "cd > \"" + narrow(s.pathOf(name)) + "\"");
    if (!executed) {
        ADD_FAILURE() << executed.message();
        return {};
    }
    std::optional<std::string> content;
    const bool answered = pollUntil(
        [&] {
            content = s.readFile(name);
            return content && content->size() > 2 && content->substr(content->size() - 2) == "\r\n";
        },
        kEffectTimeout);
    if (!answered) {
        ADD_FAILURE() << "the prompt wrote no directory into " << narrow(name) << "\n"
                      << s.report();
        return {};
    }
    return widen(content->substr(0, content->size() - 2));
}

inline std::wstring shownDirectory(const Session& s) { return widen(s.text(ids::txtCD)); }

// txtCD against the prompt's answer; the box may change a moment after the click returns.
inline ::testing::AssertionResult boxShowsPromptDirectory(Session& s,
                                                          const std::wstring& expected) {
    const std::wstring actual = promptDirectory(s);
    if (!sameTextIgnoringCase(actual, expected)) {
        return ::testing::AssertionFailure()
               << "the prompt itself is in \"" << narrow(actual) << "\", not in \""
               << narrow(expected) << "\": the command did not do what the test meant\n"
               << s.report();
    }
    if (pollUntil([&] { return sameTextIgnoringCase(shownDirectory(s), actual); },
                  kEffectTimeout)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "txtCD shows \"" << s.text(ids::txtCD)
                                         << "\" but the prompt is in \"" << narrow(actual) << "\"\n"
                                         << s.report();
}

inline bool driveExists(wchar_t letter) {
    const int index = towupper(letter) - L'A';
    return index >= 0 && index < 26 && (GetLogicalDrives() & (1u << index)) != 0;
}

inline bool isDirectory(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The drive other than the session folder's that the tests move to, and a folder on it:
// Wine has C: (where its temporary folder is) and Z: (the Unix root).
struct OtherDrive {
    wchar_t letter = 0;
    std::wstring folder;  // an existing folder on that drive, without spaces
};

inline OtherDrive otherDriveThan(const std::wstring& folder) {
    const wchar_t own = towupper(folder.at(0));
    for (const auto& [letter, candidate] :
         {std::pair{L'Z', L"Z:\\tmp"}, std::pair{L'C', L"C:\\windows"}}) {
        if (letter != own && driveExists(letter) && isDirectory(candidate))
            return {letter, candidate};
    }
    return {};
}

}  // namespace e2e
