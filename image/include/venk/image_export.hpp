// Marks what the venk image library exports, as venk/export.hpp does for the
// codec: the image part is a library of its own (a DLL of its own on
// Windows), so it has its own pair of macros. The build defines
// VENK_IMAGE_BUILDING_SHARED while compiling the DLL, and its CMake package
// and pkg-config file define VENK_IMAGE_SHARED for the programs that use it.
#pragma once

#if defined(_WIN32) || defined(__CYGWIN__)
#if defined(VENK_IMAGE_BUILDING_SHARED)
#define VENK_IMAGE_API __declspec(dllexport)
#elif defined(VENK_IMAGE_SHARED)
#define VENK_IMAGE_API __declspec(dllimport)
#else
#define VENK_IMAGE_API
#endif
#elif defined(__GNUC__)
#define VENK_IMAGE_API __attribute__((visibility("default")))
#else
#define VENK_IMAGE_API
#endif
