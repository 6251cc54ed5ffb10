// The tool run as a real process: exit status, exact output, and which files
// exist afterwards.
#include "support/process.hpp"
#include "support/tiles.hpp"

#ifdef VENK_CLI_IMAGES
#include <venk/image.hpp>

#include <lodepng.h>
#endif

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <sstream>
#include <thread>
#include <utility>

namespace venk::test {
namespace {

namespace fs = std::filesystem;

const std::string ZERO_TILE(32, '\0');
const std::string ZERO_TILE_STREAM = std::string("\x00\x01\x00\x08", 4) + std::string(16, '\0');

const std::string HELP =
    "Usage:\n"
    "  venk [-c | -d] [options] <infile> <outfile>\n"
    "  venk -p [options] <infile>... <outfile>\n"
    "<infile> and <outfile> may be - for standard input and output;\n"
    "an <infile> ending in .png is read as an image.\n"
    "\n"
    "Options:\n"
    "  -c or --compress ..... Compress a blob into VENK\n"
    "  -d or --decompress ... Decompress VENK into a blob\n"
    "  -16 or --venk16 ...... Use VENK16 format (8192 limit)\n"
    "  -15 or --venk15 ...... Use VENK15 format (4096 limit)\n"
    "  -b or --best ......... Compress to the smallest stream (slower)\n"
    "  -s or --stats ........ Print the sizes of the stream and its limit\n"
    "  -a or --c-array ...... Write C source and a header instead of binary\n"
    "  -g or --gas .......... Write GNU as source for m68k instead of binary\n"
    "  -m or --mri .......... Write Motorola (MRI) assembler source instead\n"
    "  -n or --name <name> .. Name the array (default: from <outfile>)\n"
    "  -p or --pack ......... Pack <infile>... into one stream with one dictionary\n"
    "  -i or --index <file> . Also write the constants to <file> (.h: C, else asm)\n"
    "  --sprite <W>x<H> ..... Cut images into sprites of WxH tiles, column by column\n"
    "  --palette <file> ..... Also write the image's palette to <file>\n"
    "  --columns <n> ........ Draw <n> tiles a row in a picture (-d to a .png)\n"
    "  --colours <file> ..... Draw a picture in the palette of <file>\n"
    "  --map <file> ......... Keep the image's distinct tiles; its tile map to <file>\n"
    "  --no-flip ............ With --map, store flipped copies of tiles again\n"
    "  --base <n> ........... With --map, number the stored tiles from <n>\n"
    "  -h or --help ......... Show this help\n"
    "  -v or --version ...... Show tool version\n"
    "\n"
    "If no option is specified, compression is done by default.\n"
    "If no format is specified, VENK16 is used by default.\n";

const std::string INPUT_MISSING = "Error: input filename missing\n";
const std::string ACTIONS = "Error: can't specify more than one action\n";
const std::string FORMATS = "Error: too many formats specified\n";
const std::string SAME_FILE = "Error: input and output are the same file\n";
const std::string CANT_WRITE = "Error: can't write to output file\n";
const std::string TOO_BIG = "Error: output file is too big for VENK\n";
const std::string SOURCE_FORMS = "Error: too many source forms specified\n";
const std::string NOT_VENK = "Error: input file isn't valid VENK\n";
const std::string NEEDS_SYMBOL = "Error: standard output has no name to take a symbol from: give one with -n\n";

// 4096 distinct blocks: one too many for VENK15, and their VENK16 stream.
const Bytes BIG_BLOB = blob_with_distinct_blocks(4096);
const std::string BIG_STREAM = [] {
    Bytes stream;
    compress_memory(BIG_BLOB, FORMAT_VENK16, stream);
    return std::string(stream.begin(), stream.end());
}();
// Two tiles whose upper right block, all 01 bytes, is stored after the
// upper left one (09 09 then 01s) and is found again 6 bytes earlier, so
// that the tile map names one block at two offsets.
const std::string TWO_OFFSETS_BLOB = std::string(2, '\x09') + std::string(30, '\x01') + std::string(2, '\x09') +
                                     std::string(30, '\x01');
const std::string TWO_OFFSETS_STREAM = std::string("\x00\x02\x00\x10\x09\x09", 6) + std::string(14, '\x01') +
                                       std::string("\0\0\0\x08\0\x02\0\x02\0\0\0\x02\0\x02\0\x02", 16);

// The stream of tile.bin and two-offsets.bin one after the other, at a level.
std::string pack_stream(CompressionLevel level) {
    const std::string blob = ZERO_TILE + TWO_OFFSETS_BLOB;
    Bytes stream;
    compress(Bytes(blob.begin(), blob.end()), stream, {.level = level});
    return std::string(stream.begin(), stream.end());
}

// The words of VENK_TOOL_WRAPPER: the command, such as valgrind, that every
// run of the tool goes through; none in an ordinary build.
std::vector<std::string> tool_wrapper() {
    std::istringstream words(VENK_TOOL_WRAPPER);
    std::vector<std::string> wrapper;
    for (std::string word; words >> word;) {
        wrapper.push_back(word);
    }
    return wrapper;
}

// Creates a private character device in the working directory; false when
// this user may not.
bool make_device(const fs::path& path, unsigned minor) {
    return mknod(path.c_str(), S_IFCHR | 0666, makedev(1, minor)) == 0;
}

class CommandLine : public testing::Test {
protected:
    // The working directory holds tile.bin (one zero tile), tile.venk (its
    // stream), odd.bin (33 bytes), old.venk and long.venk (outputs left by an
    // earlier run, shorter and longer than tile.venk), empty.bin, big.bin
    // and two-offsets.bin; and stdout, a link to /dev/stdout, which a faulty
    // build that deletes its output removes in place of the system's name.
    void SetUp() override {
        fs::create_directory(work());
        fs::create_symlink("/dev/stdout", work() / "stdout");
        write_file(work() / "tile.bin", ZERO_TILE);
        write_file(work() / "odd.bin", std::string(33, '\x01'));
        write_file(work() / "old.venk", "earlier contents");
        write_file(work() / "long.venk", std::string(100, 'x'));
        write_file(work() / "tile.venk", ZERO_TILE_STREAM);
        write_file(work() / "empty.bin", "");
        write_file(work() / "big.bin", std::string(BIG_BLOB.begin(), BIG_BLOB.end()));
        write_file(work() / "two-offsets.bin", TWO_OFFSETS_BLOB);
    }

    ProcessResult run(std::vector<std::string> arguments, std::optional<unsigned> user = std::nullopt) {
        Launch how;
        how.user = user;
        return run(std::move(arguments), how);
    }

    ProcessResult run(std::vector<std::string> arguments, Launch how) {
        return finish_process(start(std::move(arguments), std::move(how)), root_.path());
    }

    int start(std::vector<std::string> arguments, Launch how) {
        arguments.insert(arguments.begin(), "venk");
        how.wrapper = tool_wrapper();
        return start_process(VENK_EXECUTABLE, arguments, work(), root_.path(), how);
    }

    // Runs the tool on the FIFO slow.bin, feeds it `fed` and, once its
    // temporary output exists (or an output written in place holds `held`
    // bytes), sends it `signal`; a negative one is sent to a run that started
    // with it ignored, which then reads on to the end.
    ProcessResult run_killed(std::vector<std::string> arguments, int signal, Launch how = {},
                             const std::string& fed = ZERO_TILE_STREAM, std::optional<std::size_t> held = {});

    // The user that directories made read-only hold off: this one, or as
    // root (whom permissions do not stop) the unprivileged "nobody", for whom
    // the working directory is opened. False when as root the tool cannot
    // be started as nobody.
    bool find_unprivileged_user(std::optional<unsigned>& user) {
        constexpr unsigned NOBODY = 65534;
        if (geteuid() != 0) {
            return true;
        }
        user = NOBODY;
        const fs::perms open_to_all = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                      fs::perms::others_read | fs::perms::others_exec;
        fs::permissions(root_.path(), open_to_all);
        fs::permissions(work(), open_to_all);
        return run({"-v"}, user).out == "1.2\n";
    }

    // Temporary files the tool left anywhere in the working directory.
    std::vector<std::string> temporary_files() const {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(work())) {
            if (entry.path().filename().string().find(".venk-") != std::string::npos) {
                names.push_back(entry.path().string());
            }
        }
        return names;
    }

    fs::path work() const { return root_.path() / "work"; }

    TemporaryDirectory root_;
};

TEST_F(CommandLine, UsageHelpAndVersion) {
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string out;
        std::string err;
    } cases[] = {
        {{}, 1, "", INPUT_MISSING},
        {{"tile.bin"}, 1, "", "Error: output filename missing\n"},
        {{"tile.bin", "a", "b"}, 1, "", "Error: too many filenames specified\n"},
        {{"-h"}, 0, HELP, ""},
        {{"--help", "a", "b", "c", "-h"}, 0, HELP, ""},
        {{"-v"}, 0, "1.2\n", ""},
        {{"-h", "--version"}, 0, "1.2\n", ""},
        {{"-b", "--best", "-h"}, 0, HELP, ""},
        {{"-h", "-x"}, 1, "", "Error: unknown option \"-x\"\n"},
        {{"-x"}, 1, "", "Error: unknown option \"-x\"\n" + INPUT_MISSING},
        {{"-hx", "-H", "--comp", "-", "a", "b"}, 1, "",
         "Error: unknown option \"-hx\"\nError: unknown option \"-H\"\n"
         "Error: unknown option \"--comp\"\nError: too many filenames specified\n"},
        {{"-c", "-d", "a", "b"}, 1, "", ACTIONS},
        {{"-d", "--decompress", "a", "b"}, 1, "", ACTIONS},
        {{"-c", "-c", "a", "b"}, 1, "", ACTIONS},
        {{"-c", "-d"}, 1, "", ACTIONS},
        {{"-h", "-c", "-d"}, 1, "", ACTIONS},
        {{"-c", "-d", "-15", "-16"}, 1, "", ACTIONS + FORMATS},
        {{"-15", "-16"}, 1, "", INPUT_MISSING + FORMATS},
        {{"-16", "-16", "a", "b"}, 1, "", FORMATS},
        {{"-h", "-15", "--venk16"}, 1, "", FORMATS},
        {{"-v", "-15", "-16"}, 1, "", FORMATS},
        {{"--", "-d", "out"}, 1, "", "Error: can't open input file \"-d\"\n"},
        {{"", "out"}, 1, "", "Error: can't open input file \"\"\n"},
        {{"missing.bin", "out"}, 1, "", "Error: can't open input file \"missing.bin\"\n"},
        {{"tile.bin", "no/such/dir/out"}, 1, "", "Error: can't open output file \"no/such/dir/out\"\n"},
        {{"-a", "-g", "a", "b"}, 1, "", SOURCE_FORMS},
        {{"-h", "--mri", "-m"}, 1, "", SOURCE_FORMS},
        {{"-15", "-16", "-a", "--c-array", "a", "b"}, 1, "", FORMATS + SOURCE_FORMS},
        {{"a", "b", "-n"}, 1, "", "Error: option \"-n\" needs a name after it\n"},
        {{"-n", "x", "--name", "y", "a", "b"}, 1, "", "Error: can't specify more than one name\n"},
        {{"--name", "-h"}, 1, "", INPUT_MISSING + "Error: can't use \"-h\" as a name\n"},
        {{"-g", "-n", "1up", "a", "b"}, 1, "", "Error: can't use \"1up\" as a name\n"},
        {{"-a", "--name=main", "a", "b"}, 1, "", "Error: can't use \"main\" as a name\n"},
        {{"--name=", "a", "b"}, 1, "", "Error: can't use \"\" as a name\n"},
        {{"--name=x", "-n", "y", "a", "b"}, 1, "", "Error: can't specify more than one name\n"},
        {{"--index=x", "-i", "y", "a", "b"}, 1, "", "Error: can't specify more than one index file\n"},
        {{"--help=x", "-n=x", "a", "b"}, 1, "", "Error: unknown option \"--help=x\"\nError: unknown option \"-n=x\"\n"},
        {{"-a", "tile.bin", "say \"hi\".c"}, 1, "",
         "Error: C source output \"say \"hi\".c\" gives a header name that #include can't hold\n"},
        {{"--", "-n", "x", "a"}, 1, "", "Error: too many filenames specified\n"},
        {{"-a", "tile.bin", "out.H"}, 1, "", "Error: C source output \"out.H\" can't end in .h\n"},
        {{"-p", "-d", "a", "b"}, 1, "", "Error: can't pack when decompressing\n"},
        {{"--pack", "tile.bin"}, 1, "", "Error: output filename missing\n"},
        {{"-p", "tile.bin", "-", "out"}, 1, "",
         "Error: can't pack standard input: each input needs a file name for the index\n"},
        {{"-p", "-i", "a.h", "gfx/font.bin", "Font.bin", "x/font-.bin", "out"}, 1, "",
         "Error: input files \"gfx/font.bin\" and \"Font.bin\" both give the name FONT in the index\n"},
        {{"-i", "a.h", "--index", "b.h", "x", "y"}, 1, "", "Error: can't specify more than one index file\n"},
        {{"x", "y", "--index"}, 1, "", "Error: option \"--index\" needs a name after it\n"},
        {{"-i", "-", "x", "y"}, 1, "", "Error: the index file can't be standard output\n"},
        {{"-i", "out", "tile.bin", "out"}, 1, "", "Error: index file and output are the same file\n"},
        {{"-a", "-i", "./out.h", "tile.bin", "out"}, 1, "", "Error: index file and header are the same file\n"},
        {{"-a", "tile.bin", "-"}, 1, "",
         "Error: C source output \"-\" must be a regular file, for its header to go beside it\n"},
        {{"-g", "tile.bin", "-"}, 1, "", NEEDS_SYMBOL},
        {{"-i", "out", "tile.bin", "-"}, 1, "", NEEDS_SYMBOL},
    };
    for (const auto& c : cases) {
        std::string joined;
        for (const std::string& argument : c.arguments) joined += " [" + argument + "]";
        SCOPED_TRACE("venk" + joined);
        const ProcessResult result = run(c.arguments);
        EXPECT_EQ(result.exit_status, c.status);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, c.err);
        EXPECT_FALSE(fs::exists(work() / "out"));
        EXPECT_FALSE(fs::exists(work() / "a"));
    }
}

// Runs that reach the codec; the output survives only a success.
TEST_F(CommandLine, CodecRunsKeepOnlySuccessfulOutput) {
    const struct {
        std::vector<std::string> arguments;
        std::string err;
        std::string output_name;
        std::string output;  // empty: the output must not exist afterwards
        std::string out = "";
        std::string standard_input = "";  // a file of the working directory
        unsigned long descriptor_limit = 0;
    } cases[] = {
        {{"tile.bin", "new.venk"}, "", "new.venk", ZERO_TILE_STREAM},
        {{"-15", "tile.bin", "old.venk"}, "", "old.venk", ZERO_TILE_STREAM},
        {{"--", "tile.bin", "--"}, "", "--", ZERO_TILE_STREAM},
        {{"odd.bin", "new.venk"}, "Error: input file size isn't a multiple of 32 bytes\n", "new.venk", ""},
        {{"odd.bin", "old.venk"}, "Error: input file size isn't a multiple of 32 bytes\n", "old.venk", ""},
        {{"tile.bin", "old.venk", "-d"}, "Error: input file isn't valid VENK\n", "old.venk", ""},
        {{"-c", ".", "new.venk"}, "Error: can't read from input file\n", "new.venk", ""},
        {{"-s", "tile.bin", "new.venk"}, "", "new.venk", ZERO_TILE_STREAM,
         "tile.bin -> new.venk: 1 tiles, 1 distinct blocks, dictionary 8 of 65535 bytes (0.0%), "
         "stream 20 bytes (62.5% of 32)\n"},
        {{"--stats", "-d", "-s", "-15", "tile.venk", "new.bin"}, "", "new.bin", ZERO_TILE,
         "tile.venk -> new.bin: 1 tiles, dictionary 8 bytes, stream 20 bytes, blob 32 bytes\n"},
        {{"-s", "odd.bin", "new.venk"}, "Error: input file size isn't a multiple of 32 bytes\n", "new.venk", ""},
        {{"tile.bin", "long.venk"}, "", "long.venk", ZERO_TILE_STREAM},
        {{"empty.bin", "new.venk"}, "Error: input file needs to have at least one tile\n", "new.venk", ""},
        {{"big.bin", "new.venk"}, "", "new.venk", BIG_STREAM},
        {{"-16", "big.bin", "new.venk"}, "", "new.venk", BIG_STREAM},
        {{"--venk16", "big.bin", "new.venk"}, "", "new.venk", BIG_STREAM},
        {{"-15", "big.bin", "new.venk"}, TOO_BIG, "new.venk", ""},
        {{"--venk15", "big.bin", "new.venk"}, TOO_BIG, "new.venk", ""},
        {{"-s", "-15", "two-offsets.bin", "new.venk"}, "", "new.venk", TWO_OFFSETS_STREAM,
         "two-offsets.bin -> new.venk: 2 tiles, 2 distinct blocks, dictionary 16 of 32767 bytes (0.0%), "
         "stream 36 bytes (56.3% of 64)\n"},
        // Standard input, and a file named -.
        {{"-", "new.venk"}, "", "new.venk", ZERO_TILE_STREAM, "", "tile.bin"},
        {{"-d", "--", "-", "new.venk"}, "", "new.venk", ZERO_TILE, "", "tile.venk"},
        {{"-", "new.venk"}, "Error: input file size isn't a multiple of 32 bytes\n", "new.venk", "", "", "odd.bin"},
        {{"./-", "new.venk"}, "", "new.venk", TWO_OFFSETS_STREAM},
        {{"tile.bin", "./-"}, "", "-", ZERO_TILE_STREAM},
        // Packs: the stream of the inputs one after the other.
        {{"-p", "tile.bin", "two-offsets.bin", "new.venk"}, "", "new.venk", pack_stream(LEVEL_DEFAULT)},
        {{"-p", "sub/tile.bin", "tile.bin", "new.venk"}, "", "new.venk",
         std::string("\0\x02\0\x08", 4) + std::string(24, '\0')},
        {{"zero", "new.venk"}, TOO_BIG, "new.venk", ""},  // a private zero device: an endless input
        // More inputs than descriptors: each is open only while it is read.
        {[] {
             std::vector<std::string> arguments(41, "tile.bin");
             arguments.front() = "-p";
             arguments.push_back("new.venk");
             return arguments;
         }(),
         "", "new.venk", std::string("\0\x28\0\x08", 4) + std::string(8 + 40 * 8, '\0'), "", "", 16},
        {{"two-offsets.bin", "--pack", "-b", "odd.bin", "new.venk"},
         "Error: input file size isn't a multiple of 32 bytes: \"odd.bin\"\n", "new.venk", ""},
        {{"-b", "tile.bin", "two-offsets.bin", "--pack", "new.venk"}, "", "new.venk", pack_stream(LEVEL_BEST)},
        {{"-p", "tile.bin", "empty.bin", "new.venk"},
         "Error: input file needs to have at least one tile: \"empty.bin\"\n", "new.venk", ""},
        {{"-p", "tile.bin", "sub", "new.venk"}, "Error: can't read from input file: \"sub\"\n", "new.venk", ""},
        {{"-p", "-s", "tile.bin", "two-offsets.bin", "new.venk"}, "", "new.venk", pack_stream(LEVEL_DEFAULT),
         "tile.bin + two-offsets.bin -> new.venk: 3 tiles, 3 distinct blocks, dictionary 24 of 65535 bytes "
         "(0.0%), stream 52 bytes (54.2% of 96)\n  tile.bin: first tile 0, 1 tiles\n"
         "  two-offsets.bin: first tile 1, 2 tiles\n"},
        {{"-p", "-15", "chain1.bin", "chain2.bin", "chain3.bin", "tile.bin", "new.venk"},
         "Error: output file is too big for VENK once \"chain2.bin\" is added\n", "new.venk", ""},
        {{"-p", "-15", "-b", "chain1.bin", "chain2.bin", "chain3.bin", "tile.bin", "new.venk"},
         "Error: output file is too big for VENK once \"chain3.bin\" is added\n", "new.venk", ""},
        {{"-p", "-b", "tiles40000.bin", "tiles30000.bin", "tile.bin", "new.venk"},
         "Error: output file is too big for VENK once \"tiles30000.bin\" is added\n", "new.venk", ""},
    };
    // VENK15 holds 4095 blocks laid out by default, some 16000 chained.
    const auto as_string = [](const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); };
    write_file(work() / "chain1.bin", as_string(chained_blocks(1, 3000)));
    write_file(work() / "chain2.bin", as_string(chained_blocks(3001, 3000)));
    write_file(work() / "chain3.bin", as_string(chained_blocks(6001, 12000)));
    write_file(work() / "tiles40000.bin", std::string(40000 * 32, '\0'));
    write_file(work() / "tiles30000.bin", std::string(30000 * 32, '\0'));
    fs::create_directory(work() / "sub");
    write_file(work() / "sub" / "tile.bin", ZERO_TILE);
    const bool zero_made = make_device(work() / "zero", 5);
    for (const auto& c : cases) {
        if (c.arguments.front() == "zero" && !zero_made) continue;
        SCOPED_TRACE(testing::Message() << c.arguments.front() << " " << c.arguments.back());
        write_file(work() / "old.venk", "earlier contents");
        write_file(work() / "-", TWO_OFFSETS_BLOB);
        Launch how;
        if (!c.standard_input.empty()) how.standard_input = work() / c.standard_input;
        if (c.descriptor_limit != 0 && std::string(VENK_TOOL_WRAPPER).empty()) how.descriptor_limit = c.descriptor_limit;
        const ProcessResult result = run(c.arguments, how);
        EXPECT_EQ(result.exit_status, c.err.empty() ? 0 : 1);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, c.err);
        EXPECT_EQ(fs::exists(work() / c.output_name), !c.output.empty());
        if (!c.output.empty()) {
            EXPECT_EQ(read_file(work() / c.output_name), c.output);
        }
        EXPECT_EQ(read_file(work() / "tile.bin"), ZERO_TILE);
        fs::remove(work() / "new.venk");
    }
}

TEST_F(CommandLine, RoundTripInBothVariants) {
    std::string blob;
    for (int i = 0; i < 32 * 40; ++i) blob += static_cast<char>((i * 7 / 5) % 23);
    write_file(work() / "blob.bin", blob);
    // -b packs tighter; with -d it is accepted and changes nothing.
    const struct {
        std::string variant;
        std::vector<std::string> levels;
    } cases[] = {{"-15", {}}, {"--venk16", {}}, {"-15", {"-b"}}, {"--venk16", {"--best", "-b"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.variant + (c.levels.empty() ? "" : " " + c.levels.front()));
        std::vector<std::string> compress = {c.variant, "blob.bin", "packed"};
        compress.insert(compress.end(), c.levels.begin(), c.levels.end());
        EXPECT_EQ(run(compress).exit_status, 0);
        std::vector<std::string> expand = {"packed", "back.bin", c.variant, "--decompress"};
        expand.insert(expand.end(), c.levels.begin(), c.levels.end());
        EXPECT_EQ(run(expand).exit_status, 0);
        EXPECT_EQ(read_file(work() / "back.bin"), blob);
    }
}

TEST_F(CommandLine, RefusesToWriteOverItsInput) {
    fs::create_hard_link(work() / "tile.bin", work() / "hard.bin");
    fs::create_symlink("tile.bin", work() / "soft.bin");
    fs::create_directory(work() / "sub");
    // Also open for writing as descriptor 3 and as standard output, as
    // "3>>tile.bin" and ">>tile.bin" would, and standard input.
    Launch how;
    const int opened = open((work() / "tile.bin").c_str(), O_WRONLY | O_CLOEXEC);
    how.descriptors = {{3, opened}, {1, opened}};
    how.standard_input = work() / "tile.bin";
    const std::vector<std::string> cases[] = {
        {"tile.bin", "tile.bin"}, {"tile.bin", "./tile.bin"}, {"tile.bin", "sub/../tile.bin"},
        {"tile.bin", "hard.bin"}, {"tile.bin", "soft.bin"},   {"tile.bin", "/dev/fd/3"},
        {"-", "hard.bin"},        {"-d", "tile.bin", "-"},    {"-p", "odd.bin", "tile.bin", "soft.bin"},
    };
    for (const auto& arguments : cases) {
        const std::string& output = arguments.back();
        SCOPED_TRACE(arguments.front() + " to " + output);
        const ProcessResult result = run(arguments, how);
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(result.err, SAME_FILE);
        EXPECT_EQ(read_file(work() / "tile.bin"), ZERO_TILE);
        EXPECT_TRUE(fs::exists(work() / output) || output.starts_with("/dev/") || output == "-");
    }
    close(opened);
}

TEST_F(CommandLine, NeverDeletesADeviceItWroteTo) {
    if (!make_device(work() / "null", 3) || !make_device(work() / "full", 7)) {
        GTEST_SKIP() << "cannot create device nodes here";
    }
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string err;
        std::string standard_output = "";  // the device standard output goes to, for stdout
    } cases[] = {
        {{"tile.bin", "null"}, 0, ""},
        {{"odd.bin", "null"}, 1, "Error: input file size isn't a multiple of 32 bytes\n"},
        {{"tile.bin", "full"}, 1, CANT_WRITE},
        {{"-d", "tile.bin", "full"}, 1, "Error: input file isn't valid VENK\n"},
        {{"tile.bin", "stdout"}, 0, "", "null"},
        {{"-d", "tile.venk", "stdout"}, 1, CANT_WRITE, "full"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.back() + " from " + c.arguments[c.arguments.size() - 2]);
        Launch how;
        const std::string device = c.standard_output.empty() ? c.arguments.back() : c.standard_output;
        if (!c.standard_output.empty()) {
            how.standard_output = work() / device;
        }
        const ProcessResult result = run(c.arguments, how);
        EXPECT_EQ(result.exit_status, c.status);
        EXPECT_EQ(result.err, c.err);
        EXPECT_TRUE(fs::is_character_file(work() / device));
        EXPECT_TRUE(fs::is_symlink(work() / "stdout"));
        EXPECT_EQ(read_file(work() / "tile.bin"), ZERO_TILE);
    }
}

// Everything that can still be read from `descriptor`, which it then closes.
std::string read_to_end(int descriptor) {
    std::string received;
    char buffer[4096];
    for (ssize_t got; (got = read(descriptor, buffer, sizeof buffer)) > 0;) {
        received.append(buffer, static_cast<std::size_t>(got));
    }
    close(descriptor);
    return received;
}

// A terminal in raw mode, which passes every byte as it is: the end the tool
// writes to, and the end this process reads. False where none can be had.
bool open_terminal(int& reader, int& writer) {
    reader = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    if (reader < 0 || grantpt(reader) != 0 || unlockpt(reader) != 0 ||
        (writer = open(ptsname(reader), O_RDWR | O_NOCTTY | O_CLOEXEC)) < 0 || tcgetattr(writer, &raw) != 0) {
        return false;
    }
    cfmakeraw(&raw);
    return tcsetattr(writer, TCSANOW, &raw) == 0;
}

// Whatever name leads to a FIFO, a pipe or a terminal, the tool writes to it as
// it is and never deletes it; /dev/fd/N is also how the shell names a process
// substitution, >(command). Through "-", standard output receives the whole
// output or, after a failure, nothing.
TEST_F(CommandLine, PipesFifosAndTerminalsThroughAnyName) {
    enum class Reader { FIFO, PIPE, TERMINAL };
    const std::string STATS = "tile.venk -> -: 1 tiles, dictionary 8 bytes, stream 20 bytes, blob 32 bytes\n";
    const std::string PACK_STATS = "tile.bin + two-offsets.bin -> -: 3 tiles, 3 distinct blocks, dictionary 24 of "
                                   "65535 bytes (0.0%), stream 52 bytes (54.2% of 96)\n"
                                   "  tile.bin: first tile 0, 1 tiles\n  two-offsets.bin: first tile 1, 2 tiles\n";
    const struct {
        std::vector<std::string> arguments;
        Reader reader;
        int descriptor;  // the tool's number for the pipe or terminal
        std::string received;
        std::string err = "";  // a failure if it starts with "Error: "
        std::string standard_input = "";
        unsigned long memory_limit = 0;  // bytes the tool may map; 0 for no limit
    } cases[] = {
        {{"tile.bin", "pipe"}, Reader::FIFO, -1, ZERO_TILE_STREAM},
        {{"odd.bin", "pipe"}, Reader::FIFO, -1, "", "Error: input file size isn't a multiple of 32 bytes\n"},
        {{"tile.bin", "stdout"}, Reader::PIPE, 1, ZERO_TILE_STREAM},
        {{"-d", "tile.venk", "stdout"}, Reader::PIPE, 1, ZERO_TILE},
        {{"big.bin", "/dev/fd/3"}, Reader::PIPE, 3, BIG_STREAM},  // more than a pipe holds
        {{"-d", "big.venk", "/dev/fd/3"}, Reader::PIPE, 3, std::string(BIG_BLOB.begin(), BIG_BLOB.end())},
        {{"-15", "big.bin", "/dev/fd/3"}, Reader::PIPE, 3, "", TOO_BIG},
        {{"-a", "tile.bin", "stdout"}, Reader::PIPE, 1, "",
         "Error: C source output \"stdout\" must be a regular file, for its header to go beside it\n"},
        {{"tile.bin", "stdout"}, Reader::TERMINAL, 1, ZERO_TILE_STREAM},
        {{"-d", "tile.venk", "/dev/fd/3"}, Reader::TERMINAL, 3, ZERO_TILE},
        {{"-", "-"}, Reader::PIPE, 1, ZERO_TILE_STREAM, "", "tile.bin"},
        {{"-d", "-", "--", "-"}, Reader::PIPE, 1, ZERO_TILE, "", "tile.venk"},
        {{"-d", "big.venk", "-"}, Reader::PIPE, 1, std::string(BIG_BLOB.begin(), BIG_BLOB.end())},
        {{"-15", "big.bin", "-"}, Reader::PIPE, 1, "", TOO_BIG},
        {{"-d", "-", "-"}, Reader::PIPE, 1, "", NOT_VENK, "junk.venk"},  // two good tiles, then junk
        {{"-s", "-d", "tile.venk", "-"}, Reader::PIPE, 1, ZERO_TILE, STATS},
        {{"-s", "-p", "tile.bin", "two-offsets.bin", "-"}, Reader::PIPE, 1, pack_stream(LEVEL_DEFAULT), PACK_STATS},
        {{"-d", "-", "-"}, Reader::TERMINAL, 1, ZERO_TILE, "", "tile.venk"},
        // More entries than the header can count: each gives a tile.
        {{"-d", "65536-entries.venk", "-"}, Reader::PIPE, 1, std::string(65536 * 32, '\0')},
        // A blob of 32 MiB, held back in a temporary file, not in memory.
        {{"-d", "million-entries.venk", "-"}, Reader::PIPE, 1, std::string(32 << 20, '\0'), "", "", 24 << 20},
    };
    write_file(work() / "big.venk", BIG_STREAM);
    write_file(work() / "junk.venk", ZERO_TILE_STREAM + std::string(13, '\0'));
    write_file(work() / "65536-entries.venk", ZERO_TILE_STREAM.substr(0, 12) + std::string(65536 * 8, '\0'));
    write_file(work() / "million-entries.venk", ZERO_TILE_STREAM.substr(0, 12) + std::string(1 << 23, '\0'));
#if defined(__SANITIZE_ADDRESS__)
    const bool memory_can_be_limited = false;  // the sanitizer maps terabytes
#else
    const bool memory_can_be_limited = std::string(VENK_TOOL_WRAPPER).empty();
#endif
    const fs::path fifo = work() / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments[c.arguments.size() - 2] + " to " + c.arguments.back());
        if (c.memory_limit != 0 && !memory_can_be_limited) {
            continue;
        }
        int reader = -1;
        int writer = -1;
        if (c.reader == Reader::FIFO) {
            // A reader that does not wait: the tool can open the FIFO at once
            // and its few bytes fit in the pipe, and if it never opens it, the
            // test fails here at once rather than wait for a writer.
            reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
        } else if (c.reader == Reader::PIPE) {
            int ends[2];
            ASSERT_EQ(pipe2(ends, O_CLOEXEC), 0);
            reader = ends[0];
            writer = ends[1];
        } else if (!open_terminal(reader, writer)) {
            close(reader);
            close(writer);
            continue;  // no terminal to be had here
        }
        ASSERT_GE(reader, 0);
        Launch how;
        if (writer >= 0) {
            how.descriptors = {{c.descriptor, writer}};
        }
        if (!c.standard_input.empty()) how.standard_input = work() / c.standard_input;
        if (c.memory_limit != 0) how.memory_limit = c.memory_limit;
        const int process = start(c.arguments, how);
        if (writer >= 0) {
            close(writer);
        }
        // A pipe is read while the tool writes; a terminal ends in an error
        // once the tool is gone, with every byte read first.
        std::string received = c.reader == Reader::FIFO ? "" : read_to_end(reader);
        const ProcessResult result = finish_process(process, root_.path());
        if (c.reader == Reader::FIFO) {
            received = read_to_end(reader);
        }
        EXPECT_TRUE(received == c.received) << "received " << received.size() << " bytes";
        EXPECT_EQ(result.exit_status, c.err.starts_with("Error: ") ? 1 : 0);
        EXPECT_EQ(result.err, c.err);
        EXPECT_TRUE(fs::is_fifo(fifo));
        EXPECT_TRUE(fs::is_symlink(work() / "stdout"));
        EXPECT_FALSE(fs::exists(work() / "stdout.h"));
        EXPECT_EQ(read_file(work() / "tile.bin"), ZERO_TILE);
    }
}

// An output in a directory the tool may not write to: it can neither create a
// file there nor truncate the read-only file it holds, and leaves both the
// directory and its input as they were. Root ignores permissions, so as root
// the tool runs as the unprivileged user "nobody".
TEST_F(CommandLine, ReadOnlyDirectoryForTheOutput) {
    const fs::perms read_only = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const fs::perms traversable = read_only | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    write_file(work() / "tile.venk", ZERO_TILE_STREAM);
    fs::create_directory(work() / "locked");
    write_file(work() / "locked" / "kept.venk", "earlier contents");
    fs::permissions(work() / "locked" / "kept.venk", read_only);
    fs::permissions(work() / "locked", traversable);
    std::optional<unsigned> user;
    if (!find_unprivileged_user(user)) {
        GTEST_SKIP() << "running as root, and the tool cannot be started as nobody, so directory permissions "
                        "cannot be tested";
    }
    const std::vector<std::string> cases[] = {
        {"tile.bin", "locked/new.venk"},
        {"tile.bin", "locked/kept.venk"},
        {"-d", "tile.venk", "locked/new.venk"},
        {"-m", "tile.bin", "locked/new.venk"},
        {"-a", "tile.bin", "locked/kept.venk"},
    };
    for (const auto& arguments : cases) {
        SCOPED_TRACE(arguments.front() + " to " + arguments.back());
        const ProcessResult result = run(arguments, user);
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(result.err, "Error: can't open output file \"" + arguments.back() + "\"\n");
        EXPECT_FALSE(fs::exists(work() / "locked" / "new.venk"));
        EXPECT_EQ(read_file(work() / "locked" / "kept.venk"), "earlier contents");
        EXPECT_EQ(read_file(work() / "tile.bin"), ZERO_TILE);
        EXPECT_EQ(read_file(work() / "tile.venk"), ZERO_TILE_STREAM);
    }
}

ProcessResult CommandLine::run_killed(std::vector<std::string> arguments, int signal, Launch how,
                                      const std::string& fed, std::optional<std::size_t> held) {
    how.ignored_signal = signal < 0 ? -signal : 0;
    const fs::path in_place = work() / arguments.back();
    const int process = start(std::move(arguments), how);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    const auto wait_for = [&](const auto& done) {
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    };
    // Opening the FIFO without blocking succeeds once the tool reads it.
    int fifo = -1;
    wait_for([&] { return (fifo = open((work() / "slow.bin").c_str(), O_WRONLY | O_NONBLOCK)) >= 0; });
    // A whole stream for -d, part of a tile for -c: either way it waits for more.
    EXPECT_EQ(write(fifo, fed.data(), fed.size()), static_cast<ssize_t>(fed.size()));
    const auto started = [&] {
        std::error_code error;
        return held ? fs::file_size(in_place, error) == *held : !temporary_files().empty();
    };
    wait_for(started);
    EXPECT_TRUE(started()) << "the run never started its output";
    kill(process, std::abs(signal));
    if (signal < 0) {
        close(std::exchange(fifo, -1));
    }
    const ProcessResult result = finish_process(process, root_.path());
    if (fifo >= 0) {
        close(fifo);
    }
    return result;
}

// No name is left holding a partial output, whatever leads to the output and
// however the run ends, and the tool says what it could not clean up.
TEST_F(CommandLine, OutputsAreWholeOrAbsent) {
    // Longer than a stream that replaces it, so that a tail left over shows.
    const std::string EARLIER = "earlier contents, longer than the new stream";
    const std::string SIZE = "Error: input file size isn't a multiple of 32 bytes\n";
    const std::string CANT_PRINT = "Error: can't write to standard output\n";
    const std::string CANT_DELETE_LOCKED = "Error: can't delete output file \"locked/open.venk\"\n";
    enum class Condition {
        USUAL,
        LOCKED,  // run by a user who may write to locked/open.venk, but not to locked/
        FULL_STANDARD_OUTPUT,
        CLOSED_STANDARD_OUTPUT,  // a pipe whose reader has gone
        FILE_SIZE_LIMIT,         // 1000 bytes, which many.bin and many.venk exceed only at the last flush
        OLD_H_AS_STANDARD_OUTPUT,  // old.h open for writing as standard output, as ">>old.h" gives it
        OPENED_AS_3,             // opened.venk open for writing as descriptor 3, which fd3 leads to by /proc
        DELETED_AS_3,            // the same, but opened.venk deleted before the run
        FULL_HEADER,             // new.h leads to a full device
    };
    using Files = std::vector<std::pair<std::string, std::optional<std::string>>>;  // nullopt: absent
    // What source output writes for tile.bin where it can make a temporary file.
    fs::create_directory(work() / "written");
    const auto written = [&](const std::string& form, const std::string& file) {
        run({form, "tile.bin", "written/" + file});
        return read_file(work() / "written" / file);
    };
    const std::string C = written("-a", "pair.c"), HEADER = read_file(work() / "written" / "pair.h");
    const std::string GAS = written("-g", "open.venk");
    const struct {
        std::vector<std::string> arguments;
        int status;  // the exit status, or the signal that ended the run
        std::string err;
        Files after;
        int signal = 0;  // sent once the temporary output exists (negative: sent while ignored)
        Condition condition = Condition::USUAL;
    } cases[] = {
        {{"-d", "two_tiles_then_junk.venk", "link"}, 1, NOT_VENK, {{"link", {}}, {"real/t", EARLIER}}},
        {{"tile.bin", "link"}, 0, "", {{"link", ZERO_TILE_STREAM}, {"real/t", ZERO_TILE_STREAM}}},
        {{"odd.bin", "old.venk"}, 1, SIZE, {{"old.venk", {}}, {"hard.venk", EARLIER}}},
        {{"tile.bin", "old.venk"}, 0, "", {{"old.venk", ZERO_TILE_STREAM}, {"hard.venk", EARLIER}}},
        {{"slow.bin", "old.venk"}, SIGINT, "", {{"old.venk", EARLIER}}, SIGINT},
        {{"slow.bin", "new.venk"}, SIGTERM, "", {{"new.venk", {}}}, SIGTERM},
        {{"-d", "slow.bin", "new.venk"}, SIGHUP, "", {{"new.venk", {}}}, SIGHUP},
        {{"-d", "slow.bin", "new.venk"}, 0, "", {{"new.venk", ZERO_TILE}}, -SIGHUP},
        {{"many.bin", "new.venk"}, 1, CANT_WRITE, {{"new.venk", {}}}, 0, Condition::FILE_SIZE_LIMIT},
        {{"many.bin", "link"}, 1, CANT_WRITE, {{"link", {}}, {"real/t", EARLIER}}, 0, Condition::FILE_SIZE_LIMIT},
        {{"-d", "many.venk", "link"}, 1, CANT_WRITE, {{"link", {}}, {"real/t", EARLIER}}, 0,
         Condition::FILE_SIZE_LIMIT},
        {{"tile.bin", "locked/open.venk"}, 0, "", {{"locked/open.venk", ZERO_TILE_STREAM}}, 0, Condition::LOCKED},
        {{"odd.bin", "locked/open.venk"}, 1, SIZE + CANT_DELETE_LOCKED, {{"locked/open.venk", ""}}, 0,
         Condition::LOCKED},
        {{"-d", "two_tiles_then_junk.venk", "locked/open.venk"}, 1, NOT_VENK + CANT_DELETE_LOCKED,
         {{"locked/open.venk", ""}}, 0, Condition::LOCKED},
        {{"tile.bin", "locked-link"}, 0, "", {{"locked/open.venk", ZERO_TILE_STREAM}}, 0, Condition::LOCKED},
        {{"odd.bin", "locked-link"}, 1, SIZE + CANT_DELETE_LOCKED, {{"locked-link", ""}, {"locked/open.venk", ""}}, 0,
         Condition::LOCKED},
        {{"sub", "old.venk"}, 1, "Error: can't read from input file\n", {{"old.venk", EARLIER}}},
        {{"-v"}, 1, CANT_PRINT, {}, 0, Condition::FULL_STANDARD_OUTPUT},
        {{"-h"}, 1, CANT_PRINT, {}, 0, Condition::FULL_STANDARD_OUTPUT},
        {{"-s", "tile.bin", "new.venk"}, 1, CANT_PRINT, {{"new.venk", {}}}, 0, Condition::FULL_STANDARD_OUTPUT},
        {{"-s", "tile.bin", "new.venk"}, 1, CANT_PRINT, {{"new.venk", {}}}, 0, Condition::CLOSED_STANDARD_OUTPUT},
        {{"-d", "tile.venk", "stdout"}, 1, CANT_WRITE, {}, 0, Condition::CLOSED_STANDARD_OUTPUT},
        {{"-v"}, 1, CANT_PRINT, {}, 0, Condition::CLOSED_STANDARD_OUTPUT},
        {{"tile.bin", "-"}, 1, CANT_WRITE, {}, 0, Condition::FULL_STANDARD_OUTPUT},
        {{"-d", "tile.venk", "-"}, 1, CANT_WRITE, {}, 0, Condition::CLOSED_STANDARD_OUTPUT},
        {{"tile.bin", "fd3"}, 0, "", {{"opened.venk", ZERO_TILE_STREAM}}, 0, Condition::OPENED_AS_3},
        {{"odd.bin", "fd3"}, 1, SIZE, {{"opened.venk", EARLIER}}, 0, Condition::OPENED_AS_3},
        {{"tile.bin", "fd3"}, 1, "Error: can't open output file \"fd3\"\n", {{"opened.venk (deleted)", {}}}, 0,
         Condition::DELETED_AS_3},
        // A C output and its header: both new, or neither.
        {{"-a", "odd.bin", "old.venk"}, 1, SIZE, {{"old.venk", {}}, {"old.h", {}}, {"hard.venk", EARLIER}}},
        {{"-a", "slow.bin", "old.venk"}, SIGTERM, "", {{"old.venk", EARLIER}, {"old.h", EARLIER}}, SIGTERM},
        {{"-s", "-a", "tile.bin", "new.venk"}, 1, CANT_PRINT, {{"new.venk", {}}, {"new.h", {}}}, 0,
         Condition::FULL_STANDARD_OUTPUT},
        {{"-a", "tile.bin", "hard.venk"}, 1, "Error: can't open output file \"hard.h\"\n",
         {{"hard.venk", EARLIER}, {"hard.h/.keep", ""}}},
        {{"-a", "tile.bin", "locked/open.venk"}, 1, "Error: can't open output file \"locked/open.h\"\n",
         {{"locked/open.venk", EARLIER}}, 0, Condition::LOCKED},
        {{"-a", "tile.bin", "c-link.c"}, 1, "Error: header and output are the same file\n", {{"c-link.c", EARLIER}}},
        {{"-p", "-i", "old.h", "-n", "spr", "tile.bin", "many.bin", "-"}, 1,
         "Error: index file and output are the same file\n", {{"old.h", EARLIER}}, 0,
         Condition::OLD_H_AS_STANDARD_OUTPUT},
        {{"-i", "link", "tile.bin", "real/t"}, 1, "Error: index file and output are the same file\n",
         {{"real/t", EARLIER}}},
        {{"-a", "tile.bin", "new.venk"}, 1, CANT_WRITE, {{"new.venk", {}}}, 0, Condition::FULL_HEADER},
        // Written in place: whole, or after a failure or a signal empty.
        {{"-a", "tile.bin", "locked/pair.c"}, 0, "", {{"locked/pair.c", C}, {"locked/pair.h", HEADER}}, 0,
         Condition::LOCKED},
        {{"-g", "tile.bin", "locked/open.venk"}, 0, "", {{"locked/open.venk", GAS}}, 0, Condition::LOCKED},
        {{"-m", "odd.bin", "locked/open.venk"}, 1, SIZE + CANT_DELETE_LOCKED, {{"locked/open.venk", ""}}, 0,
         Condition::LOCKED},
        {{"-d", "slow.bin", "locked/open.venk"}, SIGTERM, "", {{"locked/open.venk", ""}}, SIGTERM, Condition::LOCKED},
        {{"slow.bin", "locked/open.venk"}, SIGINT, "", {{"locked/open.venk", ""}}, SIGINT, Condition::LOCKED},
    };
    std::string many_tiles;
    for (int i = 0; i < 32 * 100; ++i) many_tiles += static_cast<char>(i * 7 % 251);
    write_file(work() / "many.bin", many_tiles);
    Bytes many_stream;
    compress_memory(Bytes(many_tiles.begin(), many_tiles.end()), FORMAT_VENK16, many_stream);
    write_file(work() / "many.venk", std::string(many_stream.begin(), many_stream.end()));
    write_file(work() / "two_tiles_then_junk.venk", ZERO_TILE_STREAM + std::string(13, '\0'));
    ASSERT_EQ(mkfifo((work() / "slow.bin").c_str(), 0666), 0);
    fs::permissions(work() / "slow.bin", fs::perms(0666));  // whatever the mask, for a locked run
    fs::create_directories(work() / "sub");
    fs::create_directories(work() / "hard.h");  // a header that cannot be written
    write_file(work() / "hard.h" / ".keep", "");
    fs::create_directories(work() / "real");
    fs::create_directories(work() / "locked");
    for (const char* file : {"open.venk", "pair.c", "pair.h"}) {
        write_file(work() / "locked" / file, "");
        fs::permissions(work() / "locked" / file, fs::perms::all);
    }
    fs::permissions(work() / "locked", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                           fs::perms::others_exec);
    fs::create_symlink("/proc/self/fd/3", work() / "fd3");  // as /dev/fd/3, but private to the test
    write_file(work() / "c-link.c", EARLIER);
    fs::create_symlink("c-link.c", work() / "c-link.h");
    const bool device_made = make_device(work() / "full", 7);
    std::optional<unsigned> user;
    const bool user_found = find_unprivileged_user(user);
    for (const auto& c : cases) {
        std::string joined;
        for (const std::string& argument : c.arguments) joined += " " + argument;
        SCOPED_TRACE("venk" + joined);
        if ((c.condition == Condition::LOCKED && !user_found) ||
            ((c.condition == Condition::FULL_STANDARD_OUTPUT || c.condition == Condition::FULL_HEADER) &&
             !device_made)) {
            continue;
        }
        // old.venk, with unusual permission bits, also named hard.venk; link
        // leads to real/t; locked/open.venk may be written but not deleted,
        // and locked-link leads to it.
        write_file(work() / "old.venk", EARLIER);
        fs::permissions(work() / "old.venk", fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
        fs::remove(work() / "hard.venk");
        fs::create_hard_link(work() / "old.venk", work() / "hard.venk");
        write_file(work() / "real" / "t", EARLIER);
        fs::remove(work() / "link");
        fs::create_symlink("real/t", work() / "link");
        write_file(work() / "locked" / "open.venk", EARLIER);
        write_file(work() / "locked" / "pair.c", EARLIER);
        write_file(work() / "locked" / "pair.h", EARLIER);
        write_file(work() / "old.h", EARLIER);
        fs::remove(work() / "locked-link");
        fs::create_symlink("locked/open.venk", work() / "locked-link");
        write_file(work() / "opened.venk", EARLIER);

        Launch how;
        int given = -1;  // this process's end of the output, which the tool gets
        if (c.condition == Condition::LOCKED) how.user = user;
        if (c.condition == Condition::FULL_STANDARD_OUTPUT) how.standard_output = work() / "full";
        if (c.condition == Condition::FILE_SIZE_LIMIT) how.file_size_limit = 1000;
        if (c.condition == Condition::FULL_HEADER) fs::create_symlink("full", work() / "new.h");
        if (c.condition == Condition::CLOSED_STANDARD_OUTPUT) {
            int ends[2];
            ASSERT_EQ(pipe2(ends, O_CLOEXEC), 0);
            close(ends[0]);
            given = ends[1];
            how.descriptors = {{1, given}};
        }
        if (c.condition == Condition::OLD_H_AS_STANDARD_OUTPUT) {
            given = open((work() / "old.h").c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
            how.descriptors = {{1, given}};
        }
        if (c.condition == Condition::OPENED_AS_3 || c.condition == Condition::DELETED_AS_3) {
            given = open((work() / "opened.venk").c_str(), O_WRONLY | O_CLOEXEC);
            how.descriptors = {{3, given}};
        }
        if (c.condition == Condition::DELETED_AS_3) {
            fs::remove(work() / "opened.venk");
        }
        // In place, -d has written its first batch of 4096 tiles when the signal comes.
        const bool in_place = c.condition == Condition::LOCKED;
        const std::string fed = in_place ? ZERO_TILE_STREAM + std::string(4096 * 8, '\0') : ZERO_TILE_STREAM;
        const ProcessResult result =
            c.signal != 0 ? run_killed(c.arguments, c.signal, how, fed,
                                       in_place ? std::optional<std::size_t>(c.arguments[0] == "-d" ? 4096 * 32 : 0)
                                                : std::nullopt)
                          : run(c.arguments, how);
        if (given >= 0) {
            close(given);
        }
        EXPECT_EQ(c.signal > 0 ? result.signal : result.exit_status, c.status);
        EXPECT_EQ(result.err, c.err);
        for (const auto& [name, contents] : c.after) {
            EXPECT_EQ(fs::exists(fs::symlink_status(work() / name)), contents.has_value()) << name;
            if (contents) {
                EXPECT_EQ(read_file(work() / name), *contents) << name;
            }
        }
        EXPECT_EQ(temporary_files(), std::vector<std::string>{});
        EXPECT_TRUE(fs::is_symlink(work() / "fd3") && fs::is_symlink(work() / "stdout"))
            << "a name that leads through the system's name of a descriptor is never deleted";
        if (fs::exists(work() / "old.venk")) {
            EXPECT_EQ(fs::status(work() / "old.venk").permissions(), fs::perms(0604));
        }
        fs::remove(work() / "new.venk");
        fs::remove(work() / "new.h");
    }
}

// What source output writes, by lines that each file must hold; a failed run
// leaves neither file.
TEST_F(CommandLine, SourceOutputs) {
    const std::string STATS = "tile.bin -> new.c: 1 tiles, 1 distinct blocks, dictionary 8 of 65535 bytes (0.0%), "
                              "stream 20 bytes (62.5% of 32)\n";
    const struct {
        std::vector<std::string> arguments;
        std::string err;
        std::vector<std::pair<std::string, std::string>> lines;  // a file and one of its lines
        std::string out = "";
    } cases[] = {
        {{"-a", "tile.bin", "gfx/new.c"}, "",
         {{"gfx/new.c", "#include \"new.h\""}, {"gfx/new.c", "const unsigned char venk_new[20] = {"},
          {"gfx/new.h", "#define VENK_NEW_TILES 1"}}},
        {{"-s", "tile.bin", "-a", "new.c"}, "", {{"new.h", "#define VENK_NEW_SIZE 20"}}, STATS},
        {{"-g", "-n", "Hero", "tile.bin", "new.s"}, "", {{"new.s", "Hero:"}, {"new.s", "\t.set\tHERO_SIZE, 20"}}},
        {{"--mri", "-d", "tile.venk", "new.asm"}, "",
         {{"new.asm", "venk_new:"}, {"new.asm", "VENK_NEW_SIZE\tequ\t32"}}},
        {{"-a", "same.h", "same.c"}, SAME_FILE, {}},
        {{"-d", "-a", "no_tiles.venk", "new.c"}, "Error: input file needs to have at least one tile\n", {}},
        // A pack's index, as constants of every form and in an index file.
        {{"-p", "tile.bin", "two-offsets.bin", "-a", "gfx/pack.c"}, "",
         {{"gfx/pack.h", "#define PACK_TILE_FIRST 0"}, {"gfx/pack.h", "#define PACK_TILE_TILES 1"},
          {"gfx/pack.h", "#define PACK_TWO_OFFSETS_FIRST 1"}, {"gfx/pack.h", "#define PACK_TWO_OFFSETS_TILES 2"}}},
        {{"-p", "-g", "tile.bin", "two-offsets.bin", "pack.s"}, "", {{"pack.s", "\t.set\tPACK_TWO_OFFSETS_FIRST, 1"}}},
        {{"-p", "--mri", "do.bin", "two-offsets.bin", "pack.asm"}, "", {{"pack.asm", "PACK_DO_TILES\tequ\t1"}}},
        {{"-p", "-i", "pack.h", "tile.bin", "two-offsets.bin", "pack.venk"}, "",
         {{"pack.h", "#ifndef PACK_H_FROM_VENK"}, {"pack.h", "#define PACK_SIZE 52"},
          {"pack.h", "#define PACK_TWO_OFFSETS_TILES 2"}}},
        {{"-i", "new.inc", "tile.bin", "new.venk"}, "", {{"new.inc", "\t.set\tVENK_NEW_SIZE, 20"}}},
        {{"-d", "-m", "--index=idx.i", "--name=Hero", "tile.venk", "new.s"}, "",
         {{"new.s", "Hero:"}, {"idx.i", "HERO_SIZE\tequ\t32"}, {"idx.i", "HERO_TILES\tequ\t1"}}},
        {{"-g", "-i", "idx.H", "tile.bin", "new.s"}, "",
         {{"new.s", "venk_new:"}, {"idx.H", "extern const unsigned char venk_new[VENK_NEW_SIZE];"}}},
        {{"-a", "-i", "idx.inc", "tile.bin", "new.c"}, "",
         {{"new.c", "const unsigned char venk_new[20] = {"}, {"idx.inc", "\t.set\tVENK_NEW_TILES, 1"}}},
        {{"-g", "-n", "Hero", "tile.bin", "-"}, "", {{"", "Hero:"}, {"", "\t.set\tHERO_SIZE, 20"}}},
        {{"-p", "-i", "new.h", "tile.bin", "odd.bin", "new.c"},
         "Error: input file size isn't a multiple of 32 bytes: \"odd.bin\"\n", {}},
    };
    fs::create_directory(work() / "gfx");
    write_file(work() / "same.h", ZERO_TILE);
    write_file(work() / "do.bin", ZERO_TILE);  // a keyword: no symbol, but a name in an index
    write_file(work() / "no_tiles.venk", std::string("\0\0\0\x08", 4) + std::string(8, '\0'));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.front() + " " + c.arguments.back());
        const ProcessResult result = run(c.arguments);
        EXPECT_EQ(result.exit_status, c.err.empty() ? 0 : 1);
        EXPECT_EQ(result.err, c.err);
        const bool to_standard_output = c.arguments.back() == "-";
        if (!to_standard_output) {
            EXPECT_EQ(result.out, c.out);
        }
        for (const auto& [name, line] : c.lines) {
            const std::string text = name.empty() ? result.out : read_file(work() / name);
            EXPECT_NE(("\n" + text).find("\n" + line + "\n"), std::string::npos) << name;
        }
        if (!c.err.empty()) {
            EXPECT_FALSE(fs::exists(work() / c.arguments.back()));
            EXPECT_FALSE(fs::exists(work() / "new.h"));
        }
        EXPECT_EQ(temporary_files(), std::vector<std::string>{});
        EXPECT_EQ(read_file(work() / "same.h"), ZERO_TILE);
        fs::remove(work() / "new.c");
        fs::remove(work() / "new.h");
    }
}

// Another process flips the output name between missing and a link to the
// input while the tool runs: it may write the output or refuse, but it
// never touches the input.
TEST_F(CommandLine, InputSurvivesAnOutputNameFlippedToIt) {
    std::atomic<bool> done = false;
    std::thread flipper([&] {
        const fs::path output = work() / "out";
        for (int round = 0; round < 10'000'000 && !done; ++round) {
            symlink("tile.bin", output.c_str());
            unlink(output.c_str());
        }
    });
    for (int round = 0; round < 10; ++round) {
        const ProcessResult result = run({"tile.bin", "out"});
        EXPECT_TRUE(result.err.empty() || result.err == SAME_FILE) << result.err;
        EXPECT_EQ(read_file(work() / "tile.bin"), ZERO_TILE) << "after round " << round;
        if (HasFailure()) {
            break;
        }
    }
    done = true;
    flipper.join();
}

#ifdef VENK_CLI_IMAGES
#if defined(__SANITIZE_ADDRESS__)
constexpr bool RUNNING_UNDER_ADDRESS_SANITIZER = true;  // which maps terabytes
#else
constexpr bool RUNNING_UNDER_ADDRESS_SANITIZER = false;
#endif

// An indexed (or with `type` another kind of) PNG of `width` x `height`
// pixels of `depth` bits, pixel(x, y) each, whose palette entry i is
// (i * 16, i * 4, 255 - i) in red, green and blue.
std::string png_of(unsigned width, unsigned height, unsigned depth, unsigned (*pixel)(unsigned x, unsigned y),
                   bool interlaced = false, LodePNGColorType type = LCT_PALETTE) {
    const unsigned samples = type == LCT_RGB ? 3 : 1;
    std::vector<unsigned char> raw(std::size_t{width} * height * samples);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        raw[i] = static_cast<unsigned char>(pixel(static_cast<unsigned>(i / samples % width),
                                                  static_cast<unsigned>(i / samples / width)));
    }
    LodePNGState state;
    lodepng_state_init(&state);
    state.encoder.auto_convert = 0;
    state.info_png.interlace_method = interlaced ? 1 : 0;
    state.info_raw.colortype = state.info_png.color.colortype = type;
    state.info_raw.bitdepth = 8;
    state.info_png.color.bitdepth = depth;
    for (unsigned i = 0; type == LCT_PALETTE && i < (1U << depth); ++i) {
        for (LodePNGColorMode* mode : {&state.info_raw, &state.info_png.color}) {
            lodepng_palette_add(mode, static_cast<unsigned char>(i * 16), static_cast<unsigned char>(i * 4),
                                static_cast<unsigned char>(255 - i), 255);
        }
    }
    unsigned char* png = nullptr;
    std::size_t size = 0;
    EXPECT_EQ(lodepng_encode(&png, &size, raw.data(), width, height, &state), 0U);
    lodepng_state_cleanup(&state);
    std::string bytes(reinterpret_cast<const char*>(png), size);
    std::free(png);
    return bytes;
}

// The tiles of `sheet` and of the PNG drawn from it: 16 tiles a row, with
// tile t in palette line line_of(t), as a paint program saves a tile sheet.
std::string sheet;
unsigned (*line_of)(std::size_t tile) = [](std::size_t) { return 0U; };
unsigned sheet_pixel(unsigned x, unsigned y) {
    const std::size_t tile = y / 8 * 16 + x / 8;
    const auto byte = static_cast<unsigned char>(sheet[tile * 32 + y % 8 * 4 + x % 8 / 2]);
    return (x % 2 == 0 ? byte >> 4 : byte & 0xF) + 16 * line_of(tile);
}

// Lines of `text` in order, each found in `within` after the one before.
bool lines_in_order(const std::string& text, const std::string& within) {
    std::istringstream lines(text);
    std::size_t at = 0;
    for (std::string line; std::getline(lines, line);) {
        at = ("\n" + within).find("\n" + line + "\n", at);
        if (at == std::string::npos) {
            return false;
        }
        at += line.size() + 1;
    }
    return true;
}

unsigned colour_at(const std::uint8_t* tile, unsigned x, unsigned y) {
    return x % 2 == 0 ? tile[y * 4 + x / 2] >> 4 : tile[y * 4 + x / 2] & 15U;
}

// Whether tile `a` is tile `b` turned as `turn` says (bit 0 mirrored left to
// right, bit 1 upside down).
bool is_turned(const std::uint8_t* a, const std::uint8_t* b, unsigned turn) {
    for (unsigned y = 0; y < 8; ++y) {
        for (unsigned x = 0; x < 8; ++x) {
            if (colour_at(a, x, y) != colour_at(b, turn & 1 ? 7 - x : x, turn & 2 ? 7 - y : y)) return false;
        }
    }
    return true;
}

// A background run: the decoded stream and the map give back every tile of
// the image and its line, and the stream holds as many tiles as a plain
// comparison of each tile with every earlier one finds distinct.
void check_tile_map(const fs::path& work, const std::vector<std::string>& arguments, const std::string& out) {
    const auto option = [&](const std::string& name) { return std::find(arguments.begin(), arguments.end(), name); };
    const std::string input =
        *std::find_if(arguments.begin(), arguments.end(), [](const std::string& a) { return a.ends_with(".png"); });
    const std::string png = read_file(work / input), stream = read_file(work / "out");
    const std::string words = read_file(work / "out.map");
    const bool flips = option("--no-flip") == arguments.end();
    const unsigned base = option("--base") == arguments.end() ? 0 : unsigned(std::stoul(*(option("--base") + 1)));
    TileImage image;
    Bytes stored;
    ASSERT_EQ(read_png(Bytes(png.begin(), png.end()), image), IMAGE_OK);
    ASSERT_EQ(decompress(Bytes(stream.begin(), stream.end()), stored), RESULT_OK);
    const std::size_t cells = image.tiles.size() / 32;
    ASSERT_EQ(words.size(), cells * 2);
    std::size_t distinct = 0, flipped = 0;
    for (std::size_t i = 0; i < cells; ++i) {
        const std::uint8_t* tile = &image.tiles[i * 32];
        bool seen = false;
        for (std::size_t j = 0; j < i && !seen; ++j) {
            for (unsigned turn = 0; turn < (flips ? 4U : 1U) && !seen; ++turn) seen = is_turned(tile, &image.tiles[j * 32], turn);
        }
        distinct += seen ? 0 : 1;
        const unsigned word = std::uint8_t(words[i * 2]) << 8 | std::uint8_t(words[i * 2 + 1]);
        const unsigned index = (word & 0x7FF) - base, turn = (word >> 11 & 1) | (word >> 11 & 2);
        ASSERT_LT(index, stored.size() / 32) << "cell " << i;
        EXPECT_TRUE(is_turned(tile, &stored[index * 32], turn)) << "cell " << i;
        EXPECT_EQ(word >> 13, image.tile_lines[i]) << "cell " << i;
        flipped += turn != 0 ? 1 : 0;
    }
    EXPECT_EQ(stored.size() / 32, distinct);
    if (option("-s") != arguments.end()) {
        EXPECT_NE(out.find("  out.map: " + std::to_string(cells) + " cells, " + std::to_string(distinct) +
                           " distinct tiles, " + std::to_string(flipped) + " with flips\n"),
                  std::string::npos) << out;
    }
}

// Images in, pictures and palettes out: the output of an image is that of
// the blob a correct converter makes of it (in source output, with the
// palette's lines besides), and an image venk cannot take is refused with
// one line that names it, and no output.
TEST_F(CommandLine, ImagesInPicturesOut) {
    const std::string sample = read_file(fs::path(VENK_SAMPLE_TILES));
    const struct {
        std::vector<std::string> arguments;
        std::string err;
        std::vector<std::string> blob_arguments = {};  // the same run on the blobs
        std::string output = "out";
    } cases[] = {
        {{"art4.png", "out"}, "", {"art.bin", "out"}},
        {{"-b", "art8.png", "out"}, "", {"-b", "art.bin", "out"}},
        {{"interlaced.png", "out"}, "", {"art.bin", "out"}},
        {{"-p", "tile.bin", "art8.png", "out"}, "", {"-p", "tile.bin", "art.bin", "out"}},
        {{"--sprite", "2x3", "cells.png", "out"}, "", {"cells.bin", "out"}},
        {{"-a", "art8.png", "out.c"}, "", {"-a", "art.bin", "out.c"}, "out.c"},
        {{"-g", "-p", "art8.png", "tile.bin", "out.s"}, "", {"-g", "-p", "art8.bin", "tile.bin", "out.s"}, "out.s"},
        {{"-m", "art4.png", "out.asm"}, "", {"-m", "art.bin", "out.asm"}, "out.asm"},
        {{"art4.png", "out", "--palette=out.pal"}, "", {}, "out.pal"},
        {{"-d", "art.venk", "out.png", "--columns", "24"}, "", {}, "out.png"},
        {{"-d", "art.venk", "out.png", "--colours", "art8.png"}, "", {}, "out.png"},
        {{"mixed.png", "out"}, "Error: \"mixed.png\": the tile at x 8, y 0 mixes palette lines 1 and 2\n"},
        {{"rgb.png", "out"},
         "Error: \"rgb.png\": the image has no palette (PNG colour type 2, 8 bits): save it as an indexed image\n"},
        {{"odd.png", "out"}, "Error: \"odd.png\": the image is 8 x 12 pixels, not a multiple of 8 x 8\n"},
        {{"--sprite", "3x1", "art4.png", "out"},
         "Error: \"art4.png\": the image is 128 x 280 pixels, not a multiple of 24 x 8\n"},
        {{"-p", "tile.bin", "cut.png", "out"},
         "Error: \"cut.png\": the image is not a valid PNG, or it is truncated\n"},
        {{"huge.png", "out"}, "Error: \"huge.png\": the image holds 56250000 tiles, more than a stream's 65535\n"},
        {{"-d", "art.venk", "out.png", "--colours", "odd.pal"},
         "Error: \"odd.pal\": a file of colours holds 1 to 64 big-endian colour words, or is a PNG\n"},
        {{"--columns", "3", "art4.png", "out"},
         "Error: option \"--columns\" needs a picture output: -d to a name ending in .png\n"},
        {{"-p", "art4.png", "art8.png", "--palette", "p", "out"},
         "Error: option \"--palette\" writes the palette of one image, and the pack has several\n"},
        // Backgrounds: the stream holds the distinct tiles, the map the cells.
        {{"art8.png", "out", "--map", "out.map"}, "", {}, "out.map"},
        {{"-s", "flips.png", "out", "--map=out.map"}, "", {}, "out.map"},
        {{"-s", "--no-flip", "--base", "2000", "flips.png", "out", "--map", "out.map"}, "", {}, "out.map"},
        {{"art8.png", "out", "--map", "m", "--base", "1900"},
         "Error: \"art8.png\": the image has 171 distinct tiles, and a tile map from tile 1900 indexes only 148\n"},
        {{"-p", "art8.png", "tile.bin", "out", "--map", "m"},
         "Error: option \"--map\" maps one image, not a pack: give the image alone\n"},
        {{"--sprite", "1x2", "art8.png", "out", "--map", "m"},
         "Error: option \"--map\" maps the tiles in reading order, so it can't be used with --sprite\n"},
        {{"art8.png", "out", "--map", "-"}, "Error: the map file can't be standard output\n"},
        {{"-g", "art8.png", "title_map.s", "--map", "title.s"},
         "Error: the tile map's array and the output's are both named \"title_map\": rename the map file, or give -n\n"},
    };
    sheet = sample.substr(0, 560 * 32);  // 35 rows of 16 tiles
    write_file(work() / "art.bin", sheet);
    write_file(work() / "art8.bin", sheet);  // with the image's name in an index
    Bytes stream;
    compress(Bytes(sheet.begin(), sheet.end()), stream);
    write_file(work() / "art.venk", std::string(stream.begin(), stream.end()));
    write_file(work() / "art4.png", png_of(128, 280, 4, sheet_pixel));
    write_file(work() / "interlaced.png", png_of(128, 280, 8, sheet_pixel, true));
    write_file(work() / "cut.png", read_file(work() / "art4.png").substr(0, 2000));
    line_of = [](std::size_t tile) { return unsigned(tile % 4); };
    write_file(work() / "art8.png", png_of(128, 280, 8, sheet_pixel));
    // Tile 1 of two: colours of line 1, but one pixel of line 2.
    write_file(work() / "mixed.png", png_of(16, 8, 8, [](unsigned x, unsigned y) { return x < 8 ? 1U : x == 12 && y == 5 ? 33U : 17U; }));
    write_file(work() / "rgb.png", png_of(8, 8, 8, [](unsigned, unsigned) { return 7U; }, false, LCT_RGB));
    write_file(work() / "odd.png", png_of(8, 12, 4, [](unsigned, unsigned) { return 3U; }));
    std::string huge = png_of(8, 8, 4, [](unsigned, unsigned) { return 3U; });
    huge.replace(16, 8, std::string("\0\0\xea\x60\0\0\xea\x60", 8));  // 60000 x 60000
    lodepng_chunk_generate_crc(reinterpret_cast<unsigned char*>(huge.data() + 8));
    write_file(work() / "huge.png", huge);
    write_file(work() / "odd.pal", "\x0e");
    // A sheet of 4 x 3 tiles cut into two sprites of 2 x 3, column by column.
    line_of = [](std::size_t) { return 0U; };
    const std::string twelve = sheet.substr(0, 12 * 32);
    std::string cells;
    for (const unsigned tile : {0U, 4U, 8U, 1U, 5U, 9U, 2U, 6U, 10U, 3U, 7U, 11U}) cells += twelve.substr(tile * 32, 32);
    write_file(work() / "cells.bin", cells);
    // 8 x 6 cells: cell n shows tile n % 7 of the sheet turned n / 7 % 4 ways
    // (bit 0 mirrored left to right, bit 1 upside down) in line n % 4.
    write_file(work() / "flips.png", png_of(64, 48, 8, [](unsigned x, unsigned y) {
                   const unsigned n = y / 8 * 8 + x / 8, turn = n / 7 % 4;
                   const unsigned colour = sheet_pixel(n % 7 * 8 + (turn & 1 ? 7 - x % 8 : x % 8), turn & 2 ? 7 - y % 8 : y % 8);
                   return colour + n % 4 * 16;
               }));
    sheet = twelve;  // 4 tiles a row: tile t of the sheet is at x t * 8 of its first row
    write_file(work() / "cells.png", png_of(32, 24, 4, [](unsigned x, unsigned y) {
                   return sheet_pixel((y / 8 * 4 + x / 8) * 8 + x % 8, y % 8);
               }));
    sheet = sample.substr(0, 560 * 32);
    for (const auto& c : cases) {
        std::string joined;
        for (const std::string& argument : c.arguments) joined += " " + argument;
        SCOPED_TRACE("venk" + joined);
        std::string expected;
        if (!c.blob_arguments.empty()) {
            ASSERT_EQ(run(c.blob_arguments).err, "");
            expected = read_file(work() / c.output);
            fs::remove(work() / c.output);
        }
        Launch how;
        if (std::string(VENK_TOOL_WRAPPER).empty() && !RUNNING_UNDER_ADDRESS_SANITIZER) how.memory_limit = 64 << 20;
        const ProcessResult result = run(c.arguments, how);
        EXPECT_EQ(result.exit_status, c.err.empty() ? 0 : 1);
        EXPECT_EQ(result.err, c.err);
        EXPECT_EQ(fs::exists(work() / c.output), c.err.empty());
        if (!c.err.empty() || !fs::exists(work() / c.output)) {
            fs::remove(work() / "out");
            continue;
        }
        const std::string written = read_file(work() / c.output);
        if (!c.blob_arguments.empty()) {
            EXPECT_TRUE(written == expected || (c.output != "out" && lines_in_order(expected, written)));
        } else if (c.output == "out.map") {
            check_tile_map(work(), c.arguments, result.out);
        } else if (c.output == "out.pal") {
            // Line 0 of the palette: entry i is (i * 16, i * 4, 255 - i), each channel's top three bits.
            std::string words;
            for (unsigned i = 0; i < 16; ++i) {
                const unsigned word = ((255 - i) >> 5) << 9 | ((i * 4) >> 5) << 5 | ((i * 16) >> 5) << 1;
                words += {static_cast<char>(word >> 8), static_cast<char>(word & 0xFF)};
            }
            EXPECT_EQ(written, words);
        } else {
            // The picture: the stream's tiles, the last row filled with colour 0.
            TileImage picture;
            ASSERT_EQ(read_png(Bytes(written.begin(), written.end()), picture), IMAGE_OK);
            const std::size_t columns = c.arguments.back() == "24" ? 24 : 16;
            EXPECT_EQ(picture.width, columns * 8);
            const std::string tiles(picture.tiles.begin(), picture.tiles.end());
            EXPECT_EQ(tiles, sheet + std::string((columns - 560 % columns) % columns * 32, '\0'));
        }
        fs::remove(work() / c.output);
        fs::remove(work() / "out");
    }
}
#endif

}  // namespace
}  // namespace venk::test
