#pragma once
#include <string>
#include <string_view>

// The user's alphabetical order of texts, letter case ignored: the order the system's own sorted
// lists use.
class Collation {
public:
    virtual ~Collation() = default;
    // Bytes whose order (as plain byte strings) is the order of the texts; equal keys for texts
    // that differ only in letter case.
    virtual std::string sortKey(std::string_view utf8) = 0;
};
