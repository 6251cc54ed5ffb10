// Windows declares rand_s only when this is defined before its C library
// headers are first included, so it comes before every include.
#if defined(_WIN32)
#define _CRT_RAND_S
#endif

#include "system_random.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#if defined(__linux__) && __has_include(<sys/random.h>)
#define VENK_GETRANDOM
#include <sys/random.h>

#include <cerrno>
#elif defined(__APPLE__) || defined(__FreeBSD__) || defined(__OpenBSD__) || defined(__NetBSD__) || \
    defined(__DragonFly__)
#define VENK_ARC4RANDOM
#include <stdlib.h>
#endif

namespace venk {

bool system_random_bytes(std::span<std::uint8_t> bytes) {
#if defined(VENK_GETRANDOM)
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = getrandom(bytes.data() + filled, bytes.size() - filled, 0);
        if (got < 0 && errno != EINTR) {
            return false;
        }
        filled += got > 0 ? static_cast<std::size_t>(got) : 0;
    }
    return true;
#elif defined(VENK_ARC4RANDOM)
    arc4random_buf(bytes.data(), bytes.size());
    return true;
#elif defined(_WIN32)
    for (std::size_t at = 0; at < bytes.size(); at += sizeof(unsigned int)) {
        unsigned int word = 0;
        if (rand_s(&word) != 0) {
            return false;
        }
        std::memcpy(bytes.data() + at, &word, std::min(sizeof word, bytes.size() - at));
    }
    return true;
#else
    static_cast<void>(bytes);
    return false;
#endif
}

}  // namespace venk
