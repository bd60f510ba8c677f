// Writes the seed corpora: write_seeds <core corpus> [<binding corpus>].
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "binding_seeds.h"
#include "seed_programs.h"

namespace {

bool write_all(const char* dir, const std::vector<std::pair<std::string, std::vector<uint8_t>>>& programs) {
    for (const auto& [name, bytes] : programs) {
        const std::string path = std::string(dir) + "/seed_" + name;
        std::FILE* f = std::fopen(path.c_str(), "wb");
        const bool ok = f != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        if (f != nullptr) std::fclose(f);
        if (!ok) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <core corpus> [<binding corpus>]\n", argv[0]);
        return 2;
    }
    if (!write_all(argv[1], warfield::fuzz::seed_programs())) return 1;
    if (argc == 3 && !write_all(argv[2], warfield::fuzz::binding_seed_programs())) return 1;
    return 0;
}
