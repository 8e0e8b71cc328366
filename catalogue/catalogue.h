#pragma once
// The disc's catalogue: the nineteen category tables built from the five content files, the
// menu lines and the two about texts. Free of any user interface, so the window and the
// checker load it the same way.

#include "categories.h"
#include "collation.h"
#include "contentrecord.h"
#include "textdecoding.h"

#include <array>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace catalogue {

class DiscPathResolver;

// A catalogue file that could not be read. what() is the message the user sees ("File not
// found" for a missing file); path() names the file for tools that want it.
class CatalogueError : public std::runtime_error
{
public:
    CatalogueError(std::string message, std::string path)
        : std::runtime_error(std::move(message)), path_(std::move(path))
    {
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// The catalogue files, as the disc names them.
inline constexpr std::array<std::string_view, 5> kContentFiles = {
    ".\\DB\\dbsoft.mob", ".\\DB\\dbjava.mob", ".\\DB\\dbinstruktion.mob", ".\\DB\\dbMIDI.mob",
    ".\\DB\\dbArticles.mob"};
inline constexpr std::string_view kMenuFile = ".\\DB\\Menu.mob";
inline constexpr std::string_view kAboutManualFile = ".\\DB\\AboutManual.mob";
inline constexpr std::string_view kAboutMidiFile = ".\\DB\\AboutMIDI.mob";

// Where a line came from: the index into kContentFiles and its line number, both from 0 / 1.
struct LineOrigin
{
    int file = 0;
    int line = 0;
};

// The first half of a load: every line of the five content files, in reading order. The lines
// are views into the decoded files, which the catalogue keeps once the load is complete.
struct ContentPool
{
    std::vector<TextBuffer> texts;
    std::vector<std::string_view> lines; // UTF-8
    std::vector<LineOrigin> origins;
};

// What the second half of a load found, for the checker.
struct DistributionReport
{
    // A line left out because an earlier one compares equal: pool indices.
    struct Duplicate
    {
        size_t dropped;
        size_t kept;
    };
    std::vector<Duplicate> duplicates;
    // Lines (pool indices) that belong to no category, each with the reason.
    std::vector<std::pair<size_t, NoCategoryReason>> uncategorised;
};

// Reads one catalogue file (a Windows path under the root) and returns its lines as UTF-8.
// Throws CatalogueError.
DecodedText ReadCatalogueText(DiscPathResolver& resolver, std::string_view path);
std::vector<std::string> ReadCatalogueFile(DiscPathResolver& resolver, std::string_view path);

// Prepares what a first load needs, for a thread to do while the program starts: opens the
// collation of the user's locale, which ICU keeps once loaded, and asks the system to read the
// disc's catalogue files ahead, so that the load finds them in memory instead of waiting for
// the drive. Changes nothing a load could see, and ignores every error.
void WarmUp(const std::filesystem::path& discRoot);

class Catalogue
{
public:
    // The collation follows the user's locale from the environment.
    explicit Catalogue(std::filesystem::path discRoot);
    Catalogue(std::filesystem::path discRoot, std::unique_ptr<LineCollator> collator);
    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    // The whole load, as one activation of the window runs it. On an error the tables keep
    // what the previous complete load put there.
    void Load();

    // The load in its halves, with the menu and about files between them, so that a caller
    // can show the section captions before the content is sorted.
    ContentPool ReadContentFiles();
    void ReadMenuAndAboutFiles();
    DistributionReport SortAndDistribute(ContentPool pool);

    // Items are numbered from 1; entries past a category's count, and categories outside
    // 1..19, read as empty texts. The texts stay valid until the next complete load.
    int CategoryItemCount(int category) const;
    std::string_view CategoryTitles(int category, int item) const;
    std::string_view CategoryFolders(int category, int item) const;
    std::string_view CategoryDescriptions(int category, int item) const;
    LineOrigin CategoryItemOrigin(int category, int item) const;

    // Menu lines are numbered from 1; there are at least 100, more when the file has more.
    const std::string& MenuLines(int line) const;
    int MenuLineCount() const { return static_cast<int>(menuLines_.size()); }
    // How many lines the menu file had at the last read.
    int MenuFileLineCount() const { return menuFileLines_; }

    const std::string& AboutManualText() const { return aboutManualText_; }
    const std::string& AboutMidiText() const { return aboutMidiText_; }

    DiscPathResolver& Resolver() { return *resolver_; }

private:
    struct Item
    {
        std::string_view title, folder, description;
        LineOrigin origin;
    };
    using Category = std::vector<Item>;
    const Item* ItemAt(int category, int item) const;

    std::unique_ptr<DiscPathResolver> resolver_;
    std::unique_ptr<LineCollator> collator_;
    std::vector<TextBuffer> texts_; // what the items' texts point into
    std::array<Category, kCategoryCount> categories_;
    std::vector<std::string> menuLines_;
    int menuFileLines_ = 0;
    std::string aboutManualText_;
    std::string aboutMidiText_;
};

} // namespace catalogue
