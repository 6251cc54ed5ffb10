/* SPDX-License-Identifier: 0BSD */
/*
 * Runs the target decoders on a table of streams and compares every decoded
 * tile with the blob the host tool decoded from the same stream.
 *
 *   decode_check [-s MAX] TABLE...
 *
 * Each TABLE has a heading line, then tab-separated rows: stream file,
 * variant (16 or 15), RESULT_OK or another result, blob file or "-"; file
 * names are relative to the table's directory. venk_check_stream must accept exactly the
 * RESULT_OK streams with the blob's tile count, and reject the stream cut
 * short by 1 to 7 bytes. Each decoder then decodes, into a guarded buffer,
 * the whole stream, every tile alone, the first and last tile, a range from
 * the middle and empty ranges at both ends; on m68k the port routines are
 * checked on the whole stream and the last tile by recording every word
 * written (port_recorder.c). With -s, streams longer than MAX bytes are
 * skipped.
 */
#include "../c/venk_decode.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#if defined(__m68k__)
#include "port_recorder.h"
#endif

typedef void decode_fn(const uint8_t *, unsigned long, unsigned long, uint8_t *);
typedef void port_fn(const uint8_t *, unsigned long, unsigned long, volatile uint16_t *);

#if defined(VENK_CHECK_M68K_ASM)
#include "../m68k/venk_m68k.h"
#endif

static const struct {
    const char *name;
    decode_fn *to_buffer;
    port_fn *to_port;
} decoders[] = {
    {"C", venk_decode_tiles, venk_decode_tiles_to_port},
#if defined(VENK_CHECK_M68K_ASM)
    {"68000", venk_m68k_decode_tiles, venk_m68k_decode_tiles_to_port},
#endif
};

#define GUARD 0xA5
#define DECODERS (sizeof decoders / sizeof decoders[0])
static unsigned long failures, streams, skipped, tiles_compared, port_words, max_length = (unsigned long)-1;

static void fail(const char *file, const char *decoder, const char *what, unsigned long first, unsigned long count) {
    fprintf(stderr, "%s: %s: %s (tiles %lu + %lu)\n", file, decoder, what, first, count);
    ++failures;
}

/* malloc gives an even address, as the 68000 routines need. */
static uint8_t *read_file(const char *dir, const char *name, unsigned long *size) {
    char path[4096];
    FILE *file;
    uint8_t *bytes = NULL;
    long length = -1;
    snprintf(path, sizeof path, "%s/%s", dir, name);
    if ((file = fopen(path, "rb")) != NULL && fseek(file, 0, SEEK_END) == 0 && (length = ftell(file)) >= 0) {
        rewind(file);
        bytes = malloc((size_t)length + 1);
    }
    if (bytes == NULL || fread(bytes, 1, (size_t)length, file) != (size_t)length) {
        fprintf(stderr, "can't read %s\n", path);
        exit(2);
    }
    fclose(file);
    *size = (unsigned long)length;
    return bytes;
}

static void check_buffer(const char *file, size_t d, const uint8_t *stream, const uint8_t *blob, unsigned long first,
                         unsigned long count) {
    const size_t size = (size_t)count * 32;
    uint8_t *tiles = malloc(size + 2);
    memset(tiles, GUARD, size + 2);
    decoders[d].to_buffer(stream, first, count, tiles);
    if (memcmp(tiles, blob + (size_t)first * 32, size) != 0 || tiles[size] != GUARD || tiles[size + 1] != GUARD) {
        fail(file, decoders[d].name, "tiles differ from the host's, or a write went past them", first, count);
    }
    tiles_compared += count;
    free(tiles);
}

#if defined(__m68k__)
static void check_port(const char *file, size_t d, const uint8_t *stream, const uint8_t *blob, unsigned long first,
                       unsigned long count) {
    const size_t expected = (size_t)count * 16;
    uint16_t *words = malloc((expected + 1) * sizeof *words);
    size_t i = 0;
    decoders[d].to_port(stream, first, count, port_recorder_start(words, expected));
    while (i < expected && words[i] == (blob[first * 32 + i * 2] << 8 | blob[first * 32 + i * 2 + 1])) {
        ++i;
    }
    if (port_recorder_count() != expected || i != expected) {
        fail(file, decoders[d].name, "port: other words than the host's tiles", first, count);
    }
    port_words += expected;
    free(words);
}
#else
#define check_port(file, d, stream, blob, first, count) ((void)0)
#endif

/* Runs every decoder on a stream that the check accepted with n tiles. */
static void check_decoders(const char *file, const uint8_t *stream, unsigned long length, unsigned long variant,
                           const uint8_t *blob, unsigned long n) {
    /* whole, empty at both ends, last, first, from the middle; the port gets
       the first four */
    const unsigned long last = n ? n - 1 : 0, one = n ? 1 : 0;
    const unsigned long ranges[][2] = {{0, n}, {0, 0}, {n, 0}, {last, one}, {0, one}, {n / 3, n / 2}};
    unsigned long cut, tile;
    size_t d, r;
    for (cut = 1; cut <= 7 && cut <= length; ++cut) {
        if (venk_check_stream(stream, length - cut, variant) >= 0) {
            fail(file, "check", "accepted a stream cut short", length - cut, 0);
        }
    }
    for (d = 0; d < DECODERS; ++d) {
        for (r = 0; r < sizeof ranges / sizeof ranges[0]; ++r) {
            check_buffer(file, d, stream, blob, ranges[r][0], ranges[r][1]);
            if (r < 4) {
                check_port(file, d, stream, blob, ranges[r][0], ranges[r][1]);
            }
        }
        for (tile = 0; tile < n; ++tile) {
            check_buffer(file, d, stream, blob, tile, 1);
        }
    }
}

static void check_stream(const char *dir, const char *file, unsigned long variant, int valid, const char *blob_file) {
    unsigned long length, blob_size = 0;
    uint8_t *stream = read_file(dir, file, &length);
    uint8_t *blob = valid ? read_file(dir, blob_file, &blob_size) : NULL;
    if (length > max_length) {
        ++skipped;
    } else {
        const long tiles = venk_check_stream(stream, length, variant);
        ++streams;
        if (valid ? tiles < 0 || (unsigned long)tiles * 32 != blob_size : tiles >= 0) {
            fail(file, "check", valid ? "tile count differs from the host's" : "accepted a stream venk -d rejects",
                 0, 0);
        } else if (valid) {
            check_decoders(file, stream, length, variant, blob, (unsigned long)tiles);
        }
    }
    free(stream);
    free(blob);
}

int main(int argc, char **argv) {
    int table = 1;
    if (argc > 3 && strcmp(argv[1], "-s") == 0) {
        max_length = strtoul(argv[2], NULL, 10);
        table = 3;
    }
    if (table >= argc) {
        fprintf(stderr, "usage: decode_check [-s MAX] TABLE...\n");
        return 2;
    }
    for (; table < argc; ++table) {
        char line[4096], file[1024], result[64], blob[1024], dir[4096];
        const char *slash = strrchr(argv[table], '/');
        unsigned variant;
        FILE *rows = fopen(argv[table], "r");
        snprintf(dir, sizeof dir, "%.*s", slash ? (int)(slash - argv[table]) : 1, slash ? argv[table] : ".");
        if (rows == NULL || fgets(line, sizeof line, rows) == NULL) {
            fprintf(stderr, "can't read %s\n", argv[table]);
            return 2;
        }
        while (fgets(line, sizeof line, rows) != NULL) {
            if (sscanf(line, "%1023[^\t]\t%u\t%63[^\t]\t%1023[^\t\n]", file, &variant, result, blob) != 4) {
                fprintf(stderr, "%s: bad row: %s", argv[table], line);
                return 2;
            }
            check_stream(dir, file, variant, strcmp(result, "RESULT_OK") == 0, blob);
        }
        fclose(rows);
    }
    printf("decode_check: %lu streams (%lu longer skipped), %lu tiles compared, %lu port words recorded, "
           "%u decoders, %lu failures\n",
           streams, skipped, tiles_compared, port_words, (unsigned)DECODERS, failures);
    return failures == 0 ? 0 : 1;
}
