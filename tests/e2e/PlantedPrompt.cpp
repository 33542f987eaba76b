// Stands in for a cmd.exe that someone placed beside Tavimero.exe or in the folder it is started
// from. Started, it leaves a marker file in its current folder and ends, so a test can tell
// whether the program ever ran it instead of the system's own prompt.

#include <cstdio>

int main() {
    std::FILE* marker = std::fopen("planted-prompt-ran.txt", "w");
    if (!marker) return 1;
    std::fputs("ran\n", marker);
    return std::fclose(marker) == 0 ? 0 : 1;
}
