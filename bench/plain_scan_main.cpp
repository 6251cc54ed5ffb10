// venk-plain-scan <infile> <outfile>: `venk -c` with the plain scan in place
// of the index, so that compare.sh can time both as whole processes. VENK16
// only; on failure it prints nothing and leaves its output behind.
#include "compressor.hpp"
#include "file_streams.hpp"
#include "plain_scan.hpp"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: venk-plain-scan <infile> <outfile>\n", stderr);
        return 2;
    }
    std::FILE* input = std::fopen(argv[1], "rb");
    std::FILE* output = input != nullptr ? std::fopen(argv[2], "wb") : nullptr;
    if (output == nullptr) {
        return 1;
    }
    venk::cli::FileInputStream input_stream(input);
    venk::cli::FileOutputStream output_stream(output);
    const venk::ResultCode result = venk::compress_tiles_with(venk::plain_scan_find_or_append_block, input_stream,
                                                              output_stream, venk::FORMAT_VENK16);
    const bool closed = std::fclose(output) == 0;
    std::fclose(input);
    return result == venk::RESULT_OK && closed ? 0 : 1;
}
