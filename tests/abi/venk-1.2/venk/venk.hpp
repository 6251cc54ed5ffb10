// venk: compress 32-byte 8x8 4bpp tiles into the VENK dictionary format and back.
//
// A VENK stream is a 4-byte header (tile count N, dictionary size D, both
// big-endian 16-bit words), D raw dictionary bytes, then one 8-byte entry per
// tile: four big-endian offsets into the dictionary, one per 8-byte quadrant
// block of the tile. The stream does not record its variant, so both
// directions must be told the same one.
//
// Every function here reports its outcome as a ResultCode and never throws;
// only an exception thrown by one of the caller's own streams passes through.
// The calls keep no state between them, so several may run at once on
// different streams.
#pragma once

#include <venk/export.hpp>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace venk {

// The outcome of every call. The values are fixed and may be stored.
enum ResultCode : std::uint8_t {
    RESULT_OK = 0,
    RESULT_READ_ERROR = 1,      // the input stream reported a read error
    RESULT_WRITE_ERROR = 2,     // the output accepted fewer bytes than given
    RESULT_BAD_INPUT_SIZE = 3,  // the blob's length is not a multiple of 32
    RESULT_NO_TILES = 4,        // the blob is empty
    RESULT_TOO_BIG = 5,         // the stream would exceed the variant's limits
    RESULT_INVALID_STREAM = 6,  // the VENK input is malformed or truncated
    RESULT_OUT_OF_MEMORY = 7,   // a working buffer could not be allocated
};

// The tool's own text for a failure, such as "input file isn't valid VENK"
// for RESULT_INVALID_STREAM: one line without a final full stop or line feed,
// which the tool prints after "Error: ". RESULT_OK, which is no failure, and
// any value not listed above give "unknown error". The text is static and
// never freed.
VENK_API const char* result_message(ResultCode result);

// The two variants share one layout and differ only in the largest
// dictionary: VENK15 up to 32767 bytes (4095 whole blocks), VENK16 up to
// 65535 bytes (8191 whole blocks). Any other value is treated as VENK15, the
// stricter of the two.
enum FormatVariant : std::uint8_t {
    FORMAT_VENK15 = 1,
    FORMAT_VENK16 = 2,
};

// How hard the compressor works on the dictionary's layout. Every level
// writes a stream that any VENK decoder reads; only its size differs.
enum CompressionLevel : std::uint8_t {
    // Blocks are stored in the order the tiles first need them. The streams
    // are fixed: the same tiles always give these very bytes.
    LEVEL_DEFAULT = 0,
    // The distinct blocks are laid out so that they share as many 2-byte rows
    // as possible (one block's last rows are the next one's first), which
    // makes the dictionary shorter, often by a quarter or more, and lets
    // inputs fit that LEVEL_DEFAULT rejects as too big. Slower, still linear
    // in practice.
    LEVEL_BEST = 1,
};

// The figures of one stream, for a caller to report (as `venk -s` does).
struct StreamStats {
    std::size_t tiles = 0;            // tiles in the blob, entries in the tile map
    std::size_t distinct_blocks = 0;  // different quadrant blocks (compression only; 0 otherwise)
    std::size_t dictionary_size = 0;  // D, in bytes
    std::size_t dictionary_limit = 0; // the largest D the variant lets the compressor write
    std::size_t stream_size = 0;      // bytes of the whole stream: 4 + D + 8 per tile
    std::size_t blob_size = 0;        // bytes of the blob: 32 per tile
};

// A source of bytes for the codec, implemented by callers with their own I/O.
// The codec calls it from the calling thread only, during one call.
class VENK_API InputStream {
public:
    virtual ~InputStream();
    // Stores up to buffer.size() bytes and returns how many it stored. It keeps
    // reading until it has them all, the input ends or the source fails, so it
    // returns fewer only at the end of the input or after a failure.
    virtual std::size_t read(std::span<std::uint8_t> buffer) = 0;
    // True once the input has ended.
    virtual bool at_end() const = 0;
    // True only when the source failed to deliver data, never merely at the
    // end. A short read is a read error only if this is set; otherwise the
    // missing bytes count as the data being too short.
    virtual bool has_error() const = 0;
};

// A sink of bytes for the codec, implemented by callers with their own I/O.
class VENK_API OutputStream {
public:
    virtual ~OutputStream();
    // Takes the bytes and returns how many it accepted; fewer than given is
    // reported as RESULT_WRITE_ERROR and ends the call.
    virtual std::size_t write(std::span<const std::uint8_t> bytes) = 0;
};

// Compresses a blob of 32-byte tiles read from `input` to its end into one
// VENK stream written to `output`. Each quadrant block is stored once, at the
// lowest even dictionary offset that holds it, so the same tiles always give
// the same stream.
//   RESULT_OK              the whole stream was written
//   RESULT_BAD_INPUT_SIZE  the input ends inside a tile
//   RESULT_NO_TILES        the input is empty
//   RESULT_TOO_BIG         the dictionary exceeds the variant's limit, or there
//                          are more than 65535 tiles
//   RESULT_READ_ERROR      the input reported a failure
//   RESULT_WRITE_ERROR     the output accepted fewer bytes than given
//   RESULT_OUT_OF_MEMORY   a working buffer could not be allocated
// Nothing is written until the whole input has been read and checked, so only
// RESULT_WRITE_ERROR can leave a partial stream behind. Memory stays bounded
// on any input: once the stream is known to be too big, the rest of the input
// is only read, to tell a partial last tile or a read error from
// RESULT_TOO_BIG. The streams are
// borrowed: the caller opens, flushes and closes them.
VENK_API ResultCode compress_tiles(InputStream& input, OutputStream& output, FormatVariant variant);

// compress_tiles with a choice of level; LEVEL_DEFAULT is the call above.
// (A name of its own rather than an overload, so that code which takes the
// address of compress_tiles keeps compiling.)
// With LEVEL_BEST:
// - every distinct block of the input is laid out, not only those that fit
//   the variant's limit, so RESULT_TOO_BIG means that the laid-out dictionary
//   exceeds the limit or that there are more than 65535 tiles;
// - each map offset is still the lowest even offset of the dictionary that
//   holds the block;
// - the dictionary is never larger than LEVEL_DEFAULT's for the same input
//   (when the layout gains nothing, the stream is LEVEL_DEFAULT's);
// - the stream depends only on the input bytes and the variant: the same on
//   every platform, build and run;
// - working memory stays below 16 MiB on any input, and the time grows with
//   the input's length, whatever its contents.
// Any other level value is taken as LEVEL_BEST. The results and the
// guarantee about partial output are those of compress_tiles. With `stats`,
// the stream's figures are stored there on RESULT_OK.
VENK_API ResultCode compress_tiles_at_level(InputStream& input, OutputStream& output, FormatVariant variant,
                                            CompressionLevel level, StreamStats* stats = nullptr);

// Expands one VENK stream read from `input` to its end into tiles written to
// `output`. Safe on any input, including hostile or random bytes: every
// header field and offset is checked before use, so no input can make it
// read or write out of bounds.
//   RESULT_OK              every complete tile entry was decoded and written
//   RESULT_INVALID_STREAM  the stream is truncated, its dictionary size is
//                          odd, below 8 or too big for the variant, or an
//                          offset is odd or past the dictionary's last block
//   RESULT_READ_ERROR      the input reported a failure
//   RESULT_WRITE_ERROR     the output accepted fewer bytes than given
//   RESULT_OUT_OF_MEMORY   the dictionary could not be allocated
// The header's tile count is not checked: each complete entry after the
// dictionary gives one tile. Tiles are written as they are decoded, so a
// failure can leave earlier tiles in `output`; a caller writing to a file
// should delete it on any failure. No magic number or checksum exists, so
// bytes that are not VENK may still decode into garbage.
VENK_API ResultCode decompress_tiles(InputStream& input, OutputStream& output, FormatVariant variant);

// decompress_tiles that also stores the stream's figures in `stats` on
// RESULT_OK (its distinct_blocks stays 0: a stream from another encoder may
// hold a block twice).
VENK_API ResultCode decompress_tiles_with_stats(InputStream& input, OutputStream& output, FormatVariant variant,
                                                StreamStats* stats);

// In-memory forms of the calls above, with the same results and the same
// output, byte for byte, as the tool gives for a file with these bytes. The
// output vector's old contents are replaced; on failure it is left empty. It
// may be the very vector that the input span views.
VENK_API ResultCode compress_memory(std::span<const std::uint8_t> blob, FormatVariant variant,
                                    std::vector<std::uint8_t>& stream);
VENK_API ResultCode compress_memory_at_level(std::span<const std::uint8_t> blob, FormatVariant variant,
                                             std::vector<std::uint8_t>& stream, CompressionLevel level,
                                             StreamStats* stats = nullptr);
VENK_API ResultCode decompress_memory(std::span<const std::uint8_t> stream, FormatVariant variant,
                                      std::vector<std::uint8_t>& blob);

}  // namespace venk
