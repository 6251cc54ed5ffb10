// venk: compress 32-byte 8x8 4bpp tiles into the VENK dictionary format and back.
//
// A VENK stream is a 4-byte header (tile count N, dictionary size D, both
// big-endian 16-bit words), D raw dictionary bytes, then one 8-byte entry per
// tile: four big-endian offsets into the dictionary, one per 8-byte quadrant
// block of the tile. The stream does not record its variant, so both
// directions must be told the same one.
//
// There is one call per direction and form of I/O: compress and decompress,
// over memory or over the caller's own streams, each taking its input, its
// output, the Options and, when wanted, a Figures to fill in:
//
//     std::vector<std::uint8_t> stream;
//     venk::Figures figures;
//     venk::ResultCode result = venk::compress(tiles, stream, {.level = venk::LEVEL_BEST}, &figures);
//
// A third form packs several blobs into one stream that shares one
// dictionary, in memory or over streams:
//
//     std::span<const std::uint8_t> sheets[] = {font, hero};
//     result = venk::compress(sheets, stream);
//
// The calls of earlier releases are kept at the end of this file, as thin
// wrappers. C and other languages use venk/venk.h, the same library behind a
// C interface.
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
    RESULT_READ_ERROR = 1,        // the input stream reported a read error
    RESULT_WRITE_ERROR = 2,       // the output accepted fewer bytes than given
    RESULT_BAD_INPUT_SIZE = 3,    // the blob's length is not a multiple of 32
    RESULT_NO_TILES = 4,          // the blob is empty
    RESULT_TOO_BIG = 5,           // the stream would exceed the variant's limits
    RESULT_INVALID_STREAM = 6,    // the VENK input is malformed or truncated
    RESULT_OUT_OF_MEMORY = 7,     // a working buffer could not be allocated
    RESULT_INVALID_OPTIONS = 8,   // the Options or Figures were refused (see Options)
    RESULT_BUFFER_TOO_SMALL = 9,  // the caller's buffer cannot hold the output (venk/venk.h only)
};

// The tool's own text for a failure, such as "input file isn't valid VENK"
// for RESULT_INVALID_STREAM: one line without a final full stop or line feed,
// which the tool prints after "Error: ". RESULT_OK, which is no failure, and
// any value not listed above give "unknown error". The text is static and
// never freed.
VENK_API const char* result_message(ResultCode result);

// The two variants share one layout and differ only in the largest
// dictionary: VENK15 up to 32767 bytes (4095 whole blocks), VENK16 up to
// 65535 bytes (8191 whole blocks). In Options, 0 means the default,
// FORMAT_VENK16, and any other value is refused with RESULT_INVALID_OPTIONS.
// (The calls of the compatibility layer take an unknown value of this enum
// or the next as the lowest named one, FORMAT_VENK15 or LEVEL_DEFAULT, as
// they always have.)
enum FormatVariant : std::uint8_t {
    FORMAT_VENK15 = 1,
    FORMAT_VENK16 = 2,
};

// How hard the compressor works on the dictionary's layout. Every level
// writes a stream that any VENK decoder reads; only its size differs. In
// Options any other value is refused with RESULT_INVALID_OPTIONS.
enum CompressionLevel : std::uint8_t {
    // Blocks are stored in the order the tiles first need them. The streams
    // are fixed: the same tiles always give these very bytes.
    LEVEL_DEFAULT = 0,
    // The distinct blocks are laid out so that they share as many 2-byte rows
    // as possible (one block's last rows are the next one's first), which
    // makes the dictionary shorter, often by a quarter or more, and lets
    // inputs fit that LEVEL_DEFAULT rejects as too big. Slower, still linear
    // in practice. With LEVEL_BEST:
    // - every distinct block of the input is laid out, not only those that
    //   fit the variant's limit, so RESULT_TOO_BIG means that the laid-out
    //   dictionary exceeds the limit or that there are more than 65535 tiles;
    // - each map offset is still the lowest even offset of the dictionary
    //   that holds the block;
    // - the dictionary is never larger than LEVEL_DEFAULT's for the same
    //   input (when the layout gains nothing, the stream is LEVEL_DEFAULT's);
    // - the stream depends only on the input bytes and the variant: the same
    //   on every platform, build and run;
    // - working memory stays below 16 MiB on any input, and the time grows
    //   with the input's length, whatever its contents.
    LEVEL_BEST = 1,
};

// Options and Figures grow from release to release without new names, and a
// program keeps working with a newer shared library than the one it was
// built with, and with an older one as long as it asks for nothing new:
// - Each begins with struct_size, which its default member initializer sets
//   to the size the program was compiled with; leave it so.
// - The library reads only the first struct_size bytes of Options: fields a
//   newer release added after them take their defaults. Bytes past the end
//   of the Options this library knows must be zero, as must its reserved
//   bytes, and its variant and level must be 0 or named values; otherwise
//   the call fails with RESULT_INVALID_OPTIONS and does nothing, since the
//   caller asked for something it cannot do.
// - The library writes only the first struct_size bytes of Figures: its own
//   figures, then zeros for any it does not know.
// - A struct_size smaller than that of the first release with these structs
//   (1.2), or larger than 4096, is refused with RESULT_INVALID_OPTIONS.
// - A release adds fields only at the end, or in reserved bytes, so that the
//   structs never hold padding; the zero value of a new field keeps the
//   behaviour of earlier releases.
struct Options {
    std::uint32_t struct_size = sizeof(Options);
    FormatVariant variant = FORMAT_VENK16;   // 0 means FORMAT_VENK16 too
    CompressionLevel level = LEVEL_DEFAULT;  // used by compression only
    std::uint8_t reserved[2] = {};
};

// The figures of one stream, for a caller to report (as `venk -s` does).
struct Figures {
    std::uint32_t struct_size = sizeof(Figures);
    std::uint32_t reserved = 0;
    std::size_t tiles = 0;            // tiles in the blob, entries in the tile map
    std::size_t distinct_blocks = 0;  // different quadrant blocks (compression only; 0 otherwise)
    std::size_t dictionary_size = 0;  // D, in bytes
    std::size_t dictionary_limit = 0; // the largest D the variant lets the compressor write
    std::size_t stream_size = 0;      // bytes of the whole stream: 4 + D + 8 per tile
    std::size_t blob_size = 0;        // bytes of the blob: 32 per tile
    std::size_t failed_input = 0;     // a pack that one of its inputs made fail: which one (see below)
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

// Compresses a blob of 32-byte tiles, read from `input` to its end, into one
// VENK stream written to `output`. With LEVEL_DEFAULT each quadrant block is
// stored once, at the lowest even dictionary offset that holds it, so the
// same tiles always give the same stream.
//   RESULT_OK              the whole stream was written
//   RESULT_BAD_INPUT_SIZE  the input ends inside a tile
//   RESULT_NO_TILES        the input is empty
//   RESULT_TOO_BIG         the dictionary exceeds the variant's limit, or there
//                          are more than 65535 tiles
//   RESULT_READ_ERROR      the input reported a failure
//   RESULT_WRITE_ERROR     the output accepted fewer bytes than given
//   RESULT_OUT_OF_MEMORY   a working buffer could not be allocated
//   RESULT_INVALID_OPTIONS the options or figures were refused; nothing was read
// Nothing is written until the whole input has been read and checked, so only
// RESULT_WRITE_ERROR can leave a partial stream behind. Memory stays bounded
// on any input: once the stream is known to be too big, the rest of the input
// is only read, to tell a partial last tile or a read error from
// RESULT_TOO_BIG, and once there are more tiles than a stream can count,
// reading stops with RESULT_TOO_BIG, so that an endless input ends too (an
// input past 65535 tiles may end inside a tile or fail later unread). The
// streams are borrowed: the caller opens, flushes and
// closes them. With `figures`, the stream's figures are stored there on
// RESULT_OK; on failure it is left as it was.
VENK_API ResultCode compress(InputStream& input, OutputStream& output, const Options& options = {},
                             Figures* figures = nullptr);

// Expands one VENK stream, read from `input` to its end, into tiles written
// to `output`. Safe on any input, including hostile or random bytes: every
// header field and offset is checked before use, so no input can make it
// read or write out of bounds. The options' level is not used.
//   RESULT_OK              every complete tile entry was decoded and written
//   RESULT_INVALID_STREAM  the stream is truncated, its dictionary size is
//                          odd, below 8 or too big for the variant, or an
//                          offset is odd or past the dictionary's last block
//   RESULT_READ_ERROR      the input reported a failure
//   RESULT_WRITE_ERROR     the output accepted fewer bytes than given
//   RESULT_OUT_OF_MEMORY   the dictionary could not be allocated
//   RESULT_INVALID_OPTIONS the options or figures were refused; nothing was read
// The header's tile count is not checked: each complete entry after the
// dictionary gives one tile. Tiles are written as they are decoded, so a
// failure can leave earlier tiles in `output`; a caller writing to a file
// should delete it on any failure. No magic number or checksum exists, so
// bytes that are not VENK may still decode into garbage. With `figures`, the
// stream's figures are stored there on RESULT_OK (distinct_blocks stays 0: a
// stream from another encoder may hold a block twice).
VENK_API ResultCode decompress(InputStream& input, OutputStream& output, const Options& options = {},
                               Figures* figures = nullptr);

// In-memory forms of the calls above, with the same results and the same
// output, byte for byte, as the tool gives for a file with these bytes. The
// output vector's old contents are replaced; on failure it is left empty. It
// may be the very vector that the input span views.
VENK_API ResultCode compress(std::span<const std::uint8_t> blob, std::vector<std::uint8_t>& stream,
                             const Options& options = {}, Figures* figures = nullptr);
VENK_API ResultCode decompress(std::span<const std::uint8_t> stream, std::vector<std::uint8_t>& blob,
                               const Options& options = {}, Figures* figures = nullptr);

// Packs several blobs into one stream with one dictionary, which they share:
// the tiles of the inputs one after the other, so that input i starts at the
// tile after the last of inputs 0 to i - 1, and a decoder that expands a range
// of tiles loads any input on its own. The stream is byte for byte that of
// compress on the inputs' concatenation, at either level (LEVEL_BEST lays out
// the union of their blocks), but each input must be whole tiles on its own,
// at least one. The inputs are read in order, each to its end, until there
// are more tiles than a stream can count. The results are those of
// compress, with these that name an input, in
// figures->failed_input:
//   RESULT_BAD_INPUT_SIZE  that input ends inside a tile
//   RESULT_NO_TILES        that input is empty (or there are no inputs: 0)
//   RESULT_READ_ERROR      that input reported a failure
//   RESULT_TOO_BIG         the pack exceeds the variant's limits, and that
//                          input is the first i such that inputs 0 to i
//                          together do not fit, as this level lays them out
// The first three stop the reading at that input and come before
// RESULT_TOO_BIG, as a partial last tile does for one blob. Memory stays
// bounded as for one blob, whatever the inputs' number and size. With
// `figures`: on RESULT_OK the pack's figures, failed_input 0; after one of
// the four failures above every figure 0 but failed_input; after any other
// failure it is left as it was.
VENK_API ResultCode compress(std::span<InputStream* const> inputs, OutputStream& output,
                             const Options& options = {}, Figures* figures = nullptr);

// The same in memory; the output vector as for compress in memory (it may be
// the vector that one of the input spans views).
VENK_API ResultCode compress(std::span<const std::span<const std::uint8_t>> blobs, std::vector<std::uint8_t>& stream,
                             const Options& options = {}, Figures* figures = nullptr);

// ---------------------------------------------------------------------------
// The compatibility layer: the calls of venk 1.2 and earlier, kept with the
// same signatures and results for the programs that use them. Each runs the
// call above with the variant and level as Options; new code should call
// compress and decompress.

// The figures of one stream, as the calls below report them; Figures has the
// same fields and can grow.
struct StreamStats {
    std::size_t tiles = 0;
    std::size_t distinct_blocks = 0;
    std::size_t dictionary_size = 0;
    std::size_t dictionary_limit = 0;
    std::size_t stream_size = 0;
    std::size_t blob_size = 0;
};

// compress at LEVEL_DEFAULT.
VENK_API ResultCode compress_tiles(InputStream& input, OutputStream& output, FormatVariant variant);

// compress; with `stats`, the figures are stored there on RESULT_OK.
VENK_API ResultCode compress_tiles_at_level(InputStream& input, OutputStream& output, FormatVariant variant,
                                            CompressionLevel level, StreamStats* stats = nullptr);

// decompress.
VENK_API ResultCode decompress_tiles(InputStream& input, OutputStream& output, FormatVariant variant);

// decompress; the figures are stored in `stats` on RESULT_OK.
VENK_API ResultCode decompress_tiles_with_stats(InputStream& input, OutputStream& output, FormatVariant variant,
                                                StreamStats* stats);

// The in-memory compress and decompress, with the variant before the output.
VENK_API ResultCode compress_memory(std::span<const std::uint8_t> blob, FormatVariant variant,
                                    std::vector<std::uint8_t>& stream);
VENK_API ResultCode compress_memory_at_level(std::span<const std::uint8_t> blob, FormatVariant variant,
                                             std::vector<std::uint8_t>& stream, CompressionLevel level,
                                             StreamStats* stats = nullptr);
VENK_API ResultCode decompress_memory(std::span<const std::uint8_t> stream, FormatVariant variant,
                                      std::vector<std::uint8_t>& blob);

}  // namespace venk
