// Output held back until a run has succeeded, as standard output is: the
// first bytes in memory, and past a few MiB the rest in an unnamed temporary
// file, so that an output of any size costs bounded memory.
#pragma once

#include <venk/venk.hpp>

#include <cstdio>
#include <vector>

namespace venk::cli {

class SpillingOutputStream final : public OutputStream {
public:
    static constexpr std::size_t MEMORY_LIMIT = std::size_t{4} << 20;

    explicit SpillingOutputStream(std::size_t memory_limit = MEMORY_LIMIT) : memory_limit_(memory_limit) {}
    SpillingOutputStream(const SpillingOutputStream&) = delete;
    SpillingOutputStream& operator=(const SpillingOutputStream&) = delete;
    ~SpillingOutputStream() override;

    std::size_t write(std::span<const std::uint8_t> bytes) override;

    // The result of a codec call that wrote here: RESULT_OUT_OF_MEMORY if
    // memory ran out, RESULT_WRITE_ERROR if the temporary file failed.
    ResultCode result(ResultCode codec_result) const;

    // Copies every byte written, in order, to `destination`, and flushes it;
    // false if any of them could not be written.
    bool copy_to(std::FILE* destination);

private:
    std::vector<std::uint8_t> memory_;
    std::size_t memory_limit_;
    std::FILE* spilled_ = nullptr;
    bool out_of_memory_ = false;
    bool spill_failed_ = false;
};

}  // namespace venk::cli
