#include "spilling_output.hpp"

#include "platform.hpp"

#include <algorithm>
#include <array>
#include <new>

namespace venk::cli {

SpillingOutputStream::~SpillingOutputStream() {
    if (spilled_ != nullptr) {
        std::fclose(spilled_);
    }
}

std::size_t SpillingOutputStream::write(std::span<const std::uint8_t> bytes) {
    const std::size_t kept = spilled_ == nullptr ? std::min(bytes.size(), memory_limit_ - memory_.size()) : 0;
    try {
        memory_.insert(memory_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(kept));
    } catch (const std::bad_alloc&) {
        out_of_memory_ = true;
        return 0;
    }
    const std::span<const std::uint8_t> rest = bytes.subspan(kept);
    if (rest.empty()) {
        return bytes.size();
    }
    if (spilled_ == nullptr) {
        spilled_ = open_unnamed_temporary_file();
    }
    const bool written = spilled_ != nullptr && std::fwrite(rest.data(), 1, rest.size(), spilled_) == rest.size();
    spill_failed_ = spill_failed_ || !written;
    return written ? bytes.size() : kept;
}

ResultCode SpillingOutputStream::result(ResultCode codec_result) const {
    if (out_of_memory_) {
        return RESULT_OUT_OF_MEMORY;
    }
    return spill_failed_ ? RESULT_WRITE_ERROR : codec_result;
}

bool SpillingOutputStream::copy_to(std::FILE* destination) {
    if (stop_requested() || std::fwrite(memory_.data(), 1, memory_.size(), destination) != memory_.size()) {
        return false;
    }
    if (spilled_ != nullptr) {
        if (std::fflush(spilled_) != 0 || std::fseek(spilled_, 0, SEEK_SET) != 0) {
            return false;
        }
        std::array<std::uint8_t, 16384> chunk;
        for (;;) {
            const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), spilled_);
            if (stop_requested() || std::fwrite(chunk.data(), 1, got, destination) != got) {
                return false;
            }
            if (got < chunk.size()) {
                if (std::ferror(spilled_) != 0) {
                    return false;
                }
                break;
            }
        }
    }
    return std::fflush(destination) == 0;
}

}  // namespace venk::cli
