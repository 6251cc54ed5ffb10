// Memory streams for tests that can fail on demand: a read error once a given
// number of bytes has been delivered, or a short write once a given number of
// bytes has been accepted or on one given call only.
#pragma once

#include <venk/venk.hpp>

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace venk::test {

inline constexpr std::size_t NEVER = std::numeric_limits<std::size_t>::max();

class TestInput final : public InputStream {
public:
    explicit TestInput(std::vector<std::uint8_t> bytes, std::size_t fail_after = NEVER)
        : bytes_(std::move(bytes)), fail_after_(fail_after) {}

    std::size_t read(std::span<std::uint8_t> buffer) override {
        const std::size_t available = std::min(bytes_.size(), fail_after_);
        const std::size_t count = std::min(buffer.size(), available - std::min(position_, available));
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(position_), count, buffer.begin());
        position_ += count;
        if (count < buffer.size()) {
            // Past the failure point the source fails; at the real end it ends.
            (position_ >= fail_after_ ? error_ : at_end_) = true;
        }
        ++read_calls;
        return count;
    }
    bool at_end() const override { return at_end_; }
    bool has_error() const override { return error_; }

    std::size_t read_calls = 0;

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t fail_after_;
    std::size_t position_ = 0;
    bool at_end_ = false;
    bool error_ = false;
};

class TestOutput final : public OutputStream {
public:
    explicit TestOutput(std::size_t accept_limit = NEVER) : accept_limit_(accept_limit) {}

    std::size_t write(std::span<const std::uint8_t> bytes) override {
        const std::size_t room = accept_limit_ - std::min(accept_limit_, written.size());
        const bool short_call = write_calls++ == short_write_call && !bytes.empty();
        const std::size_t count = std::min(bytes.size() - (short_call ? 1 : 0), room);
        written.insert(written.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
        return count;
    }

    std::vector<std::uint8_t> written;
    // The call (counting from 0) that accepts one byte fewer than given,
    // while every other call accepts what it can.
    std::size_t short_write_call = NEVER;
    std::size_t write_calls = 0;

private:
    std::size_t accept_limit_;
};

}  // namespace venk::test
