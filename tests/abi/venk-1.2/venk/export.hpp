// Marks what the venk library exports. The library is built with every other
// symbol hidden, so its internals never clash with a caller's own names.
//
// Only Windows needs to know whether the library is a DLL: the build defines
// VENK_BUILDING_SHARED while compiling the DLL itself, and its CMake package
// and pkg-config file define VENK_SHARED for the programs that use it.
#pragma once

#if defined(_WIN32) || defined(__CYGWIN__)
#if defined(VENK_BUILDING_SHARED)
#define VENK_API __declspec(dllexport)
#elif defined(VENK_SHARED)
#define VENK_API __declspec(dllimport)
#else
#define VENK_API
#endif
#elif defined(__GNUC__)
#define VENK_API __attribute__((visibility("default")))
#else
#define VENK_API
#endif
