// The tool run as a real process: exit status, exact output, and which files
// exist afterwards.
#include "support/process.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <fcntl.h>
#include <unistd.h>

#include <sstream>
#include <thread>

namespace venk::test {
namespace {

namespace fs = std::filesystem;

const std::string ZERO_TILE(32, '\0');
const std::string ZERO_TILE_STREAM = std::string("\x00\x01\x00\x08", 4) + std::string(16, '\0');

const std::string HELP =
    "Usage:\n"
    "  venk -c <infile> <outfile>\n"
    "  venk -d <infile> <outfile>\n"
    "\n"
    "Options:\n"
    "  -c or --compress ..... Compress a blob into VENK\n"
    "  -d or --decompress ... Decompress VENK into a blob\n"
    "  -16 or --venk16 ...... Use VENK16 format (8192 limit)\n"
    "  -15 or --venk15 ...... Use VENK15 format (4096 limit)\n"
    "  -b or --best ......... Compress to the smallest stream (slower)\n"
    "  -s or --stats ........ Print the sizes of the stream and its limit\n"
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

class CommandLine : public testing::Test {
protected:
    // The working directory holds tile.bin (one zero tile), tile.venk (its
    // stream), odd.bin (33 bytes) and old.venk (an output left by an earlier
    // run).
    void SetUp() override {
        fs::create_directory(work());
        write_file(work() / "tile.bin", ZERO_TILE);
        write_file(work() / "odd.bin", std::string(33, '\x01'));
        write_file(work() / "old.venk", "earlier contents");
        write_file(work() / "tile.venk", ZERO_TILE_STREAM);
    }

    ProcessResult run(std::vector<std::string> arguments, std::optional<unsigned> user = std::nullopt) {
        arguments.insert(arguments.begin(), "venk");
        return run_process(VENK_EXECUTABLE, arguments, work(), root_.path(), {tool_wrapper(), user});
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
         "Error: unknown option \"--comp\"\nError: unknown option \"-\"\n"},
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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.back());
        write_file(work() / "old.venk", "earlier contents");
        const ProcessResult result = run(c.arguments);
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
    for (const std::string output : {"tile.bin", "./tile.bin", "sub/../tile.bin", "hard.bin", "soft.bin"}) {
        SCOPED_TRACE(output);
        const ProcessResult result = run({"tile.bin", output});
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(result.err, SAME_FILE);
        EXPECT_EQ(read_file(work() / "tile.bin"), ZERO_TILE);
        EXPECT_TRUE(fs::exists(work() / output));
    }
}

// Creates a private character device in the working directory; false when
// this user may not.
bool make_device(const fs::path& path, unsigned minor) {
    return mknod(path.c_str(), S_IFCHR | 0666, makedev(1, minor)) == 0;
}

TEST_F(CommandLine, NeverDeletesADeviceItWroteTo) {
    if (!make_device(work() / "null", 3) || !make_device(work() / "full", 7)) {
        GTEST_SKIP() << "cannot create device nodes here";
    }
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string err;
    } cases[] = {
        {{"tile.bin", "null"}, 0, ""},
        {{"odd.bin", "null"}, 1, "Error: input file size isn't a multiple of 32 bytes\n"},
        {{"tile.bin", "full"}, 1, CANT_WRITE},
        {{"-d", "tile.bin", "full"}, 1, "Error: input file isn't valid VENK\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.back() + " from " + c.arguments[c.arguments.size() - 2]);
        const ProcessResult result = run(c.arguments);
        EXPECT_EQ(result.exit_status, c.status);
        EXPECT_EQ(result.err, c.err);
        EXPECT_TRUE(fs::is_character_file(work() / c.arguments.back()));
        EXPECT_EQ(read_file(work() / "tile.bin"), ZERO_TILE);
    }
}

TEST_F(CommandLine, NeverDeletesAFifoItWroteTo) {
    const fs::path fifo = work() / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string input : {"tile.bin", "odd.bin"}) {
        SCOPED_TRACE(input);
        std::string received;
        std::thread reader([&] { received = read_file(fifo); });
        const ProcessResult result = run({input, "pipe"});
        reader.join();
        EXPECT_EQ(result.exit_status, input == "tile.bin" ? 0 : 1);
        EXPECT_EQ(received, input == "tile.bin" ? ZERO_TILE_STREAM : "");
        EXPECT_TRUE(fs::is_fifo(fifo));
        EXPECT_EQ(read_file(work() / "tile.bin"), ZERO_TILE);
    }
}

// An output in a directory the tool may not write to: it can neither create a
// file there nor truncate the read-only file it holds, and leaves both the
// directory and its input as they were. Root ignores permissions, so as root
// the tool runs as the unprivileged user "nobody".
TEST_F(CommandLine, ReadOnlyDirectoryForTheOutput) {
    constexpr unsigned NOBODY = 65534;
    const fs::perms read_only = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const fs::perms traversable = read_only | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    write_file(work() / "tile.venk", ZERO_TILE_STREAM);
    fs::create_directory(work() / "locked");
    write_file(work() / "locked" / "kept.venk", "earlier contents");
    fs::permissions(work() / "locked" / "kept.venk", read_only);
    fs::permissions(work() / "locked", traversable);
    std::optional<unsigned> user;
    if (geteuid() == 0) {
        user = NOBODY;
        fs::permissions(root_.path(), traversable | fs::perms::owner_write);
        fs::permissions(work(), traversable | fs::perms::owner_write);
        if (run({"-v"}, user).out != "1.2\n") {
            GTEST_SKIP() << "running as root, and the tool cannot be started as user " << NOBODY
                         << ", so directory permissions cannot be tested";
        }
    }
    const std::vector<std::string> cases[] = {
        {"tile.bin", "locked/new.venk"},
        {"tile.bin", "locked/kept.venk"},
        {"-d", "tile.venk", "locked/new.venk"},
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

}  // namespace
}  // namespace venk::test
