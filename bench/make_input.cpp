// make-input <name> <file>: writes one of the benchmark blobs, for compare.sh.
#include "inputs.hpp"

#include <cstdio>
#include <string_view>

int main(int argc, char** argv) {
    if (argc == 3) {
        for (const auto& input : venk::bench::INPUTS) {
            if (input.name != argv[1]) {
                continue;
            }
            const venk::bench::Bytes blob = input.make();
            std::FILE* file = std::fopen(argv[2], "wb");
            const bool written = file != nullptr && std::fwrite(blob.data(), 1, blob.size(), file) == blob.size();
            return (file != nullptr && std::fclose(file) == 0 && written) ? 0 : 1;
        }
    }
    std::fputs("usage: make-input worst|flood|zero|straddle|random <file>\n", stderr);
    return 2;
}
