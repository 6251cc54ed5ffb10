// A program that uses the venk library the way an asset tool would. Built
// against an installed package (CMake or pkg-config) or a source tree added
// with add_subdirectory; exits with 1 if any check fails. It includes the C
// header as well, which must compile as C++ too.
#include <venk/venk.h>
#include <venk/venk.hpp>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A stream of the program's own: a shared library must export the interfaces'
// vtables and type information for this to link.
class ByteSource final : public venk::InputStream {
public:
    explicit ByteSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t read(std::span<std::uint8_t> buffer) override {
        const std::size_t count = buffer.size() < bytes_.size() ? buffer.size() : bytes_.size();
        if (count > 0) {
            std::memcpy(buffer.data(), bytes_.data(), count);
        }
        bytes_ = bytes_.subspan(count);
        ended_ = count < buffer.size();
        return count;
    }
    bool at_end() const override { return ended_; }
    bool has_error() const override { return false; }

private:
    std::span<const std::uint8_t> bytes_;
    bool ended_ = false;
};

class ByteSink final : public venk::OutputStream {
public:
    std::size_t write(std::span<const std::uint8_t> bytes) override {
        written.insert(written.end(), bytes.begin(), bytes.end());
        return bytes.size();
    }
    Bytes written;
};

int failures = 0;

void check(bool passed, const char* what) {
    if (!passed) {
        std::fprintf(stderr, "consumer: %s\n", what);
        ++failures;
    }
}

}  // namespace

int main() {
    // 600 tiles drawn from few distinct rows, so that blocks repeat.
    Bytes blob(600 * 32);
    for (std::size_t i = 0; i < blob.size(); ++i) {
        blob[i] = static_cast<std::uint8_t>((i * 7 / 2) % 5);
    }
    Bytes stream;
    Bytes back;
    check(venk::compress_memory(blob, venk::FORMAT_VENK15, stream) == venk::RESULT_OK, "compress_memory failed");
    check(stream.size() < blob.size(), "the stream is not smaller than the blob");
    check(venk::decompress_memory(stream, venk::FORMAT_VENK15, back) == venk::RESULT_OK, "decompress_memory failed");
    check(back == blob, "the round trip changed the blob");

    // One all-zero tile: 1 tile, an 8-byte dictionary of zeros, one entry of
    // four zero offsets.
    Bytes expected = {0, 1, 0, 8};
    expected.resize(20, 0);
    check(venk::compress_memory(Bytes(32, 0), venk::FORMAT_VENK16, stream) == venk::RESULT_OK &&
              stream == expected,
          "one zero tile did not give the known stream");

    back = {1, 2, 3};
    check(venk::decompress_memory(Bytes{0, 1, 0}, venk::FORMAT_VENK16, back) == venk::RESULT_INVALID_STREAM,
          "a stream cut inside its header was not refused");
    check(back.empty(), "a failed call left bytes in its output");
    check(std::strcmp(venk::result_message(venk::RESULT_INVALID_STREAM), "input file isn't valid VENK") == 0,
          "result_message does not give the tool's text");

    ByteSource source(blob);
    ByteSink sink;
    check(venk::compress_tiles(source, sink, venk::FORMAT_VENK16) == venk::RESULT_OK, "compress_tiles failed");
    check(venk::compress_memory(blob, venk::FORMAT_VENK16, stream) == venk::RESULT_OK && sink.written == stream,
          "compress_tiles and compress_memory disagree");

    // The calls that replace those above, and the C interface from C++.
    venk::Figures figures;
    check(venk::compress(blob, stream, {.variant = venk::FORMAT_VENK15, .level = venk::LEVEL_BEST}, &figures) ==
                  venk::RESULT_OK &&
              figures.stream_size == stream.size(),
          "compress with options failed");
    check(venk::decompress(stream, back, {.variant = venk::FORMAT_VENK15}) == venk::RESULT_OK && back == blob,
          "decompress with options failed");
    Bytes c_stream(venk_compress_bound(blob.size()));
    std::size_t c_size = 0;
    const venk_options best = {sizeof(venk_options), VENK_FORMAT_VENK15, VENK_LEVEL_BEST};
    check(venk_compress(blob.data(), blob.size(), c_stream.data(), c_stream.size(), &c_size, &best, nullptr) ==
              VENK_RESULT_OK,
          "venk_compress failed");
    c_stream.resize(c_size);
    check(c_stream == stream, "venk_compress and compress disagree");

    if (failures == 0) {
        std::puts("consumer: all checks passed");
    }
    return failures == 0 ? 0 : 1;
}
