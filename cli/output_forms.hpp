// The forms of a run's files, each one function behind one interface: the
// output as source text or as a picture, a C output's header, the index
// file, the palette file, and a tile map and its header. (The binary stream is the codec's own, written
// as it comes, and has no form here.)
#pragma once

#include "input_files.hpp"
#include "output_set.hpp"
#include "run_files.hpp"
#include "source_output.hpp"

#include <cstdint>
#include <span>
#include <string>

namespace venk::cli {

// What a run made, from which each form writes its file.
struct RunProducts {
    const Request& request;
    const InputFiles& inputs;
    const Figures& figures;
    std::span<const std::uint8_t> data;      // held in memory: source output's bytes, a picture's tiles
    std::span<const std::uint16_t> colours;  // a picture's palette, none for grey
    SourceContent content;                   // the constants that source, header and index name
};

// Whether the file in `role` has a form of its own: every file but a binary
// output.
bool has_form(OutputRole role, const Request& request);

// The bytes of the file in `role`, in its form, or the failure. May throw
// std::bad_alloc.
ResultCode write_form(OutputRole role, const RunProducts& products, std::string& bytes);

}  // namespace venk::cli
