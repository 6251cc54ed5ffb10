// The rows of data/golden.tsv and the files they name, for the tests that
// decode the hand-made streams. VENK_TEST_DATA_DIR names the directory.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace venk::test {

struct GoldenRow {
    std::string file;      // NAME.venk
    std::string variant;   // "15" or "16"
    std::string result;    // RESULT_OK or RESULT_INVALID_STREAM
    std::string expected;  // NAME.bin, or "-" when decoding must fail
    std::string what;
};

// Names the row in failure messages instead of a byte dump.
inline void PrintTo(const GoldenRow& row, std::ostream* out) { *out << row.file << " VENK" << row.variant; }

inline std::string data_path(const std::string& name) {
    return std::string(VENK_TEST_DATA_DIR) + "/" + name;
}

inline std::vector<GoldenRow> load_rows() {
    std::vector<GoldenRow> rows;
    std::ifstream in(data_path("golden.tsv"));
    std::string line;
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::istringstream fields(line);
        GoldenRow row;
        std::getline(fields, row.file, '\t');
        std::getline(fields, row.variant, '\t');
        std::getline(fields, row.result, '\t');
        std::getline(fields, row.expected, '\t');
        std::getline(fields, row.what);
        rows.push_back(row);
    }
    return rows;
}

inline std::vector<std::uint8_t> read_bytes(const std::string& name) {
    std::ifstream in(data_path(name), std::ios::binary);
    if (!in) ADD_FAILURE() << "cannot open " << data_path(name);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::uint8_t> out;
    for (const char c : bytes) out.push_back(static_cast<std::uint8_t>(c));
    return out;
}

}  // namespace venk::test
