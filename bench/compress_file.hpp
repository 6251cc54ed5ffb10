// The body of the benchmark-only builds of `venk -c`, which compare.sh times
// as whole processes against the tool: `<program> <infile> <outfile>`
// compresses to VENK16 with the given compressor. On failure it prints
// nothing and leaves its output behind.
#pragma once

#include "compressor.hpp"
#include "file_streams.hpp"

#include <cstdio>

namespace venk::bench {

using FileCompressor = ResultCode (*)(InputStream& input, OutputStream& output);

inline int compress_file(int argc, char** argv, const char* usage, FileCompressor compress) {
    if (argc != 3) {
        std::fputs(usage, stderr);
        return 2;
    }
    std::FILE* input = std::fopen(argv[1], "rb");
    std::FILE* output = input != nullptr ? std::fopen(argv[2], "wb") : nullptr;
    if (output == nullptr) {
        return 1;
    }
    cli::FileInputStream input_stream(input);
    cli::FileOutputStream output_stream(output);
    const ResultCode result = compress(input_stream, output_stream);
    const bool closed = std::fclose(output) == 0;
    std::fclose(input);
    return result == RESULT_OK && closed ? 0 : 1;
}

}  // namespace venk::bench
