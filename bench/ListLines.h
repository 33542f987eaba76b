#pragma once
// The command lines of the large-list benchmarks: plain, quoted and Japanese lines, each one
// different, in an order that a seed fixes.

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace bench {

inline std::string line(int index) {
    char buf[96];
    if (index % 8 == 0) {
        std::snprintf(buf, sizeof buf, "echo 日本語のコマンド %06d> 結果%06d.txt", index, index);
    } else if (index % 2 == 0) {
        std::snprintf(buf, sizeof buf, "copy \"C:\\work\\file %06d.txt\" D:\\backup\\", index);
    } else {
        std::snprintf(buf, sizeof buf, "dir /s /b C:\\projects\\item%06d\\*.cpp", index);
    }
    return buf;
}

// Lines first..first+count-1 in an order fixed by seed, as one UTF-8 text with CR LF.
inline std::string listText(int first, int count, unsigned seed) {
    std::vector<int> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), first);
    std::shuffle(order.begin(), order.end(), std::mt19937(seed));
    std::string text = "\xEF\xBB\xBF";  // Japanese has no form in every ANSI code page
    for (int index : order) text += line(index) + "\r\n";
    return text;
}

}  // namespace bench
