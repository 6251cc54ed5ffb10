// venk-fixed-key <infile> <outfile>: `venk -c` with the index keyed with
// FIXED_KEY instead of a fresh random key, as it would be if its key never
// changed, so that compare.sh can show what the flood input does to it.
#include "compress_file.hpp"
#include "inputs.hpp"

int main(int argc, char** argv) {
    return venk::bench::compress_file(
        argc, argv, "usage: venk-fixed-key <infile> <outfile>\n",
        [](venk::InputStream& input, venk::OutputStream& output) {
            return venk::compress_tiles_with_key(venk::bench::FIXED_KEY, venk::find_or_append_block, input,
                                                 output, venk::FORMAT_VENK16);
        });
}
