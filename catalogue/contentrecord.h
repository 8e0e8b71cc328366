#pragma once
// One content line split into its fields.

#include "categories.h"

#include <string>
#include <string_view>

namespace catalogue {

// Fields are separated by "@" with no quoting or escape. Only the first four mean anything:
// the category code, the title, the folder and the description; the rest are counted and
// otherwise ignored. The fields are views into the line.
struct ContentRecord
{
    std::string_view code;
    std::string_view title;
    std::string_view folder;
    std::string_view description;
    size_t fieldCount = 0; // separators + 1, however many

    static ContentRecord Split(std::string_view line);
    int Category() const { return CategoryOfCode(code); }
};

} // namespace catalogue
