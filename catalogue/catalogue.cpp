#include "catalogue.h"

#include "discpath.h"
#include "textdecoding.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

namespace catalogue {

namespace {

const std::string kEmpty;

std::string ReadWholeFile(const std::filesystem::path& path, const std::string& shownPath)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) throw CatalogueError("File not found", shownPath);
        if (error == EACCES || error == EPERM) throw CatalogueError("Access denied", shownPath);
        throw CatalogueError(std::string("Cannot open the file: ") + std::strerror(error),
                             shownPath);
    }
    std::string bytes;
    try {
        char buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
    } catch (const std::bad_alloc&) {
        std::fclose(file);
        throw CatalogueError("The file is too large to read", shownPath);
    }
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) throw CatalogueError(std::string("Read error: ") + std::strerror(error), shownPath);
    return bytes;
}

} // namespace

std::vector<std::string> ReadCatalogueFile(DiscPathResolver& resolver, std::string_view path)
{
    const ResolvedDiscPath file = resolver.Resolve(path);
    switch (file.status) {
    case DiscPathStatus::Missing:
    case DiscPathStatus::OutsideDisc:
        throw CatalogueError("File not found", file.relative);
    case DiscPathStatus::Found:
    case DiscPathStatus::FoundOtherCase:
        break;
    }
    if (file.kind == DiscEntryKind::Folder)
        throw CatalogueError("Is a folder, not a file", file.relative);
    try {
        return DecodeCatalogueLines(ReadWholeFile(file.path, file.relative));
    } catch (const std::bad_alloc&) {
        throw CatalogueError("The file is too large to read", file.relative);
    }
}

Catalogue::Catalogue(std::filesystem::path discRoot)
    : Catalogue(std::move(discRoot),
                std::make_unique<LineCollator>(LineCollator::LocaleFromEnvironment()))
{
}

Catalogue::Catalogue(std::filesystem::path discRoot, std::unique_ptr<LineCollator> collator)
    : resolver_(std::make_unique<DiscPathResolver>(std::move(discRoot))),
      collator_(std::move(collator)), menuLines_(100)
{
}

Catalogue::~Catalogue() = default;

void Catalogue::Load()
{
    ContentPool pool = ReadContentFiles();
    ReadMenuAndAboutFiles();
    SortAndDistribute(std::move(pool));
}

ContentPool Catalogue::ReadContentFiles()
{
    // The disc may have been changed since the last load.
    resolver_->ClearCache();
    ContentPool pool;
    for (size_t f = 0; f < kContentFiles.size(); ++f) {
        std::vector<std::string> lines = ReadCatalogueFile(*resolver_, kContentFiles[f]);
        pool.origins.reserve(pool.origins.size() + lines.size());
        for (size_t k = 0; k < lines.size(); ++k)
            pool.origins.push_back({static_cast<int>(f), static_cast<int>(k + 1)});
        if (pool.lines.empty()) {
            pool.lines = std::move(lines);
        } else {
            pool.lines.insert(pool.lines.end(), std::make_move_iterator(lines.begin()),
                              std::make_move_iterator(lines.end()));
        }
    }
    return pool;
}

void Catalogue::ReadMenuAndAboutFiles()
{
    // Each file is read whole before anything is assigned, so a failure leaves its values as
    // they were; lines a shorter menu file does not reach keep their earlier text.
    std::vector<std::string> menu = ReadCatalogueFile(*resolver_, kMenuFile);
    if (menu.size() > menuLines_.size()) menuLines_.resize(menu.size());
    for (size_t k = 0; k < menu.size(); ++k) menuLines_[k] = std::move(menu[k]);
    menuFileLines_ = static_cast<int>(menu.size());

    // An about text is the last line of its file; an empty file leaves the text as it was.
    std::vector<std::string> manual = ReadCatalogueFile(*resolver_, kAboutManualFile);
    if (!manual.empty()) aboutManualText_ = std::move(manual.back());
    std::vector<std::string> midi = ReadCatalogueFile(*resolver_, kAboutMidiFile);
    if (!midi.empty()) aboutMidiText_ = std::move(midi.back());
}

DistributionReport Catalogue::SortAndDistribute(ContentPool pool)
{
    DistributionReport report;
    std::vector<std::pair<size_t, size_t>> dropped;
    const std::vector<size_t> sorted = collator_->SortUnique(pool.lines, &dropped);
    report.duplicates.reserve(dropped.size());
    for (auto [d, k] : dropped) report.duplicates.push_back({d, k});

    // Built aside and swapped in, so that running out of memory half-way leaves the old tables.
    std::array<Category, kCategoryCount> fresh;
    for (size_t index : sorted) {
        ContentRecord record = ContentRecord::Split(pool.lines[index]);
        const int c = record.Category();
        if (c == 0) {
            report.uncategorised.emplace_back(index, WhyNoCategory(record.code));
            continue;
        }
        Category& cat = fresh[static_cast<size_t>(c - 1)];
        cat.titles.push_back(std::move(record.title));
        cat.folders.push_back(std::move(record.folder));
        cat.descriptions.push_back(std::move(record.description));
        cat.origins.push_back(pool.origins[index]);
    }
    categories_.swap(fresh);
    return report;
}

const Catalogue::Category* Catalogue::CategoryAt(int category) const
{
    if (category < 1 || category > kCategoryCount) return nullptr;
    return &categories_[static_cast<size_t>(category - 1)];
}

const std::string& Catalogue::Entry(const std::vector<std::string>& list, int item)
{
    if (item < 1 || static_cast<size_t>(item) > list.size()) return kEmpty;
    return list[static_cast<size_t>(item - 1)];
}

int Catalogue::CategoryItemCount(int category) const
{
    const Category* c = CategoryAt(category);
    return c ? static_cast<int>(c->titles.size()) : 0;
}

const std::string& Catalogue::CategoryTitles(int category, int item) const
{
    const Category* c = CategoryAt(category);
    return c ? Entry(c->titles, item) : kEmpty;
}

const std::string& Catalogue::CategoryFolders(int category, int item) const
{
    const Category* c = CategoryAt(category);
    return c ? Entry(c->folders, item) : kEmpty;
}

const std::string& Catalogue::CategoryDescriptions(int category, int item) const
{
    const Category* c = CategoryAt(category);
    return c ? Entry(c->descriptions, item) : kEmpty;
}

LineOrigin Catalogue::CategoryItemOrigin(int category, int item) const
{
    const Category* c = CategoryAt(category);
    if (!c || item < 1 || static_cast<size_t>(item) > c->origins.size()) return {};
    return c->origins[static_cast<size_t>(item - 1)];
}

const std::string& Catalogue::MenuLines(int line) const
{
    return Entry(menuLines_, line);
}

} // namespace catalogue
