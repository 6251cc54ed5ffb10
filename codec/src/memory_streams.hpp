// Byte streams over memory, behind the in-memory entry points.
#pragma once

#include <venk/venk.hpp>

#include <algorithm>
#include <cstring>

namespace venk {

class SpanInputStream final : public InputStream {
public:
    explicit SpanInputStream(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t read(std::span<std::uint8_t> buffer) override {
        const std::size_t count = std::min(buffer.size(), bytes_.size() - position_);
        if (count > 0) {
            std::memcpy(buffer.data(), bytes_.data() + position_, count);
        }
        position_ += count;
        at_end_ = count < buffer.size();
        return count;
    }
    bool at_end() const override { return at_end_; }
    bool has_error() const override { return false; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    bool at_end_ = false;
};

class VectorOutputStream final : public OutputStream {
public:
    explicit VectorOutputStream(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    // Growth failure surfaces as std::bad_alloc, which the codec reports as
    // RESULT_OUT_OF_MEMORY.
    std::size_t write(std::span<const std::uint8_t> bytes) override {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
        return bytes.size();
    }

private:
    std::vector<std::uint8_t>& bytes_;
};

// The caller's buffer of fixed capacity: bytes beyond it are not accepted,
// which the codec reports as RESULT_WRITE_ERROR and the C interface as the
// buffer being too small.
class BufferOutputStream final : public OutputStream {
public:
    explicit BufferOutputStream(std::span<std::uint8_t> buffer) : buffer_(buffer) {}

    std::size_t write(std::span<const std::uint8_t> bytes) override {
        const std::size_t count = std::min(bytes.size(), buffer_.size() - size_);
        if (count > 0) {
            std::memcpy(buffer_.data() + size_, bytes.data(), count);
        }
        size_ += count;
        overflowed_ = overflowed_ || count < bytes.size();
        return count;
    }
    std::size_t size() const { return size_; }
    // Whether some bytes found no room.
    bool overflowed() const { return overflowed_; }

private:
    std::span<std::uint8_t> buffer_;
    std::size_t size_ = 0;
    bool overflowed_ = false;
};

}  // namespace venk
