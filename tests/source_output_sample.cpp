// Writes every form of source output for a pack of two sheets into the
// directory named by its argument, with the bytes as packed.bin, for
// source_output_check.sh to compile and assemble: no command line writes an
// index yet.
#include "source_output.hpp"

#include <fstream>
#include <numeric>

int main(int argc, char** argv) {
    using namespace venk::cli;
    if (argc != 2) {
        return 2;
    }
    const std::string directory = std::string(argv[1]) + "/";
    std::vector<std::uint8_t> bytes(40);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{250});  // wraps past 0xff
    const SourceContent content{bytes, "packed", 5, "a test pack", {{"font", 0, 3}, {"hero_walk", 3, 2}}};
    const struct {
        const char* name;
        std::string text;
    } files[] = {
        {"packed.bin", std::string(bytes.begin(), bytes.end())},
        {"packed.c", source_text(SourceForm::C, content, "packed.h")},
        {"packed.h", c_header(content)},
        {"packed.s", source_text(SourceForm::GNU_AS, content, "")},
        {"packed.asm", source_text(SourceForm::MRI, content, "")},
    };
    for (const auto& file : files) {
        if (!(std::ofstream(directory + file.name, std::ios::binary) << file.text)) {
            return 1;
        }
    }
    return 0;
}
