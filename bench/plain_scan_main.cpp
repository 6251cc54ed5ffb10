// venk-plain-scan <infile> <outfile>: `venk -c` with the plain scan in place
// of the index, so that compare.sh can time both as whole processes.
#include "compress_file.hpp"
#include "plain_scan.hpp"

int main(int argc, char** argv) {
    return venk::bench::compress_file(
        argc, argv, "usage: venk-plain-scan <infile> <outfile>\n",
        [](venk::InputStream& input, venk::OutputStream& output) {
            return venk::compress_tiles_with(venk::plain_scan_find_or_append_block, input, output,
                                             venk::FORMAT_VENK16);
        });
}
