// venk: compress 32-byte 8x8 4bpp tiles into the VENK dictionary format and back.
//
// A VENK stream is a 4-byte header (tile count N, dictionary size D, both
// big-endian 16-bit words), D raw dictionary bytes, then one 8-byte entry per
// tile: four big-endian offsets into the dictionary, one per 8-byte quadrant
// block of the tile. The stream does not record its variant, so both
// directions must be told the same one.
//
// Every function here reports its outcome as a ResultCode; none throws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace venk {

enum ResultCode : std::uint8_t {
    RESULT_OK = 0,
    RESULT_READ_ERROR = 1,      // the input stream reported a read error
    RESULT_WRITE_ERROR = 2,     // the output accepted fewer bytes than given
    RESULT_BAD_INPUT_SIZE = 3,  // the blob's length is not a multiple of 32
    RESULT_NO_TILES = 4,        // the blob is empty
    RESULT_TOO_BIG = 5,         // the stream would exceed the variant's limits
    RESULT_INVALID_STREAM = 6,  // the VENK input is malformed or truncated
    RESULT_OUT_OF_MEMORY = 7,
};

// The two variants share one layout and differ only in the largest
// dictionary: VENK15 up to 32767 bytes (4095 whole blocks), VENK16 up to
// 65535 bytes (8191 whole blocks). Any other value is treated as VENK15, the
// stricter of the two.
enum FormatVariant : std::uint8_t {
    FORMAT_VENK15 = 1,
    FORMAT_VENK16 = 2,
};

// A source of bytes for the codec.
class InputStream {
public:
    virtual ~InputStream() = default;
    // Reads up to buffer.size() bytes, and keeps reading until it has them all,
    // the input ends or the source fails; so it returns fewer only at the end
    // of the input or after a failure. Returns the number of bytes stored.
    virtual std::size_t read(std::span<std::uint8_t> buffer) = 0;
    // Set once the input has ended.
    virtual bool at_end() const = 0;
    // Set only when the source failed to deliver data, never merely at the end.
    virtual bool has_error() const = 0;
};

// A sink of bytes for the codec.
class OutputStream {
public:
    virtual ~OutputStream() = default;
    // Writes the bytes and returns how many were accepted.
    virtual std::size_t write(std::span<const std::uint8_t> bytes) = 0;
};

// Compresses a blob of 32-byte tiles read from `input` into one VENK stream
// written to `output`. Nothing is written until the whole input has been read
// and checked against the variant's limits, so only RESULT_WRITE_ERROR can
// leave a partial stream behind.
//   RESULT_BAD_INPUT_SIZE  the input ends inside a tile
//   RESULT_NO_TILES        the input is empty
//   RESULT_TOO_BIG         the dictionary or the tile count (65535) overflows
//   RESULT_READ_ERROR / RESULT_WRITE_ERROR / RESULT_OUT_OF_MEMORY
// The streams are borrowed: the caller opens, flushes and closes them.
ResultCode compress_tiles(InputStream& input, OutputStream& output, FormatVariant variant);

// Expands one VENK stream read from `input` into tiles written to `output`.
// Safe on any input: every header field and offset is checked before use, and
// a malformed or truncated stream gives RESULT_INVALID_STREAM. Tiles are
// written as they are decoded, so a failure can leave earlier tiles in
// `output`; a caller writing to a file should delete it on any failure.
ResultCode decompress_tiles(InputStream& input, OutputStream& output, FormatVariant variant);

// In-memory forms of the two calls above, with the same results byte for byte.
// On failure the output vector is left empty.
ResultCode compress_memory(std::span<const std::uint8_t> blob, FormatVariant variant,
                           std::vector<std::uint8_t>& stream);
ResultCode decompress_memory(std::span<const std::uint8_t> stream, FormatVariant variant,
                             std::vector<std::uint8_t>& blob);

}  // namespace venk
