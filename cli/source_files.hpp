// Writing source output: the codec's bytes are collected in memory, turned
// into text, and the output file and, for C, its header are put in place
// together, only once both are written.
#pragma once

#include "output_file.hpp"
#include "source_output.hpp"

#include <venk/venk.hpp>

#include <vector>

namespace venk::cli {

// The guard slot of a C output's header; the output itself has slot 0.
inline constexpr int HEADER_GUARD_SLOT = 1;

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

// Writes `content` in `form` to `output` and, if `header` is given, the C
// header to it (its file name is what the C file includes). Then closes
// both, and puts them in place only if everything succeeded. Returns the
// first failure.
ResultCode write_source_files(SourceForm form, const SourceContent& content, OutputFile& output,
                              OutputFile* header, std::string_view header_file_name);

// Closes the output and, if given, the header after a run that ended with
// `result`, putting them in place only if it and both closes succeeded.
ResultCode close_together(ResultCode result, OutputFile& output, OutputFile* header);

}  // namespace venk::cli
