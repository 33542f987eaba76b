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
    // Less than, equal to or greater than 0 as a orders before, with or after b: the order of
    // their keys, without making them. Cheaper than two keys for one comparison.
    virtual int compare(std::string_view a, std::string_view b) = 0;
};
