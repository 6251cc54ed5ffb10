// The calls of venk 1.2 and earlier, each a thin wrapper of the call that
// replaced it.
#include <venk/venk.hpp>

namespace venk {
namespace {

// The old calls take an unknown variant or level as the lowest named one,
// whose streams every reader accepts and whose bytes are fixed, where
// Options refuse it.
Options options_of(FormatVariant variant, CompressionLevel level = LEVEL_DEFAULT) {
    Options options;
    options.variant = variant == FORMAT_VENK16 ? FORMAT_VENK16 : FORMAT_VENK15;
    options.level = level == LEVEL_BEST ? LEVEL_BEST : LEVEL_DEFAULT;
    return options;
}

// Runs `call(figures)` and, on success, stores its figures in `stats` if the
// caller asked for them.
template <typename Call>
ResultCode with_stats(StreamStats* stats, Call call) {
    Figures figures;
    const ResultCode result = call(stats != nullptr ? &figures : nullptr);
    if (result == RESULT_OK && stats != nullptr) {
        *stats = {figures.tiles,           figures.distinct_blocks, figures.dictionary_size,
                  figures.dictionary_limit, figures.stream_size,     figures.blob_size};
    }
    return result;
}

}  // namespace

ResultCode compress_tiles(InputStream& input, OutputStream& output, FormatVariant variant) {
    return compress(input, output, options_of(variant));
}

ResultCode compress_tiles_at_level(InputStream& input, OutputStream& output, FormatVariant variant,
                                   CompressionLevel level, StreamStats* stats) {
    return with_stats(stats, [&](Figures* figures) {
        return compress(input, output, options_of(variant, level), figures);
    });
}

ResultCode decompress_tiles(InputStream& input, OutputStream& output, FormatVariant variant) {
    return decompress(input, output, options_of(variant));
}

ResultCode decompress_tiles_with_stats(InputStream& input, OutputStream& output, FormatVariant variant,
                                       StreamStats* stats) {
    return with_stats(stats, [&](Figures* figures) { return decompress(input, output, options_of(variant), figures); });
}

ResultCode compress_memory(std::span<const std::uint8_t> blob, FormatVariant variant,
                           std::vector<std::uint8_t>& stream) {
    return compress(blob, stream, options_of(variant));
}

ResultCode compress_memory_at_level(std::span<const std::uint8_t> blob, FormatVariant variant,
                                    std::vector<std::uint8_t>& stream, CompressionLevel level, StreamStats* stats) {
    return with_stats(stats, [&](Figures* figures) {
        return compress(blob, stream, options_of(variant, level), figures);
    });
}

ResultCode decompress_memory(std::span<const std::uint8_t> stream, FormatVariant variant,
                             std::vector<std::uint8_t>& blob) {
    return decompress(stream, blob, options_of(variant));
}

}  // namespace venk
