#pragma once
// One content line split into its fields.

#include "categories.h"

#include <string>
#include <string_view>

namespace catalogue {

// Fields are separated by "@" with no quoting or escape. Only the first four mean anything:
// the category code, the title, the folder and the description; the rest are counted and
// otherwise ignored.
struct ContentRecord {
    std::string code;
    std::string title;
    std::string folder;
    std::string description;
    size_t fieldCount = 0; // separators + 1, however many

    static ContentRecord Split(std::string_view line);
    int Category() const { return CategoryOfCode(code); }
};

} // namespace catalogue
