#pragma once
// The nineteen categories: their one-character codes and the fixed rules that turn an item's
// folder entry into the paths of its folder, preview picture and full-size picture.

#include <string>
#include <string_view>

namespace catalogue {

inline constexpr int kCategoryCount = 19;

// "1".."9", "A".."I", "K" for categories 1..19; empty for any other number.
std::string_view CodeOfCategory(int category);

// The category whose code equals `field` byte for byte, or 0 when there is none.
int CategoryOfCode(std::string_view field);

// Why a line's first field names no category; None when it does.
enum class NoCategoryReason {
    None,
    EmptyCode,       // the line is empty or starts with "@"
    LowerCase,       // a lower-case letter, e.g. "a" (codes are capitals)
    LetterJ,         // "J": the letters run A to I and then K
    SpaceBesideCode, // " 1", "1 " and the like
    TooLong,         // two or more characters
    UnknownCode,     // any other single character
};
NoCategoryReason WhyNoCategory(std::string_view field);

// The per-category path rules. All texts are Windows relative paths as the disc's
// catalogue knows them; a folder entry is inserted as stored, nothing trimmed or added.
struct CategoryPaths
{
    std::string_view itemBase;    // B: the preview and the open target are under it
    std::string_view previewName; // N: starts with a backslash
    std::string_view fullBase;    // H: the full-size picture "\foto.jpg" is under it
    bool showsAboutMidiText;      // the description pane shows the about text instead
    bool noticeWhenNoPreview;     // the "no screenshot" notice shows when the preview is missing
};

// Rules of category 1..19; categories outside that range get category 1's rules.
const CategoryPaths& PathsOfCategory(int category);

inline constexpr std::string_view kFullPictureName = "\\foto.jpg";

std::string PreviewPath(int category, std::string_view folder);     // B + F + N
std::string OpenTarget(int category, std::string_view folder);      // B + F
std::string FullPicturePath(int category, std::string_view folder); // H + F + "\foto.jpg"

// The whole folders that two sub-items open.
inline constexpr std::string_view kPicturesFolder = ".\\Data\\Pictures\\";
inline constexpr std::string_view kVideoFolder = ".\\Data\\Video\\";

} // namespace catalogue
