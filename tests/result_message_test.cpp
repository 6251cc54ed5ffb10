// The library's text for each result: the tool's exact words, which programs
// that embed the codec show their users.
#include <venk/venk.hpp>

#include <gtest/gtest.h>

#include <string>

namespace venk {
namespace {

TEST(ResultMessage, EveryCodeHasTheToolsText) {
    const struct {
        ResultCode result;
        const char* text;
    } cases[] = {
        {RESULT_READ_ERROR, "can't read from input file"},
        {RESULT_WRITE_ERROR, "can't write to output file"},
        {RESULT_BAD_INPUT_SIZE, "input file size isn't a multiple of 32 bytes"},
        {RESULT_NO_TILES, "input file needs to have at least one tile"},
        {RESULT_TOO_BIG, "output file is too big for VENK"},
        {RESULT_INVALID_STREAM, "input file isn't valid VENK"},
        {RESULT_OUT_OF_MEMORY, "ran out of memory"},
        {RESULT_INVALID_OPTIONS, "options or figures struct isn't supported by this version of venk"},
        {RESULT_BUFFER_TOO_SMALL, "output buffer is too small"},
        // No failure, and values that name no result.
        {RESULT_OK, "unknown error"},
        {static_cast<ResultCode>(10), "unknown error"},
        {static_cast<ResultCode>(255), "unknown error"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::string(result_message(c.result)), c.text) << "result " << int{c.result};
    }
}

}  // namespace
}  // namespace venk
