// Names for the rows of parameterized tests: "Row<index>_" and the letters
// and digits of a few words of the row, so a failing row can be recognised
// in a test log (gtest otherwise names it by its index or its raw bytes).
//
//   INSTANTIATE_TEST_SUITE_P(Rows, Parsing, ::testing::ValuesIn(kCases),
//                            [](const auto& info) { return test::RowName(info.index, {info.param.input}); });
#pragma once

#include <cctype>
#include <cstddef>
#include <initializer_list>
#include <string>

namespace test {

inline std::string RowName(size_t index, std::initializer_list<const char*> words) {
    std::string name = "Row" + std::to_string(index);
    for (const char* word : words) {
        if (!word) continue;
        std::string part;
        for (const char* p = word; *p && part.size() < 24; ++p)
            if (std::isalnum(static_cast<unsigned char>(*p))) part += *p;
        if (!part.empty()) name += "_" + part;
    }
    return name;
}

}  // namespace test
