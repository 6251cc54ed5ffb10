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

/* The version of this header. A minor version adds calls, result codes and
 * fields at the end of the structs, and keeps every call, value and layout
 * of the releases before it, so a program built against this header runs
 * with the library of this or any later 1.x release. venk_version_number()
 * gives the library's own, which may be newer than the header's. */
#define VENK_VERSION_MAJOR 1
#define VENK_VERSION_MINOR 3
#define VENK_VERSION_PATCH 0
#define VENK_VERSION_NUMBER (VENK_VERSION_MAJOR * 10000 + VENK_VERSION_MINOR * 100 + VENK_VERSION_PATCH)

/* The results, with the values and meanings of venk::ResultCode. */
enum {
    VENK_RESULT_OK = 0,
    VENK_RESULT_READ_ERROR = 1,
    VENK_RESULT_WRITE_ERROR = 2,
    VENK_RESULT_BAD_INPUT_SIZE = 3,
    VENK_RESULT_NO_TILES = 4,
    VENK_RESULT_TOO_BIG = 5,
    VENK_RESULT_INVALID_STREAM = 6,
    VENK_RESULT_OUT_OF_MEMORY = 7,
    VENK_RESULT_INVALID_OPTIONS = 8,
    VENK_RESULT_BUFFER_TOO_SMALL = 9 /* the output has no room in the capacity given (since 1.3) */
};

/* The variants and levels of venk::FormatVariant and venk::CompressionLevel.
 * In venk_options a 0 means the default, VENK_FORMAT_VENK16 or
 * VENK_LEVEL_DEFAULT; any other value is refused with
 * VENK_RESULT_INVALID_OPTIONS (since 1.3; 1.2 took it as the lowest named
 * one). */
enum { VENK_FORMAT_VENK15 = 1, VENK_FORMAT_VENK16 = 2 };
enum { VENK_LEVEL_DEFAULT = 0, VENK_LEVEL_BEST = 1 };

/* The options of a call; NULL means the defaults, VENK_OPTIONS_INIT, and so
 * does a struct of zeros but its size:
 *
 *     venk_options options = {.struct_size = sizeof options, .level = VENK_LEVEL_BEST};
 *
 * is VENK16 at the best level. They grow as venk::Options does: struct_size
 * is the size the program was compiled with, the library reads no more than
 * that, bytes past the end of the struct it knows must be zero, and a
 * struct_size below this first one (12) or above 4096 is refused with
 * VENK_RESULT_INVALID_OPTIONS. */
typedef struct venk_options {
    uint32_t struct_size;
    uint32_t variant; /* 0 or a VENK_FORMAT_ value */
    uint32_t level;   /* 0 or a VENK_LEVEL_ value; used by compression only */
} venk_options;

#define VENK_OPTIONS_INIT { sizeof(venk_options), VENK_FORMAT_VENK16, VENK_LEVEL_DEFAULT }

/* The figures of a stream, filled in on VENK_RESULT_OK when the caller passes
 * one (and by venk_compress_pack after the failures that name an input); any
 * other failure leaves them as they were. The fields are those of
 * venk::Figures. The library writes no more than
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
 * stream does not fit gives VENK_RESULT_BUFFER_TOO_SMALL. Nothing is ever
 * written past the capacity. On failure *stream_size is 0 and the buffer's
 * contents are undefined. A NULL stream_size is refused with
 * VENK_RESULT_INVALID_OPTIONS, before anything is read or written. The two
 * buffers must not overlap. */
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

/* The library's version, such as "1.3.0": static, never freed. */
VENK_API const char *venk_version(void);

/* The library's version as a number, major * 10000 + minor * 100 + patch,
 * such as 10300 for 1.3.0; compare it with VENK_VERSION_NUMBER (since 1.3). */
VENK_API unsigned venk_version_number(void);

#ifdef __cplusplus
}
#endif

#endif
