#include "categories.h"

#include <array>

namespace catalogue {

namespace {

constexpr std::string_view kCodes = "123456789ABCDEFGHIK";

constexpr std::string_view kJava = ".\\Data\\Java\\Data\\";
constexpr std::string_view kData = ".\\Data\\";
constexpr std::string_view kClassical = ".\\Data\\MIDI\\classical midis\\";
constexpr std::string_view kFolk = ".\\Data\\MIDI\\Folk MIDI\\";
constexpr std::string_view kSoft = ".\\Data\\Soft\\";
constexpr std::string_view kManual = ".\\Data\\Manual\\";

constexpr std::string_view kPic1 = "\\pic1.jpg";
constexpr std::string_view kResized = "\\Resize of foto.jpg";
constexpr std::string_view kFoto = "\\foto.jpg";

// Categories 4, 5 and 12 look for the full-size picture straight under Data rather than under
// their own base; discs were built around that, so it stays.
constexpr std::array<CategoryPaths, kCategoryCount> kPaths{{
    {kJava, kPic1, kJava, false, true},       // 1
    {kJava, kPic1, kJava, false, true},       // 2
    {kData, kResized, kData, false, true},    // 3
    {kClassical, kFoto, kData, true, true},   // 4
    {kFolk, kFoto, kData, true, true},        // 5
    {kSoft, kResized, kSoft, false, true},    // 6
    {kData, kResized, kData, false, true},    // 7
    {kSoft, kResized, kSoft, false, true},    // 8
    {kData, kResized, kData, false, true},    // 9
    {kSoft, kResized, kSoft, false, true},    // 10
    {kData, kResized, kData, false, true},    // 11
    {kManual, kResized, kData, false, false}, // 12
    {kData, kResized, kData, false, false},   // 13
    {kSoft, kResized, kSoft, false, true},    // 14
    {kData, kResized, kData, false, true},    // 15
    {kSoft, kResized, kSoft, false, true},    // 16
    {kSoft, kResized, kSoft, false, true},    // 17
    {kData, kResized, kData, false, true},    // 18
    {kSoft, kResized, kSoft, false, true},    // 19
}};

std::string Concat(std::string_view a, std::string_view b, std::string_view c = {})
{
    std::string s;
    s.reserve(a.size() + b.size() + c.size());
    s.append(a).append(b).append(c);
    return s;
}

} // namespace

std::string_view CodeOfCategory(int category)
{
    if (category < 1 || category > kCategoryCount) return {};
    return kCodes.substr(static_cast<size_t>(category - 1), 1);
}

int CategoryOfCode(std::string_view field)
{
    if (field.size() != 1) return 0;
    const auto at = kCodes.find(field[0]);
    return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

NoCategoryReason WhyNoCategory(std::string_view field)
{
    if (CategoryOfCode(field) != 0) return NoCategoryReason::None;
    if (field.empty()) return NoCategoryReason::EmptyCode;
    // Count characters, not bytes: a single Cyrillic letter is one character of UTF-8's two.
    size_t characters = 0;
    for (char c : field)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
    if (characters > 1) {
        const bool spaced = field.front() == ' ' || field.back() == ' ';
        if (spaced) {
            const auto first = field.find_first_not_of(' ');
            const auto last = field.find_last_not_of(' ');
            if (first != std::string_view::npos &&
                CategoryOfCode(field.substr(first, last - first + 1)) != 0)
                return NoCategoryReason::SpaceBesideCode;
        }
        return NoCategoryReason::TooLong;
    }
    const char c = field[0];
    if (c == 'J') return NoCategoryReason::LetterJ;
    if (c >= 'a' && c <= 'z') return NoCategoryReason::LowerCase;
    return NoCategoryReason::UnknownCode;
}

const CategoryPaths& PathsOfCategory(int category)
{
    if (category < 1 || category > kCategoryCount) category = 1;
    return kPaths[static_cast<size_t>(category - 1)];
}

std::string PreviewPath(int category, std::string_view folder)
{
    const auto& p = PathsOfCategory(category);
    return Concat(p.itemBase, folder, p.previewName);
}

std::string OpenTarget(int category, std::string_view folder)
{
    return Concat(PathsOfCategory(category).itemBase, folder);
}

std::string FullPicturePath(int category, std::string_view folder)
{
    return Concat(PathsOfCategory(category).fullBase, folder, kFullPictureName);
}

} // namespace catalogue
