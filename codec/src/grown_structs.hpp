// Options and figures structs that carry their own size, read and written as
// the public headers promise: a caller built against an older or a newer
// release gets what it asked for, or RESULT_INVALID_OPTIONS, never a read or
// write past the struct it passed.
#pragma once

#include <venk/venk.hpp>

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace venk {

// A struct that grows must hold no padding: a caller may leave its bytes as
// anything, and a later release could not give them a meaning.
template <typename Struct>
constexpr bool HAS_NO_PADDING = std::has_unique_object_representations_v<Struct>;

// No struct grows past this; a larger struct_size is a caller's mistake, such
// as a struct left uninitialized, and is refused before a byte is touched.
inline constexpr std::size_t MOST_GROWN_SIZE = 4096;

// Whether the caller's struct, if any, has a size that the first release
// with it (`first_size`) or a later one can have given it.
template <typename Struct>
bool has_room_grown(const Struct* given, std::size_t first_size) {
    return given == nullptr || (given->struct_size >= first_size && given->struct_size <= MOST_GROWN_SIZE);
}

// Whether the caller's options struct can be used: its size is one that
// has_room_grown, and every byte past the struct this release knows is zero.
template <typename Struct>
bool is_usable_grown(const Struct& given, std::size_t first_size) {
    static_assert(HAS_NO_PADDING<Struct>);
    if (!has_room_grown(&given, first_size)) {
        return false;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(&given);
    return std::all_of(bytes + std::min<std::size_t>(given.struct_size, sizeof(Struct)), bytes + given.struct_size,
                       [](unsigned char byte) { return byte == 0; });
}

// The caller's struct as this release knows it: its first struct_size bytes
// over this release's defaults. Only for a struct that is_usable_grown.
template <typename Struct>
Struct read_grown(const Struct& given) {
    Struct known;
    std::memcpy(&known, &given, std::min<std::size_t>(given.struct_size, sizeof(Struct)));
    known.struct_size = sizeof(Struct);
    return known;
}

// Stores `known` in the caller's struct, within its struct_size: what the
// caller's struct has room for, then zeros for the fields this release does
// not know.
template <typename Struct>
void write_grown(Struct known, Struct& given) {
    static_assert(HAS_NO_PADDING<Struct>);
    const std::size_t size = given.struct_size;
    known.struct_size = given.struct_size;
    auto* bytes = reinterpret_cast<unsigned char*>(&given);
    std::memcpy(bytes, &known, std::min(size, sizeof(Struct)));
    if (size > sizeof(Struct)) {
        std::memset(bytes + sizeof(Struct), 0, size - sizeof(Struct));
    }
}

// Whether a variant and a level, as Options or venk_options hold them, are
// 0 (the default) or named values. Any other value is refused rather than
// guessed at: it may be a newer release's, or a number from elsewhere, such
// as the target decoder's 16 for VENK16. Taken as wide as the C struct's
// fields, so that 258 is not 2.
constexpr bool are_known_choices(std::uint32_t variant, std::uint32_t level) {
    return variant <= FORMAT_VENK16 && level <= LEVEL_BEST;
}

// Whether a call stores its figures after `result`: every call on success,
// and a pack also after a failure that one of its inputs caused, so that the
// figures can name that input.
constexpr bool stores_figures(ResultCode result, bool pack) {
    return result == RESULT_OK || (pack && (result == RESULT_READ_ERROR || result == RESULT_BAD_INPUT_SIZE ||
                                            result == RESULT_NO_TILES || result == RESULT_TOO_BIG));
}

// Runs `call(options, figures)` with the caller's Options as this release
// knows them and, when the caller passed a Figures, one of this release's to
// fill in, which is stored in the caller's when stores_figures says so.
template <typename Call>
ResultCode with_grown_structs(const Options& given_options, Figures* given_figures, Call call, bool pack = false) {
    // The sizes of the first release with these structs; they never change.
    constexpr std::size_t FIRST_OPTIONS_SIZE = 8;
    constexpr std::size_t FIRST_FIGURES_SIZE = 8 + 7 * sizeof(std::size_t);
    static_assert(sizeof(Options) >= FIRST_OPTIONS_SIZE && sizeof(Figures) >= FIRST_FIGURES_SIZE);
    if (!is_usable_grown(given_options, FIRST_OPTIONS_SIZE) || !has_room_grown(given_figures, FIRST_FIGURES_SIZE)) {
        return RESULT_INVALID_OPTIONS;
    }
    Options options = read_grown(given_options);
    if (options.reserved[0] != 0 || options.reserved[1] != 0 || !are_known_choices(options.variant, options.level)) {
        return RESULT_INVALID_OPTIONS;
    }
    if (options.variant == 0) {
        options.variant = FORMAT_VENK16;
    }
    Figures figures;
    const ResultCode result = call(options, given_figures != nullptr ? &figures : nullptr);
    if (stores_figures(result, pack) && given_figures != nullptr) {
        write_grown(figures, *given_figures);
    }
    return result;
}

}  // namespace venk
