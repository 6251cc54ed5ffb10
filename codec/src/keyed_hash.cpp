#include "keyed_hash.hpp"

#include "system_random.hpp"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <new>
#include <random>

namespace venk {
namespace {

std::uint64_t device_word(std::random_device& device) {
    const std::uint64_t high = device();
    return high << 32 | device();
}

// The system's random key, or else std::random_device's, which some runtimes
// read from a file such as /dev/urandom: only a platform with no random
// system call, or a call that fails, gets there. All zero if neither works.
HashKey system_key() {
    std::array<std::uint8_t, sizeof(HashKey)> bytes{};
    if (system_random_bytes(bytes)) {
        HashKey key{};
        std::memcpy(&key, bytes.data(), sizeof key);
        return key;
    }
    try {
        std::random_device device;
        return {device_word(device), device_word(device)};
    } catch (const std::bad_alloc&) {
        throw;
    } catch (...) {
        return {0, 0};  // no random device either: the mix below still varies
    }
}

}  // namespace

TabulationHash::TabulationHash(const HashKey& key) : tables_{} {
    std::uint64_t counter = 0;
    for (auto& table : tables_) {
        for (std::size_t i = 0; i < table.size(); i += 4) {
            const std::uint64_t random = siphash13(key, counter++);
            for (std::size_t j = 0; j < 4; ++j) {
                table[i + j] = static_cast<std::uint16_t>(random >> (16 * j));
            }
        }
    }
}

HashKey random_hash_key() {
    const HashKey drawn_key = system_key();
    // Mixed in whatever the system gave: some runtimes' random_device is a
    // fixed-seed generator. Addresses vary between processes where the
    // system randomizes them; the clocks and the counter vary between calls.
    // 32 bits: a 64-bit atomic is a call into libatomic on some 32-bit CPUs
    // (m68k), which the programs do not link.
    static std::atomic<std::uint32_t> calls{0};
    const int local = 0;
    const auto address = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(&local));
    const auto data = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(&calls));
    const auto steady = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    const auto system = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    const std::uint64_t count = calls.fetch_add(1, std::memory_order_relaxed);
    return {siphash13(drawn_key, steady ^ std::rotl(address, 32) ^ count),
            siphash13(drawn_key, ~system ^ std::rotl(data, 17) ^ (count << 40))};
}

}  // namespace venk
