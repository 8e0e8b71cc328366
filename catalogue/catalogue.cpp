#include "catalogue.h"

#include "discpath.h"
#include "textdecoding.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace catalogue {

namespace {

// Below this, starting a thread costs more than it saves.
constexpr std::uintmax_t kParallelDecodeBytes = 1 << 20;

TextBuffer ReadWholeFile(const std::filesystem::path& path, const std::string& shownPath)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) throw CatalogueError("File not found", shownPath);
        if (error == EACCES || error == EPERM) throw CatalogueError("Access denied", shownPath);
        throw CatalogueError(std::string("Cannot open the file: ") + std::strerror(error),
                             shownPath);
    }
    struct Closer
    {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        throw CatalogueError(S_ISDIR(st.st_mode) ? "Is a folder, not a file" : "Not a regular file",
                             shownPath);
    // The size is only a hint: a file on a disc does not change, but one elsewhere may.
    size_t capacity = static_cast<size_t>(st.st_size) + 1;
    TextBuffer buffer = TextBuffer::WithSize(capacity);
    size_t size = 0;
    for (;;) {
        if (size == capacity) {
            TextBuffer bigger = TextBuffer::WithSize(capacity * 2);
            std::memcpy(bigger.data.get(), buffer.data.get(), size);
            buffer = std::move(bigger);
            capacity *= 2;
        }
        const ssize_t n = ::read(fd, buffer.data.get() + size, capacity - size);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw CatalogueError(std::string("Read error: ") + std::strerror(errno), shownPath);
        }
        if (n == 0) break;
        size += static_cast<size_t>(n);
    }
    buffer.size = size;
    return buffer;
}

} // namespace

namespace {

// The file behind a catalogue path, or the error that reading it would raise.
ResolvedDiscPath ResolveCatalogueFile(DiscPathResolver& resolver, std::string_view path)
{
    ResolvedDiscPath file = resolver.Resolve(path);
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
    // A pipe or a device would block the read or never end it.
    if (file.kind != DiscEntryKind::File) throw CatalogueError("Not a regular file", file.relative);
    return file;
}

DecodedText ReadResolved(const ResolvedDiscPath& file)
{
    try {
        return DecodeCatalogueText(ReadWholeFile(file.path, file.relative));
    } catch (const std::bad_alloc&) {
        throw CatalogueError("The file is too large to read", file.relative);
    }
}

} // namespace

DecodedText ReadCatalogueText(DiscPathResolver& resolver, std::string_view path)
{
    return ReadResolved(ResolveCatalogueFile(resolver, path));
}

std::vector<std::string> ReadCatalogueFile(DiscPathResolver& resolver, std::string_view path)
{
    const DecodedText text = ReadCatalogueText(resolver, path);
    return {text.lines.begin(), text.lines.end()};
}

void WarmUp(const std::filesystem::path& discRoot)
{
    try {
        LineCollator collation(LineCollator::LocaleFromEnvironment());
        DiscPathResolver resolver(discRoot);
        std::vector<std::string_view> files(kContentFiles.begin(), kContentFiles.end());
        files.insert(files.end(), {kMenuFile, kAboutManualFile, kAboutMidiFile});
        for (const std::string_view file : files) {
            ResolvedDiscPath found;
            try {
                found = ResolveCatalogueFile(resolver, file); // a regular file, or it throws
            } catch (const CatalogueError&) {
                continue;
            }
            const int fd = ::open(found.path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
            if (fd < 0) continue;
            ::posix_fadvise(fd, 0, 0, POSIX_FADV_WILLNEED);
            ::close(fd);
        }
    } catch (...) {
        // The load will meet the same trouble and report it.
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

    constexpr size_t kFiles = kContentFiles.size();
    std::array<ResolvedDiscPath, kFiles> files;
    std::array<DecodedText, kFiles> texts;
    std::array<std::exception_ptr, kFiles> errors;
    uintmax_t bytes = 0;
    for (size_t f = 0; f < kFiles; ++f) {
        try {
            files[f] = ResolveCatalogueFile(*resolver_, kContentFiles[f]);
            std::error_code ec;
            bytes += std::filesystem::file_size(files[f].path, ec);
        } catch (...) {
            errors[f] = std::current_exception();
        }
    }

    // A big catalogue decodes its files on both cores; the order of the pool does not depend
    // on which finishes first, and the error reported is that of the first file that fails.
    std::atomic<size_t> next = 0;
    const auto work = [&] {
        for (size_t f; (f = next++) < kFiles;) {
            if (errors[f]) continue;
            try {
                texts[f] = ReadResolved(files[f]);
            } catch (...) {
                errors[f] = std::current_exception();
            }
        }
    };
    if (bytes >= kParallelDecodeBytes) {
        std::thread helper(work);
        work();
        helper.join();
    } else {
        work();
    }
    for (const auto& e : errors)
        if (e) std::rethrow_exception(e);

    ContentPool pool;
    size_t lines = 0;
    for (const auto& t : texts)
        lines += t.lines.size();
    pool.lines.reserve(lines);
    pool.origins.reserve(lines);
    for (size_t f = 0; f < kFiles; ++f) {
        for (size_t k = 0; k < texts[f].lines.size(); ++k)
            pool.origins.push_back({static_cast<int>(f), static_cast<int>(k + 1)});
        pool.lines.insert(pool.lines.end(), texts[f].lines.begin(), texts[f].lines.end());
        pool.texts.push_back(std::move(texts[f].text));
    }
    return pool;
}

void Catalogue::ReadMenuAndAboutFiles()
{
    // Each file is read whole before anything is assigned, so a failure leaves its values as
    // they were; lines a shorter menu file does not reach keep their earlier text.
    std::vector<std::string> menu = ReadCatalogueFile(*resolver_, kMenuFile);
    if (menu.size() > menuLines_.size()) menuLines_.resize(menu.size());
    for (size_t k = 0; k < menu.size(); ++k)
        menuLines_[k] = std::move(menu[k]);
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
    for (auto [d, k] : dropped)
        report.duplicates.push_back({d, k});

    // Built aside and swapped in, so that running out of memory half-way leaves the old tables.
    // The tables are sized first; reading the codes in pool order keeps that pass in the cache.
    std::array<Category, kCategoryCount> fresh;
    std::vector<std::uint8_t> codes(pool.lines.size());
    for (size_t i = 0; i < pool.lines.size(); ++i) {
        const std::string_view line = pool.lines[i];
        codes[i] = static_cast<std::uint8_t>(CategoryOfCode(line.substr(0, line.find('@'))));
    }
    std::array<size_t, kCategoryCount + 1> counts{};
    for (size_t index : sorted)
        ++counts[codes[index]];
    for (size_t c = 0; c < fresh.size(); ++c)
        fresh[c].reserve(counts[c + 1]);
    // In sorted order the lines are scattered over the files; fetching a few ahead hides the
    // wait for memory, which is most of this loop's time in a big catalogue.
    constexpr size_t kAhead = 8;
    for (size_t k = 0; k < sorted.size(); ++k) {
        if (k + kAhead < sorted.size()) __builtin_prefetch(pool.lines[sorted[k + kAhead]].data());
        const size_t index = sorted[k];
        const ContentRecord record = ContentRecord::Split(pool.lines[index]);
        const int c = codes[index];
        if (c == 0) {
            report.uncategorised.emplace_back(index, WhyNoCategory(record.code));
            continue;
        }
        fresh[static_cast<size_t>(c - 1)].push_back(
            {record.title, record.folder, record.description, pool.origins[index]});
    }
    categories_.swap(fresh);
    texts_.swap(pool.texts);
    return report;
}

const Catalogue::Item* Catalogue::ItemAt(int category, int item) const
{
    if (category < 1 || category > kCategoryCount) return nullptr;
    const Category& c = categories_[static_cast<size_t>(category - 1)];
    if (item < 1 || static_cast<size_t>(item) > c.size()) return nullptr;
    return &c[static_cast<size_t>(item - 1)];
}

int Catalogue::CategoryItemCount(int category) const
{
    if (category < 1 || category > kCategoryCount) return 0;
    return static_cast<int>(categories_[static_cast<size_t>(category - 1)].size());
}

std::string_view Catalogue::CategoryTitles(int category, int item) const
{
    const Item* i = ItemAt(category, item);
    return i ? i->title : std::string_view();
}

std::string_view Catalogue::CategoryFolders(int category, int item) const
{
    const Item* i = ItemAt(category, item);
    return i ? i->folder : std::string_view();
}

std::string_view Catalogue::CategoryDescriptions(int category, int item) const
{
    const Item* i = ItemAt(category, item);
    return i ? i->description : std::string_view();
}

LineOrigin Catalogue::CategoryItemOrigin(int category, int item) const
{
    const Item* i = ItemAt(category, item);
    return i ? i->origin : LineOrigin{};
}

const std::string& Catalogue::MenuLines(int line) const
{
    static const std::string empty;
    if (line < 1 || static_cast<size_t>(line) > menuLines_.size()) return empty;
    return menuLines_[static_cast<size_t>(line - 1)];
}

} // namespace catalogue
