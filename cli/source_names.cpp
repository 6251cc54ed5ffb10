#include "source_names.hpp"

#include <algorithm>
#include <cctype>

namespace venk::cli {
namespace {

// The keywords of C23 and C++20 that are spelt like plain identifiers.
constexpr std::string_view KEYWORDS[] = {
    "alignas", "alignof", "and", "and_eq", "asm", "auto", "bitand", "bitor", "bool", "break", "case", "catch",
    "char", "char16_t", "char32_t", "char8_t", "class", "co_await", "co_return", "co_yield", "compl", "concept",
    "const", "const_cast", "consteval", "constexpr", "constinit", "continue", "decltype", "default", "delete", "do",
    "double", "dynamic_cast", "else", "enum", "explicit", "export", "extern", "false", "float", "for", "friend",
    "goto", "if", "inline", "int", "long", "mutable", "namespace", "new", "noexcept", "not", "not_eq", "nullptr",
    "operator", "or", "or_eq", "private", "protected", "public", "register", "reinterpret_cast", "requires",
    "restrict", "return", "short", "signed", "sizeof", "static", "static_assert", "static_cast", "struct",
    "switch", "template", "this", "thread_local", "throw", "true", "try", "typedef", "typeid", "typename",
    "typeof", "typeof_unqual", "union", "unsigned", "using", "virtual", "void", "volatile", "wchar_t", "while",
    "xor", "xor_eq",
};

// What GNU as in MRI mode (as -M) refuses as a label, in any case: the
// registers of the whole 68000 family, CPU32 and ColdFire, and a few names
// of cache and FPU operands, as measured on binutils 2.40 with -m68000.
constexpr std::string_view REGISTERS[] = {
    "a0", "a0l", "a0u", "a1", "a1l", "a1u", "a2", "a2l", "a2u", "a3", "a3l", "a3u", "a4", "a4l", "a4u", "a5",
    "a5l", "a5u", "a6", "a6l", "a6u", "a7", "a7l", "a7u", "ac", "ac0", "ac1", "acc", "acc0", "acc1", "acc2",
    "acc3", "accext01", "accext23", "acr0", "acr1", "acr2", "acr3", "acr4", "acr5", "acr6", "acr7", "acusr",
    "asid", "bac0", "bac1", "bac2", "bac3", "bac4", "bac5", "bac6", "bac7", "bad0", "bad1", "bad2", "bad3",
    "bad4", "bad5", "bad6", "bad7", "bc", "buscr", "caar", "cac", "cacr", "cal", "cc", "ccr", "control", "cop0",
    "cop1", "cop2", "cop3", "cop4", "cop5", "cop6", "cop7", "cpucr", "crp", "d0", "d0l", "d0u", "d1", "d1l",
    "d1u", "d2", "d2l", "d2u", "d3", "d3l", "d3u", "d4", "d4l", "d4u", "d5", "d5l", "d5u", "d6", "d6l", "d6u",
    "d7", "d7l", "d7u", "dacr0", "dacr1", "dc", "dfc", "dfcr", "drp", "dtt0", "dtt1", "edrambar", "flashbar",
    "fp", "fp0", "fp1", "fp2", "fp3", "fp4", "fp5", "fp6", "fp7", "fpc", "fpcr", "fpi", "fpiar", "fps", "fpsr",
    "iacr0", "iacr1", "iaddr", "ic", "isp", "itt0", "itt1", "macsr", "mask", "mbar2", "mbb", "mbo", "mmubar",
    "mmusr", "mpcr", "msp", "nc", "pc", "pcr", "pcr1l0", "pcr1l1", "pcr1u0", "pcr1u1", "pcr2l0", "pcr2l1",
    "pcr2u0", "pcr2u1", "pcr3l0", "pcr3l1", "pcr3u0", "pcr3u1", "pcsr", "psr", "rambar0", "rambar1", "rgpiobar",
    "rombar", "rombar0", "rombar1", "scc", "secmbar", "sfc", "sfcr", "sp", "sr", "srp", "ssp", "status", "tc",
    "tcr", "tt0", "tt1", "urp", "usp", "val", "vbr", "za0", "za1", "za2", "za3", "za4", "za5", "za6", "za7",
    "zd0", "zd1", "zd2", "zd3", "zd4", "zd5", "zd6", "zd7", "zpc",
};
static_assert(std::ranges::is_sorted(REGISTERS), "is_register searches the list by halves");

// The names the standard C library (C23, with its optional threads and
// atomics) declares at file scope in lower case: functions,
// objects, macros and types. A program that includes the header may not
// define them, and the functions and objects are reserved for external
// linkage in every program; compilers know many of them as built-ins.
// The functions of <math.h> and <complex.h> are below, without their f and
// l variants.
constexpr std::string_view LIBRARY_NAMES[] = {
    // <assert.h>, <ctype.h>, <errno.h>, <locale.h>, <setjmp.h>, <signal.h>, <stdarg.h>, <stddef.h>,
    // <stdnoreturn.h>
    "assert", "isalnum", "isalpha", "isblank", "iscntrl", "isdigit", "isgraph", "islower", "isprint", "ispunct",
    "isspace", "isupper", "isxdigit", "tolower", "toupper", "errno", "setlocale", "localeconv", "jmp_buf",
    "setjmp", "longjmp", "sig_atomic_t", "signal", "raise", "va_list", "va_arg", "va_copy", "va_end", "va_start",
    "ptrdiff_t", "size_t", "max_align_t", "nullptr_t", "offsetof", "unreachable", "noreturn",
    // <fenv.h>, <inttypes.h>, <math.h> macros and types, <complex.h> macros
    "fenv_t", "fexcept_t", "femode_t", "feclearexcept", "fegetexceptflag", "feraiseexcept", "fesetexcept",
    "fesetexceptflag", "fetestexceptflag", "fetestexcept", "fegetmode", "fegetround", "fegetenv", "feholdexcept",
    "fesetenv", "fesetmode", "fesetround", "feupdateenv", "imaxdiv_t", "imaxabs", "imaxdiv", "strtoimax",
    "strtoumax", "wcstoimax", "wcstoumax", "float_t", "double_t", "fpclassify", "iscanonical", "isfinite", "isinf",
    "isnan", "isnormal", "signbit", "issignaling", "issubnormal", "iszero", "isgreater", "isgreaterequal",
    "isless", "islessequal", "islessgreater", "isunordered", "iseqsig", "complex", "imaginary",
    // <stdio.h>
    "stdin", "stdout", "stderr", "fpos_t", "remove", "rename", "tmpfile", "tmpnam", "fclose", "fflush", "fopen",
    "freopen", "setbuf", "setvbuf", "fprintf", "fscanf", "printf", "scanf", "snprintf", "sprintf", "sscanf",
    "vfprintf", "vfscanf", "vprintf", "vscanf", "vsnprintf", "vsprintf", "vsscanf", "fgetc", "fgets", "fputc",
    "fputs", "getc", "getchar", "gets", "putc", "putchar", "puts", "ungetc", "fread", "fwrite", "fgetpos", "fseek",
    "fsetpos", "ftell", "rewind", "clearerr", "feof", "ferror", "perror",
    // <stdlib.h>
    "div_t", "ldiv_t", "lldiv_t", "atof", "atoi", "atol", "atoll", "strtod", "strtof", "strtold", "strtol",
    "strtoll", "strtoul", "strtoull", "strfromd", "strfromf", "strfroml", "rand", "srand", "aligned_alloc",
    "calloc", "free", "free_sized", "free_aligned_sized", "malloc", "realloc", "abort", "atexit", "at_quick_exit",
    "exit", "getenv", "quick_exit", "system", "bsearch", "qsort", "abs", "labs", "llabs", "div", "ldiv", "lldiv",
    "mblen", "mbtowc", "wctomb", "mbstowcs", "wcstombs", "memalignment", "call_once", "once_flag",
    "kill_dependency", "ckd_add", "ckd_sub", "ckd_mul",
    // <string.h>, <time.h>, <uchar.h>
    "memcpy", "memccpy", "memmove", "strcpy", "strncpy", "strdup", "strndup", "strcat", "strncat", "memcmp",
    "strcmp", "strcoll", "strncmp", "strxfrm", "memchr", "strchr", "strcspn", "strpbrk", "strrchr", "strspn",
    "strstr", "strtok", "memset", "memset_explicit", "strerror", "strlen", "clock_t", "time_t", "clock",
    "difftime", "mktime", "timegm", "time", "timespec_get", "timespec_getres", "asctime", "ctime", "gmtime",
    "gmtime_r", "localtime", "localtime_r", "strftime", "mbstate_t", "mbrtoc8", "c8rtomb", "mbrtoc16",
    "c16rtomb", "mbrtoc32", "c32rtomb",
    // <wchar.h> (with the names that start with wcs below), <wctype.h>
    "wint_t", "fwprintf", "fwscanf", "swprintf", "swscanf", "vfwprintf", "vfwscanf", "vswprintf", "vswscanf",
    "vwprintf", "vwscanf", "wprintf", "wscanf", "fgetwc", "fgetws", "fputwc", "fputws", "fwide", "getwc",
    "getwchar", "putwc", "putwchar", "ungetwc", "wmemcpy", "wmemmove", "wmemcmp", "wmemchr", "wmemset", "btowc",
    "wctob", "mbsinit", "mbrlen", "mbrtowc", "wcrtomb", "mbsrtowcs", "wctrans_t", "wctype_t", "iswalnum",
    "iswalpha", "iswblank", "iswcntrl", "iswdigit", "iswgraph", "iswlower", "iswprint", "iswpunct", "iswspace",
    "iswupper", "iswxdigit", "iswctype", "wctype", "towlower", "towupper", "towctrans", "wctrans",
};

// The functions of <math.h> and <complex.h>, each also with the suffix f
// (float) and l (long double).
constexpr std::string_view MATH_FUNCTIONS[] = {
    "acos", "asin", "atan", "atan2", "cos", "sin", "tan", "acospi", "asinpi", "atanpi", "atan2pi", "cospi", "sinpi",
    "tanpi", "acosh", "asinh", "atanh", "cosh", "sinh", "tanh", "exp", "exp10", "exp10m1", "exp2", "exp2m1",
    "expm1", "frexp", "ilogb", "ldexp", "llogb", "log", "log10", "log10p1", "log1p", "logp1", "log2", "log2p1",
    "logb", "modf", "scalbn", "scalbln", "cbrt", "compoundn", "fabs", "hypot", "pow", "pown", "powr", "rootn",
    "rsqrt", "sqrt", "erf", "erfc", "lgamma", "tgamma", "ceil", "floor", "nearbyint", "rint", "lrint", "llrint",
    "round", "lround", "llround", "roundeven", "trunc", "fromfp", "ufromfp", "fromfpx", "ufromfpx", "fmod",
    "remainder", "remquo", "copysign", "nan", "nextafter", "nexttoward", "nextup", "nextdown", "canonicalize",
    "fdim", "fmax", "fmin", "fmaximum", "fminimum", "fmaximum_mag", "fminimum_mag", "fmaximum_num", "fminimum_num",
    "fmaximum_mag_num", "fminimum_mag_num", "fma", "totalorder", "totalordermag", "getpayload", "setpayload",
    "setpayloadsig", "fadd", "dadd", "fsub", "dsub", "fmul", "dmul", "fdiv", "ddiv", "ffma", "dfma", "fsqrt",
    "dsqrt", "cacos", "casin", "catan", "ccos", "csin", "ctan", "cacosh", "casinh", "catanh", "ccosh", "csinh",
    "ctanh", "cexp", "clog", "cabs", "cpow", "csqrt", "carg", "cimag", "conj", "cproj", "creal",
};

// Whole families of the standard library: <stdint.h>'s types (int...t,
// uint...t), <threads.h>, <stdatomic.h>, <stdbit.h> and the wide string
// functions.
constexpr std::string_view LIBRARY_PREFIXES[] = {"atomic_", "memory_order", "cnd_", "mtx_", "thrd_", "tss_",
                                                 "stdc_", "wcs"};

bool is_ascii_letter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool is_ascii_alphanumeric(char c) {
    return is_ascii_letter(c) || (c >= '0' && c <= '9');
}

bool is_keyword(std::string_view name) {
    return std::ranges::find(KEYWORDS, name) != std::ranges::end(KEYWORDS);
}

bool is_register(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return std::ranges::binary_search(REGISTERS, std::string_view(lower));
}

bool is_library_name(std::string_view name) {
    const auto listed = [](const auto& list, std::string_view word) {
        return std::ranges::find(list, word) != std::ranges::end(list);
    };
    const bool math_variant = (name.ends_with('f') || name.ends_with('l')) &&
                              listed(MATH_FUNCTIONS, name.substr(0, name.size() - 1));
    const bool integer_type = (name.starts_with("int") || name.starts_with("uint")) && name.ends_with("_t");
    return listed(LIBRARY_NAMES, name) || listed(MATH_FUNCTIONS, name) || math_variant || integer_type ||
           std::ranges::any_of(LIBRARY_PREFIXES, [&](std::string_view prefix) { return name.starts_with(prefix); });
}

// Names that a C or C++ program cannot give a global array: main, the C++
// namespaces std, std followed by digits and posix, and the library's.
bool is_reserved(std::string_view name) {
    const bool std_namespace =
        name.starts_with("std") && std::ranges::all_of(name.substr(3), [](char c) { return c >= '0' && c <= '9'; });
    return name == "main" || name == "posix" || std_namespace || is_library_name(name);
}

}  // namespace

bool is_usable_symbol(std::string_view name) {
    if (name.empty() || !is_ascii_letter(name.front()) || name.back() == '_' ||
        name.find("__") != std::string_view::npos) {
        return false;
    }
    const bool plain = std::ranges::all_of(name, [](char c) { return is_ascii_alphanumeric(c) || c == '_'; });
    return plain && !is_keyword(name) && !is_register(name) && !is_reserved(name);
}

std::string index_name_from_file_name(const std::filesystem::path& input) {
    const std::u8string stem = input.stem().u8string();
    std::string name;
    for (const char8_t unit : stem) {
        const char c = static_cast<char>(unit);
        if (is_ascii_alphanumeric(c)) {
            name += c;
        } else if (!name.empty() && name.back() != '_') {
            name += '_';
        }
    }
    if (!name.empty() && name.back() == '_') {
        name.pop_back();
    }
    return name.empty() ? "venk" : name;
}

std::string symbol_from_file_name(const std::filesystem::path& output) {
    const std::string symbol = index_name_from_file_name(output);
    return is_usable_symbol(symbol) ? symbol : "venk_" + symbol;
}

bool can_be_included(const std::filesystem::path& header) {
    return std::ranges::none_of(header.filename().u8string(), [](char8_t unit) {
        return unit == u8'"' || unit == u8'\\' || unit < 0x20 || unit == 0x7F;
    });
}

std::string include_guard(std::string_view file_name) {
    std::string guard;
    for (const char c : file_name) {
        if (is_ascii_alphanumeric(c)) {
            guard += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        } else if (!guard.empty() && guard.back() != '_') {
            guard += '_';
        }
    }
    if (!guard.empty() && guard.back() == '_') {
        guard.pop_back();
    }
    if (guard.empty() || !is_ascii_letter(guard.front())) {
        guard.insert(0, "VENK_");
    }
    return guard + "_FROM_VENK";
}

std::filesystem::path header_beside(const std::filesystem::path& output) {
    return std::filesystem::path(output).replace_extension(".h");
}

bool is_header_name(const std::filesystem::path& output) {
    const std::filesystem::path extension = output.extension();
    return extension == ".h" || extension == ".H";
}

}  // namespace venk::cli
