#!/usr/bin/env python3
"""Compresses tiles with the venk shared library through ctypes, and back.

    python3 venk_ctypes.py [PATH_TO_LIBVENK]
"""
import ctypes
import sys

VENK_RESULT_OK, VENK_FORMAT_VENK16, VENK_LEVEL_BEST = 0, 2, 1


class Options(ctypes.Structure):
    _fields_ = [("struct_size", ctypes.c_uint32), ("variant", ctypes.c_uint32), ("level", ctypes.c_uint32)]


venk = ctypes.CDLL(sys.argv[1] if len(sys.argv) > 1 else "libvenk.so.1")
venk.venk_compress_bound.restype = ctypes.c_size_t
venk.venk_compress_bound.argtypes = [ctypes.c_size_t]
venk.venk_decompress_bound.restype = ctypes.c_size_t
venk.venk_decompress_bound.argtypes = [ctypes.c_char_p, ctypes.c_size_t]
venk.venk_result_message.restype = ctypes.c_char_p
for function in venk.venk_compress, venk.venk_decompress:
    function.argtypes = [ctypes.c_char_p, ctypes.c_size_t, ctypes.c_char_p, ctypes.c_size_t,
                         ctypes.POINTER(ctypes.c_size_t), ctypes.POINTER(Options), ctypes.c_void_p]


def run(function, data, capacity, options):
    output = ctypes.create_string_buffer(capacity)
    size = ctypes.c_size_t()
    result = function(data, len(data), output, capacity, ctypes.byref(size), ctypes.byref(options), None)
    if result != VENK_RESULT_OK:
        raise RuntimeError(venk.venk_result_message(result).decode())
    return output.raw[:size.value]


def compress(blob, options):
    return run(venk.venk_compress, blob, venk.venk_compress_bound(len(blob)), options)


def decompress(stream, options):
    return run(venk.venk_decompress, stream, venk.venk_decompress_bound(stream, len(stream)), options)


options = Options(ctypes.sizeof(Options), VENK_FORMAT_VENK16, VENK_LEVEL_BEST)
blob = bytes(i * 7 // 2 % 5 for i in range(600 * 32))  # 600 tiles of few distinct rows
stream = compress(blob, options)
if decompress(stream, options) != blob:
    sys.exit("venk_ctypes: the round trip changed the tiles")
print(f"venk_ctypes: {len(blob)} bytes of tiles -> {len(stream)} bytes of VENK and back")
try:
    compress(blob[:33], options)
    sys.exit("venk_ctypes: a partial tile was accepted")
except RuntimeError as error:
    print(f"venk_ctypes: 33 bytes of tiles: {error}")  # input file size isn't a multiple of 32 bytes
