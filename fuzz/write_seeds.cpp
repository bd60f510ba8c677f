// Writes the seed corpus: write_seeds <directory>.
#include <cstdio>
#include <string>

#include "seed_programs.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
        return 2;
    }
    for (const auto& [name, bytes] : warfield::fuzz::seed_programs()) {
        const std::string path = std::string(argv[1]) + "/seed_" + name;
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        std::fclose(f);
    }
    return 0;
}
