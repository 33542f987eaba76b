#pragma once
#include <string>
#include <vector>

// The order in which fakes were called, as readable lines ("type 1234: dir<Enter>").
struct EventLog {
    std::vector<std::string> lines;
    void add(std::string line) { lines.push_back(std::move(line)); }
    void clear() { lines.clear(); }
};
