// The texts of the error numbers, as compiled into the portable core from the
// source list src/resources/error_texts.txt (the same list the string table
// of DOVE60.exe is made from).
#pragma once

#include <cstddef>

namespace dove::err {

struct TextEntry {
    int id;
    const char* text;
};

// The generated table, sorted by id; *count receives its length.
const TextEntry* BuiltInTable(size_t* count);

}  // namespace dove::err
