// Writing source output: the codec's bytes are collected in memory, then
// turned into text.
#pragma once

#include "output_file.hpp"
#include "source_output.hpp"

#include <venk/venk.hpp>

#include <vector>

namespace venk::cli {

// An output stream into memory. Memory that runs out is a failed write,
// which result() reports as RESULT_OUT_OF_MEMORY.
class MemoryOutputStream final : public OutputStream {
public:
    std::size_t write(std::span<const std::uint8_t> bytes) override;
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    // The result of a codec call that wrote here.
    ResultCode result(ResultCode codec_result) const;

private:
    std::vector<std::uint8_t> bytes_;
    bool out_of_memory_ = false;
};

// Writes the whole text to the file; RESULT_WRITE_ERROR if any of it is lost.
ResultCode write_text(OutputFile& file, std::string_view text);

}  // namespace venk::cli
