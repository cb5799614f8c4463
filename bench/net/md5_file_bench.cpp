// Times Md5::UpdateFromFile over one file: prints "<seconds> <md5>".
// The file should already be in the page cache (the bench script reads it
// first) so the figure is the digest's cost, not the disk's.
#include "net/md5.h"

#include <chrono>
#include <cstdio>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: md5-file-bench FILE\n");
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    std::ifstream file(argv[1], std::ios::in | std::ios::binary);
    if (!file.is_open()) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    kelo::Md5 md5;
    md5.UpdateFromFile(file);
    const std::string hex = md5.HexDigest();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.4f %s\n", seconds, hex.c_str());
    return 0;
}
