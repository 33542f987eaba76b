// A console program that reads its input: run from the prompt, it holds the prompt's console the
// way an editor or an interpreter does. Writes "started" and then every line it reads into the
// file named by its argument, until its input ends.

#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::ofstream heard(argv[1], std::ios::binary);
    heard << "started\n" << std::flush;
    std::string line;
    while (std::getline(std::cin, line)) heard << line << "\n" << std::flush;
    return 0;
}
