/* venk: compress 32-byte 8x8 4bpp tiles into the VENK dictionary format and
 * back, from C and from any language that calls C (Python's ctypes, C#,
 * Rust, ...). The same library as venk/venk.hpp, with the same results and
 * the same bytes; C99, and it compiles as C++ too.
 *
 * Every call works on the caller's memory and returns one of the VENK_RESULT_
 * codes. None allocates anything that the caller must free, none keeps state
 * between calls, and none lets an exception out.
 *
 *     venk_options options = VENK_OPTIONS_INIT;
 *     size_t capacity = venk_compress_bound(blob_size), stream_size;
 *     uint8_t *stream = malloc(capacity);
 *     int result = venk_compress(blob, blob_size, stream, capacity, &stream_size, &options, NULL);
 *     if (result != VENK_RESULT_OK) fprintf(stderr, "%s\n", venk_result_message(result));
 */
#ifndef VENK_VENK_H
#define VENK_VENK_H

#include <venk/export.hpp>

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The results, with the values and meanings of venk::ResultCode. */
enum {
    VENK_RESULT_OK = 0,
    VENK_RESULT_READ_ERROR = 1,
    VENK_RESULT_WRITE_ERROR = 2,      /* also: the output buffer is too small */
    VENK_RESULT_BAD_INPUT_SIZE = 3,
    VENK_RESULT_NO_TILES = 4,
    VENK_RESULT_TOO_BIG = 5,
    VENK_RESULT_INVALID_STREAM = 6,
    VENK_RESULT_OUT_OF_MEMORY = 7,
    VENK_RESULT_INVALID_OPTIONS = 8
};

/* The variants and levels of venk::FormatVariant and venk::CompressionLevel.
 * Any other value is taken as VENK_FORMAT_VENK15 or VENK_LEVEL_DEFAULT. */
enum { VENK_FORMAT_VENK15 = 1, VENK_FORMAT_VENK16 = 2 };
enum { VENK_LEVEL_DEFAULT = 0, VENK_LEVEL_BEST = 1 };

/* The options of a call; NULL means the defaults, VENK_OPTIONS_INIT. They
 * grow as venk::Options does: struct_size is the size the program was
 * compiled with, the library reads no more than that, bytes past the end of
 * the struct it knows must be zero, and a struct_size below this first one
 * (12) or above 4096 is refused with VENK_RESULT_INVALID_OPTIONS. Unknown
 * variant and level values are taken as the lowest named ones. */
typedef struct venk_options {
    uint32_t struct_size;
    uint32_t variant;
    uint32_t level; /* used by compression only */
} venk_options;

#define VENK_OPTIONS_INIT { sizeof(venk_options), VENK_FORMAT_VENK16, VENK_LEVEL_DEFAULT }

/* The figures of a stream, filled in on VENK_RESULT_OK when the caller passes
 * one (and by venk_compress_pack after the failures that name an input); the
 * fields are those of venk::Figures. The library writes no more than
 * struct_size bytes, with zeros for any figure it does not know. */
typedef struct venk_figures {
    uint32_t struct_size;
    uint32_t reserved;
    size_t tiles;
    size_t distinct_blocks;
    size_t dictionary_size;
    size_t dictionary_limit;
    size_t stream_size;
    size_t blob_size;
    size_t failed_input; /* venk_compress_pack: the input that made it fail */
} venk_figures;

#define VENK_FIGURES_INIT { sizeof(venk_figures), 0, 0, 0, 0, 0, 0, 0, 0 }

/* The largest stream that compressing a blob of blob_size bytes can give. */
VENK_API size_t venk_compress_bound(size_t blob_size);

/* The size of the blob that decompressing these stream bytes gives when it
 * succeeds (it reads only the header); 0 when the stream is too short to
 * hold one tile. */
VENK_API size_t venk_decompress_bound(const uint8_t *stream, size_t stream_size);

/* Compresses the blob into `stream`, which has room for `capacity` bytes,
 * and stores the stream's length in *stream_size. A capacity of
 * venk_compress_bound(blob_size) is always enough; a smaller one that the
 * stream does not fit gives VENK_RESULT_WRITE_ERROR. Nothing is ever written
 * past the capacity. On failure *stream_size is 0 and the buffer's contents
 * are undefined. The two buffers must not overlap. */
VENK_API int venk_compress(const uint8_t *blob, size_t blob_size, uint8_t *stream, size_t capacity,
                           size_t *stream_size, const venk_options *options, venk_figures *figures);

/* Decompresses the stream into `blob` in the same way; a capacity of
 * venk_decompress_bound(stream, stream_size) is always enough. */
VENK_API int venk_decompress(const uint8_t *stream, size_t stream_size, uint8_t *blob, size_t capacity,
                             size_t *blob_size, const venk_options *options, venk_figures *figures);

/* Packs `count` blobs, blob i of blob_sizes[i] bytes at blobs[i], into one
 * stream with one shared dictionary, as venk::compress does for a pack: the
 * stream of their concatenation, each blob whole tiles, at least one. The
 * buffer as for venk_compress; a capacity of venk_compress_bound of the sum
 * of the sizes is always enough. After VENK_RESULT_BAD_INPUT_SIZE,
 * VENK_RESULT_NO_TILES, VENK_RESULT_READ_ERROR or VENK_RESULT_TOO_BIG the
 * figures are all 0 but failed_input, the index of the blob that made the
 * pack fail (for VENK_RESULT_TOO_BIG the first blob i such that blobs 0 to i
 * together do not fit). */
VENK_API int venk_compress_pack(const uint8_t *const *blobs, const size_t *blob_sizes, size_t count,
                                uint8_t *stream, size_t capacity, size_t *stream_size,
                                const venk_options *options, venk_figures *figures);

/* The text of venk::result_message: static, never freed. */
VENK_API const char *venk_result_message(int result);

/* The library's version, such as "1.2.0": static, never freed. */
VENK_API const char *venk_version(void);

#ifdef __cplusplus
}
#endif

#endif
