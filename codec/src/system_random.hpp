// Random bytes from the operating system, drawn through a system call rather
// than by reading a device file: the library promises never to open a file.
#pragma once

#include <cstdint>
#include <span>

namespace venk {

// Fills `bytes` from the system's random source: getrandom on Linux,
// arc4random_buf on macOS and the BSDs, rand_s on Windows. False, with the
// bytes unspecified, where the platform has none of these or the call fails
// (a Linux kernel older than 3.17 has no getrandom).
bool system_random_bytes(std::span<std::uint8_t> bytes);

}  // namespace venk
