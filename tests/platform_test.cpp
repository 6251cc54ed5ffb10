// The front end's file handling on the system the tests run on: UTF-8 names
// reach the file system unchanged, files keep every byte, the same-file and
// regular-file checks answer alike on Windows and POSIX systems, and an
// output replaces its old file only once it is whole.
#include "file_streams.hpp"
#include "output_file.hpp"
#include "platform.hpp"
#include "support/files.hpp"
#include "support/test_streams.hpp"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/socket.h>

#include <unistd.h>
#endif

#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace venk::test {
namespace {

namespace fs = std::filesystem;
using cli::path_from_utf8;

std::string utf8_of(const fs::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

// The names of everything in `directory`, in UTF-8.
std::vector<std::string> utf8_entries(const fs::path& directory) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory)) {
        names.push_back(utf8_of(entry.path().filename()));
    }
    return names;
}

TEST(FileNames, ReachTheFileSystemAsTheSameCharacters) {
    const std::string names[] = {
        "plain.bin",
        "with space.bin",
        "tuiles-\xC3\xA7" "a-\xE6\x97\xA5\xE6\x9C\xAC.bin",  // tuiles-ça-日本.bin
        "\xF0\x9F\x8E\xAE.bin",                               // U+1F3AE, a surrogate pair in UTF-16
    };
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        TemporaryDirectory directory;
        const std::optional<fs::path> path = path_from_utf8(name);
        ASSERT_TRUE(path.has_value());
        std::FILE* file = cli::open_binary_file(directory.path() / *path, "wb");
        ASSERT_NE(file, nullptr);
        std::fclose(file);
        EXPECT_EQ(utf8_entries(directory.path()), std::vector<std::string>{name});
    }
}

TEST(FileNames, InvalidUtf8IsRefusedOnlyWhereNamesAreDecoded) {
    const std::string name = "bad-\xFF.bin";
#ifdef _WIN32
    EXPECT_FALSE(path_from_utf8(name).has_value());
#else
    ASSERT_TRUE(path_from_utf8(name).has_value());
    EXPECT_EQ(path_from_utf8(name)->native(), name);
#endif
}

#ifdef _WIN32
TEST(FileNames, WideArgumentsBecomeUtf8AndBack) {
    const struct {
        const wchar_t* wide;
        std::string utf8;
    } cases[] = {
        {L"", ""},
        {L"-c", "-c"},
        {L"tuiles-\u00E7a-\u65E5\u672C.bin", "tuiles-\xC3\xA7" "a-\xE6\x97\xA5\xE6\x9C\xAC.bin"},
        {L"\U0001F3AE", "\xF0\x9F\x8E\xAE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(cli::utf8_from_wide(c.wide), c.utf8);
        ASSERT_TRUE(path_from_utf8(c.utf8).has_value());
        EXPECT_EQ(path_from_utf8(c.utf8)->native(), c.wide);
    }
    // An unpaired surrogate cannot be spelled in UTF-8.
    EXPECT_EQ(cli::utf8_from_wide(L"a\xD800z"), "a\xEF\xBF\xBDz");
}
#endif

TEST(BinaryFiles, KeepEveryByte) {
    // Line ends and the old end-of-file mark, which text mode would alter.
    const std::string bytes("\r\n\n\x1A\x00\xFF\n", 7);
    TemporaryDirectory directory;
    const fs::path path = directory.path() / "bytes.bin";

    std::FILE* output = cli::open_binary_file(path, "wb");
    ASSERT_NE(output, nullptr);
    cli::FileOutputStream output_stream(output);
    EXPECT_EQ(output_stream.write(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())),
              bytes.size());
    std::fclose(output);
    EXPECT_EQ(read_file(path), bytes);

    std::FILE* input = cli::open_binary_file(path, "rb");
    ASSERT_NE(input, nullptr);
    cli::FileInputStream input_stream(input);
    std::string read_back(bytes.size() + 1, '?');
    EXPECT_EQ(input_stream.read(std::span(reinterpret_cast<std::uint8_t*>(read_back.data()), read_back.size())),
              bytes.size());
    EXPECT_TRUE(input_stream.at_end());
    EXPECT_FALSE(input_stream.has_error());
    std::fclose(input);
    read_back.pop_back();
    EXPECT_EQ(read_back, bytes);
}

#ifndef _WIN32
// An open file whose reads deliver `bytes` and then fail, as a disk or a
// network file system may: a socket whose peer went away with data of its own
// unread, which resets the connection once the bytes sent before are read.
std::FILE* failing_after(const std::string& bytes) {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) {
        return nullptr;
    }
    const bool sent = write(ends[0], "?", 1) == 1 &&
                      write(ends[1], bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    close(ends[1]);
    std::FILE* file = fdopen(ends[0], "rb");
    if (!sent || file == nullptr) {
        close(ends[0]);
        return nullptr;
    }
    return file;
}

// Whatever has arrived before, a failed read is a read error in either
// direction, never the end of the input.
TEST(BinaryFiles, AReadThatFailsAfterSomeDataIsAReadError) {
    const std::string tile(32, '\0');
    const std::string stream = std::string("\x00\x01\x00\x08", 4) + std::string(16, '\0');
    const struct {
        const char* what;
        std::string bytes;
        bool decompress;
    } cases[] = {
        {"part of a tile", tile.substr(0, 20), false},
        {"a whole tile", tile, false},
        {"more than a chunk read at once", std::string(65536 + 32, '\x11'), false},
        {"part of the dictionary", stream.substr(0, 7), true},
        {"part of an entry", stream.substr(0, 15), true},
        {"a whole stream", stream, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::FILE* file = failing_after(c.bytes);
        ASSERT_NE(file, nullptr);
        // As the tool reads it: one byte ahead first.
        EXPECT_TRUE(cli::can_be_read(file));
        cli::FileInputStream input(file);
        TestOutput output;
        const ResultCode result = c.decompress ? decompress_tiles(input, output, FORMAT_VENK16)
                                               : compress_tiles(input, output, FORMAT_VENK16);
        EXPECT_EQ(result, RESULT_READ_ERROR);
        EXPECT_TRUE(input.has_error());
        EXPECT_FALSE(input.at_end());
        std::fclose(file);
    }
}
#endif

class FileChecks : public testing::Test {
protected:
    // a.bin and b.bin have the same contents; sub/ is a directory.
    void SetUp() override {
        write_file(path("a.bin"), "same bytes");
        write_file(path("b.bin"), "same bytes");
        fs::create_directory(path("sub"));
    }

    fs::path path(const std::string& name) const { return directory_.path() / name; }

    // What the front end learns from the file opened for reading.
    static cli::FileIdentity identify(const fs::path& path) {
        std::FILE* file = cli::open_binary_file(path, "rb");
        if (file == nullptr) {
            return {};
        }
        const cli::FileIdentity identity = cli::identify_open_file(file);
        std::fclose(file);
        return identity;
    }

    TemporaryDirectory directory_;
};

TEST_F(FileChecks, SameRegularFileThroughAnySpelling) {
    const struct {
        std::string second;
        bool same;
    } cases[] = {
        {"a.bin", true},
        {"./a.bin", true},
        {"sub/../a.bin", true},
        {"hard.bin", true},
        {"b.bin", false},  // equal bytes, another file
        {"missing.bin", false},
        {"sub", false},
    };
    fs::create_hard_link(path("a.bin"), path("hard.bin"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.second);
        EXPECT_EQ(cli::is_same_regular_file(path("a.bin"), path(c.second)), c.same);
        EXPECT_EQ(cli::is_same_regular_file(path(c.second), path("a.bin")), c.same);
        EXPECT_EQ(cli::is_same_regular_file(identify(path(c.second)), identify(path("a.bin"))), c.same);
    }
    EXPECT_FALSE(cli::is_same_regular_file(path("sub"), path("sub")));
    EXPECT_FALSE(cli::is_same_regular_file(path("missing.bin"), path("missing.bin")));
}

TEST_F(FileChecks, OnlyRegularFilesCountAsSuch) {
    const struct {
        std::string name;
        bool regular;
    } cases[] = {
        {"a.bin", true},
        {"sub", false},  // which Windows does not even open
        {"missing.bin", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(identify(path(c.name)).regular, c.regular);
    }
}

// Under its name an output is the old file until the new one is complete,
// then the new one; after a failure, nothing; stopped, the old file. No
// temporary file remains.
TEST_F(FileChecks, OutputIsWholeOrAbsent) {
    const struct {
        std::string name;
        bool succeeds;
        bool stopped = false;  // Ctrl-C arrives while the output is written
    } cases[] = {
        {"new.bin", true},
        {"b.bin", true},
        {"new.bin", false},
        {"b.bin", false},
#ifdef _WIN32
        {"new.bin", true, true},
        {"b.bin", true, true},
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + (c.succeeds ? " succeeds" : " fails") + (c.stopped ? ", stopped" : ""));
        write_file(path("b.bin"), "same bytes");
        const std::string before = read_file(path(c.name));  // empty if missing
        cli::watch_stop_requests();
        cli::OutputFile output;
        ASSERT_EQ(output.open(path(c.name), identify(path("a.bin"))), cli::OutputFile::OPEN_OK);
        std::fputs("new bytes", output.stream());
        std::fflush(output.stream());
        EXPECT_EQ(read_file(path(c.name)), before);
#ifdef _WIN32
        if (c.stopped) {
            // As Windows calls the handler: on a thread of its own. The main
            // thread's next write then fails, and nothing is put in place.
            constexpr unsigned long CTRL_C_EVENT = 0;  // as <windows.h> has it
            std::thread([] { EXPECT_TRUE(cli::handle_console_event(CTRL_C_EVENT)); }).join();
            const std::uint8_t byte = 0;
            EXPECT_EQ(cli::FileOutputStream(output.stream()).write(std::span(&byte, 1)), 0u);
        }
#endif
        const ResultCode result = c.succeeds ? RESULT_OK : RESULT_INVALID_STREAM;
        EXPECT_EQ(output.close(result), c.stopped ? RESULT_WRITE_ERROR : result);
        const bool replaced = c.succeeds && !c.stopped;
        EXPECT_TRUE(replaced || !output.remove_after_failure(c.stopped));
        EXPECT_EQ(fs::exists(path(c.name)), replaced || (c.stopped && !before.empty()));
        EXPECT_EQ(read_file(path(c.name)), replaced ? "new bytes" : c.stopped ? before : "");
        for (const std::string& name : utf8_entries(directory_.path())) {
            EXPECT_EQ(name.find(".venk-"), std::string::npos) << name;
        }
        fs::remove(path("new.bin"));
    }
    cli::watch_stop_requests();  // no request left over for later tests
    cli::OutputFile same;
    EXPECT_EQ(same.open(path("./a.bin"), identify(path("a.bin"))), cli::OutputFile::OPEN_SAME_AS_INPUT);
    EXPECT_EQ(read_file(path("a.bin")), "same bytes");
}

}  // namespace
}  // namespace venk::test
