// One direction of the codec run through every form of call the library
// offers, for tests that hold them all to the same answers.
#pragma once

#include "support/tiles.hpp"

#include <venk/venk.hpp>

namespace venk::test {

enum class Direction { COMPRESS, DECOMPRESS };

struct Outcome {
    ResultCode result;
    Bytes output;     // empty on failure
    Figures figures;  // as initialized, on failure (but a pack's failed_input)
};

// Runs `input` through compress or decompress in memory, over streams and
// through the C interface, expects every one to give the same result, output
// and figures, and to leave the caller's figures as they were on failure, and
// returns them.
Outcome run_new_forms(Direction direction, const Bytes& input, const Options& options);

// The same through the compatibility layer, given the options' variant and
// level.
Outcome run_old_calls(Direction direction, const Bytes& input, const Options& options);

// Both of the above, which must agree.
Outcome run_every_form(Direction direction, const Bytes& input, const Options& options = {});

// Packs `blobs` in memory, over streams and through the C interface, expects
// each to give the same result, stream and figures, and returns them.
Outcome pack_every_form(const std::vector<Bytes>& blobs, const Options& options = {});

}  // namespace venk::test
