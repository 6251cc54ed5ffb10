/* A C99 program that uses the venk library through venk/venk.h the way an
 * asset tool in C would, built against an installed package. It decodes
 * every stream of tests/data/golden.tsv, compresses each blob back, and
 * compresses the sample to its pinned stream.
 *
 *     consumer_c SOURCE_DIR
 *
 * Exits with 1 if any check fails. */
#include <venk/venk.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const char *source_dir;
static int failures;

static void check(int passed, const char *what, const char *name) {
    if (!passed) {
        fprintf(stderr, "consumer_c: %s: %s\n", name, what);
        ++failures;
    }
}

/* The whole file, in memory from malloc; exits if it cannot be read. */
static uint8_t *read_file(const char *directory, const char *name, size_t *size) {
    char path[4096];
    FILE *file;
    long length = -1;
    uint8_t *bytes = NULL;
    sprintf(path, "%.2000s/%s/%.1000s", source_dir, directory, name);
    if ((file = fopen(path, "rb")) != NULL && fseek(file, 0, SEEK_END) == 0 && (length = ftell(file)) >= 0) {
        rewind(file);
        bytes = malloc((size_t)length + 1);
    }
    if (bytes == NULL || fread(bytes, 1, (size_t)length, file) != (size_t)length) {
        fprintf(stderr, "consumer_c: can't read %s\n", path);
        exit(2);
    }
    fclose(file);
    *size = (size_t)length;
    return bytes;
}

/* Compresses or decompresses into a buffer of the size the bound gives. */
static int run(int compressing, const uint8_t *input, size_t input_size, const venk_options *options,
               venk_figures *figures, uint8_t **output, size_t *output_size) {
    const size_t capacity =
        compressing ? venk_compress_bound(input_size) : venk_decompress_bound(input, input_size);
    *output = malloc(capacity + 1);
    return (compressing ? venk_compress : venk_decompress)(input, input_size, *output, capacity, output_size,
                                                          options, figures);
}

static void check_golden_row(const char *file, const char *variant, const char *result, const char *expected) {
    venk_options options = VENK_OPTIONS_INIT;
    venk_figures figures = VENK_FIGURES_INIT;
    size_t stream_size, blob_size, expected_size, again_size, back_size;
    uint8_t *stream = read_file("tests/data", file, &stream_size), *blob = NULL, *again = NULL, *back = NULL;
    uint8_t *expected_blob;
    options.variant = strcmp(variant, "15") == 0 ? VENK_FORMAT_VENK15 : VENK_FORMAT_VENK16;
    if (strcmp(result, "RESULT_OK") != 0) {
        check(run(0, stream, stream_size, &options, NULL, &blob, &blob_size) == VENK_RESULT_INVALID_STREAM,
              "not rejected as invalid", file);
        free(blob);
        free(stream);
        return;
    }
    expected_blob = read_file("tests/data", expected, &expected_size);
    check(run(0, stream, stream_size, &options, &figures, &blob, &blob_size) == VENK_RESULT_OK &&
              blob_size == expected_size && memcmp(blob, expected_blob, blob_size) == 0,
          "did not decompress to its blob", file);
    check(figures.stream_size == stream_size && figures.tiles * 32 == blob_size, "wrong figures", file);
    if (expected_size > 0) {
        check(run(1, blob, blob_size, &options, NULL, &again, &again_size) == VENK_RESULT_OK &&
                  run(0, again, again_size, &options, NULL, &back, &back_size) == VENK_RESULT_OK &&
                  back_size == blob_size && memcmp(back, blob, blob_size) == 0,
              "its blob did not compress and come back", file);
        free(again);
        free(back);
    }
    free(expected_blob);
    free(blob);
    free(stream);
}

static void check_golden_table(void) {
    int rows = 0;
    size_t size;
    char *table = (char *)read_file("tests/data", "golden.tsv", &size), *line, *end;
    table[size] = '\0';
    for (line = table; (end = strchr(line, '\n')) != NULL; line = end + 1) {
        char *fields[4] = {NULL, NULL, NULL, NULL};
        int count;
        *end = '\0';
        fields[0] = strtok(line, "\t");
        for (count = 1; count < 4 && fields[count - 1] != NULL; ++count) {
            fields[count] = strtok(NULL, "\t");
        }
        if (fields[3] != NULL && strcmp(fields[0], "file") != 0) {
            check_golden_row(fields[0], fields[1], fields[2], fields[3]);
            ++rows;
        }
    }
    check(rows > 20, "too few rows", "golden.tsv");
    free(table);
}

static void check_sample(void) {
    /* The variant left 0: the default, VENK16. */
    venk_options best = {.struct_size = sizeof best, .level = VENK_LEVEL_BEST};
    venk_figures figures = VENK_FIGURES_INIT;
    size_t sample_size, pinned_size, stream_size;
    uint8_t *sample = read_file("examples", "sample_tiles.bin", &sample_size);
    uint8_t *pinned = read_file("tests/data", "sample_tiles_best.venk", &pinned_size), *stream = NULL;
    check(run(1, sample, sample_size, NULL, &figures, &stream, &stream_size) == VENK_RESULT_OK &&
              stream_size == 7148 && figures.stream_size == 7148,
          "the default stream is not 7148 bytes", "sample");
    free(stream);
    check(run(1, sample, sample_size, &best, NULL, &stream, &stream_size) == VENK_RESULT_OK &&
              stream_size == pinned_size && memcmp(stream, pinned, pinned_size) == 0,
          "the best layout is not the pinned stream", "sample");
    check(venk_compress(sample, sample_size, stream, pinned_size - 1, &stream_size, &best, NULL) ==
                  VENK_RESULT_BUFFER_TOO_SMALL && stream_size == 0,
          "a buffer one byte short was not refused", "sample");
    check(strcmp(venk_result_message(VENK_RESULT_WRITE_ERROR), "can't write to output file") == 0,
          "venk_result_message does not give the tool's text", "sample");
    check(venk_version_number() >= VENK_VERSION_NUMBER, "the library is older than its header", "version");
    {
        /* The sample cut in two and packed is the sample's stream; cut
           inside a tile, the pack names its first part. */
        const uint8_t *parts[2];
        size_t part_sizes[2];
        parts[0] = sample;
        parts[1] = sample + 96 * 32;
        part_sizes[0] = 96 * 32;
        part_sizes[1] = sample_size - 96 * 32;
        check(venk_compress_pack(parts, part_sizes, 2, stream, pinned_size, &stream_size, &best, NULL) ==
                      VENK_RESULT_OK && stream_size == pinned_size && memcmp(stream, pinned, pinned_size) == 0,
              "the sample packed in two parts is not its stream", "sample");
        part_sizes[0] -= 1;
        check(venk_compress_pack(parts, part_sizes, 2, stream, pinned_size, &stream_size, &best, &figures) ==
                      VENK_RESULT_BAD_INPUT_SIZE && figures.failed_input == 0 && figures.tiles == 0,
              "a part cut inside a tile was not named", "sample");
    }
    free(stream);
    free(pinned);
    free(sample);
}

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: consumer_c SOURCE_DIR\n");
        return 2;
    }
    source_dir = argv[1];
    check_golden_table();
    check_sample();
    if (failures == 0) {
        printf("consumer_c: all checks passed with venk %s\n", venk_version());
    }
    return failures == 0 ? 0 : 1;
}
