// LodePNG's state for reading, owned, with the checks that fuzzing turns off.
#pragma once

#include <lodepng.h>

namespace venk::image_detail {

struct ReadingState {
    LodePNGState state;
    ReadingState() {
        lodepng_state_init(&state);
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
        // A fuzzer cannot forge checksums: without them, its mutations reach
        // the decoding and the tiles instead of stopping at the first chunk.
        state.decoder.ignore_crc = 1;
        state.decoder.zlibsettings.ignore_adler32 = 1;
#endif
    }
    ~ReadingState() { lodepng_state_cleanup(&state); }
    ReadingState(const ReadingState&) = delete;
    ReadingState& operator=(const ReadingState&) = delete;
};

}  // namespace venk::image_detail
