// The console's colour words: three bits a channel, each in the high three
// bits of its nibble (0000BBB0GGG0RRR0).
#include "decoded_png.hpp"

namespace venk::image_detail {

std::uint16_t colour_word(unsigned red, unsigned green, unsigned blue) {
    return static_cast<std::uint16_t>((blue >> 5) << 9 | (green >> 5) << 5 | (red >> 5) << 1);
}

void word_colour(std::uint16_t word, std::uint8_t rgb[3]) {
    for (unsigned channel = 0; channel < 3; ++channel) {
        const unsigned level = (word >> (1 + 4 * channel)) & 7;
        rgb[channel] = static_cast<std::uint8_t>(level * 255 / 7);
    }
}

}  // namespace venk::image_detail
