#include <venk/venk.hpp>

namespace venk {

// The tool prints these after "Error: "; they live here so that a program
// embedding the codec reports failures in the same words.
const char* result_message(ResultCode result) {
    switch (result) {
    case RESULT_READ_ERROR: return "can't read from input file";
    case RESULT_WRITE_ERROR: return "can't write to output file";
    case RESULT_BAD_INPUT_SIZE: return "input file size isn't a multiple of 32 bytes";
    case RESULT_NO_TILES: return "input file needs to have at least one tile";
    case RESULT_TOO_BIG: return "output file is too big for VENK";
    case RESULT_INVALID_STREAM: return "input file isn't valid VENK";
    case RESULT_OUT_OF_MEMORY: return "ran out of memory";
    // The tool never meets this one: only a program's own options can be refused.
    case RESULT_INVALID_OPTIONS: return "options or figures struct isn't supported by this version of venk";
    // Nor this one: the tool writes to files, not to a buffer of the caller's.
    case RESULT_BUFFER_TOO_SMALL: return "output buffer is too small";
    default: return "unknown error";
    }
}

}  // namespace venk
