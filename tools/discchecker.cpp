#include "discchecker.h"

#include "catalogue.h"
#include "categories.h"
#include "discpath.h"

#include <algorithm>
#include <map>
#include <set>

namespace tools {

namespace {

using catalogue::Catalogue;
using catalogue::DiscPathStatus;
using catalogue::NoCategoryReason;

// What readers of the original format kept; more is read here, but a disc may meet them.
constexpr size_t kOldLineLimit = 1000;
constexpr size_t kOldFieldLimit = 18;
constexpr int kOldItemLimit = 500;
constexpr size_t kOldMenuLimit = 100;

std::string Quoted(std::string_view s)
{
    std::string q;
    q.reserve(s.size() + 2);
    q.append(1, '\'').append(s).append(1, '\'');
    return q;
}

// The menu lines the window shows, by section: the caption, then the sub-item captions.
struct MenuBlock
{
    int section;
    int caption;
    int firstSubItem;
    int subItems;
};
constexpr MenuBlock kMenuBlocks[] = {
    {1, 1, 2, 4},   {2, 7, 8, 4},   {3, 13, 14, 3}, {4, 19, 20, 4},
    {5, 25, 26, 2}, {6, 31, 32, 3}, {7, 37, 38, 3},
};

class Checker
{
public:
    Checker(const std::filesystem::path& root, const PictureCheck& picture)
        : catalogue_(root), resolver_(catalogue_.Resolver()), picture_(picture)
    {
    }

    std::vector<Diagnostic> Run()
    {
        const bool contentRead = CheckCatalogueFiles();
        if (contentRead) CheckContent();
        std::stable_sort(lineDiagnostics_.begin(), lineDiagnostics_.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<Diagnostic> all = std::move(fileDiagnostics_);
        for (auto& [order, d] : lineDiagnostics_)
            all.push_back(std::move(d));
        for (auto& d : pictureDiagnostics_)
            all.push_back(std::move(d));
        return all;
    }

private:
    using Order = std::pair<int, int>; // content file, line

    std::string ContentPath(int file) const { return contentPaths_[static_cast<size_t>(file)]; }

    void AtLine(catalogue::LineOrigin at, Severity s, std::string message)
    {
        lineDiagnostics_.push_back(
            {{at.file, at.line}, {ContentPath(at.file), at.line, s, std::move(message)}});
    }
    void AtFile(std::string path, int line, Severity s, std::string message)
    {
        fileDiagnostics_.push_back({std::move(path), line, s, std::move(message)});
    }

    // Reads one catalogue file for the file-level checks; nothing when it cannot be read.
    std::optional<std::vector<std::string>> Read(std::string_view windowsPath, std::string& shown)
    {
        const auto r = resolver_.Resolve(windowsPath);
        shown =
            r.status == DiscPathStatus::Missing ? catalogue::DisplayPath(windowsPath) : r.relative;
        if (r.status == DiscPathStatus::FoundOtherCase)
            AtFile(catalogue::DisplayPath(windowsPath), 0, Severity::Warning,
                   "found only as " + Quoted(r.relative) +
                       ": the name differs in letter case, which a case-sensitive system may "
                       "not forgive");
        try {
            return catalogue::ReadCatalogueFile(resolver_, windowsPath);
        } catch (const catalogue::CatalogueError& e) {
            AtFile(shown, 0, Severity::Error, e.what());
            return std::nullopt;
        }
    }

    bool CheckCatalogueFiles()
    {
        bool contentRead = true;
        size_t total = 0;
        for (size_t f = 0; f < catalogue::kContentFiles.size(); ++f) {
            const auto lines = Read(catalogue::kContentFiles[f], contentPaths_[f]);
            if (!lines) {
                contentRead = false;
                continue;
            }
            if (total <= kOldLineLimit && total + lines->size() > kOldLineLimit)
                AtLine({static_cast<int>(f), static_cast<int>(kOldLineLimit - total + 1)},
                       Severity::Warning,
                       "content line " + std::to_string(kOldLineLimit + 1) +
                           " of the five files: older readers keep only the first " +
                           std::to_string(kOldLineLimit));
            total += lines->size();
        }

        std::string menuPath;
        if (const auto menu = Read(catalogue::kMenuFile, menuPath)) CheckMenu(*menu, menuPath);
        for (auto file : {catalogue::kAboutManualFile, catalogue::kAboutMidiFile}) {
            std::string shown;
            if (const auto about = Read(file, shown)) CheckAbout(*about, shown);
        }
        return contentRead;
    }

    void CheckMenu(const std::vector<std::string>& menu, const std::string& path)
    {
        const int have = static_cast<int>(menu.size());
        for (const auto& b : kMenuBlocks) {
            const int last = b.firstSubItem + b.subItems - 1;
            if (have >= last) continue;
            const int from = std::max(have + 1, b.caption);
            const std::string lines =
                from == last ? "line " + std::to_string(last)
                             : "lines " + std::to_string(from) + " to " + std::to_string(last);
            const std::string what =
                (from == b.caption ? "the caption and sub-item captions" : "sub-item captions") +
                std::string(" of section ") + std::to_string(b.section);
            AtFile(path, 0, Severity::Warning,
                   lines + " (" + what + ") missing: the file has " + std::to_string(have) +
                       " lines, so the window shows empty captions there");
        }
        if (menu.size() > kOldMenuLimit)
            AtFile(path, static_cast<int>(kOldMenuLimit) + 1, Severity::Warning,
                   "older readers keep only the first " + std::to_string(kOldMenuLimit) +
                       " menu lines");
    }

    void CheckAbout(const std::vector<std::string>& about, const std::string& path)
    {
        if (about.empty()) {
            AtFile(path, 0, Severity::Warning, "the file is empty, so the about text stays empty");
            return;
        }
        const int last = static_cast<int>(about.size());
        if (about.back().empty())
            AtFile(path, last, Severity::Warning,
                   "the last line is empty, and the about text is the file's last line, so the "
                   "window shows an empty text (end the text with one line end, not two)");
        else if (about.size() > 1)
            AtFile(path, 1, Severity::Warning,
                   "the file has " + std::to_string(about.size()) +
                       " lines; only the last one is shown");
    }

    void CheckContent()
    {
        catalogue::ContentPool pool = catalogue_.ReadContentFiles();
        try {
            catalogue_.ReadMenuAndAboutFiles();
        } catch (const catalogue::CatalogueError&) {
            // Already reported; the items can still be checked.
        }
        // Views into the files, which the catalogue keeps once the load takes the pool.
        const std::vector<std::string_view> lines = pool.lines;
        const std::vector<catalogue::LineOrigin> origins = pool.origins;
        const auto report = catalogue_.SortAndDistribute(std::move(pool));

        for (size_t i = 0; i < lines.size(); ++i) {
            const auto record = catalogue::ContentRecord::Split(lines[i]);
            if (record.fieldCount > kOldFieldLimit)
                AtLine(origins[i], Severity::Warning,
                       std::to_string(record.fieldCount) + " fields: older readers keep only " +
                           std::to_string(kOldFieldLimit));
        }
        for (auto [index, reason] : report.uncategorised)
            AtLine(origins[index], Severity::Warning, NoCategoryMessage(lines[index], reason));
        for (const auto& d : report.duplicates) {
            if (catalogue::ContentRecord::Split(lines[d.dropped]).Category() == 0) continue;
            const auto kept = origins[d.kept];
            const std::string where = ContentPath(kept.file) + ":" + std::to_string(kept.line);
            AtLine(origins[d.dropped], Severity::Warning,
                   lines[d.dropped] == lines[d.kept]
                       ? "dropped: the same line as " + where + ", which is kept"
                       : "dropped as a duplicate of " + where +
                             ", which is kept (lines that differ only in letter case count as "
                             "the same)");
        }

        for (int c = 1; c <= catalogue::kCategoryCount; ++c) {
            const int n = catalogue_.CategoryItemCount(c);
            if (n > kOldItemLimit)
                AtLine(catalogue_.CategoryItemOrigin(c, kOldItemLimit + 1), Severity::Warning,
                       "category " + std::to_string(c) + " has " + std::to_string(n) +
                           " items: older readers keep only the first " +
                           std::to_string(kOldItemLimit));
            for (int i = 1; i <= n; ++i)
                CheckItem(c, i);
        }
    }

    static std::string NoCategoryMessage(std::string_view line, NoCategoryReason reason)
    {
        const std::string_view code = catalogue::ContentRecord::Split(line).code;
        const std::string head = "not listed: ";
        switch (reason) {
        case NoCategoryReason::EmptyCode:
            return line.empty() ? head + "the line is empty"
                                : head + "the category code (the first field) is empty";
        case NoCategoryReason::LowerCase:
            return head + "the category code " + Quoted(code) +
                   " is a lower-case letter; codes are capitals, compared exactly";
        case NoCategoryReason::LetterJ:
            return head + "'J' is no category code: the letters run from A to I, then K";
        case NoCategoryReason::SpaceBesideCode:
            return head + "a space beside the category code in " + Quoted(code);
        case NoCategoryReason::TooLong:
            return head + "the category code " + Quoted(code) +
                   " has more than one character (is an \"@\" missing after it?)";
        case NoCategoryReason::UnknownCode:
        case NoCategoryReason::None:
            break;
        }
        return head + Quoted(code) + " is no category code (the codes are 1 to 9, A to I and K)";
    }

    void CheckItem(int c, int i)
    {
        const std::string_view folder = catalogue_.CategoryFolders(c, i);
        const auto at = catalogue_.CategoryItemOrigin(c, i);
        const auto& rules = catalogue::PathsOfCategory(c);

        if (catalogue::LeavesDisc(folder)) {
            AtLine(at, Severity::Error,
                   "the folder entry " + Quoted(folder) +
                       " leaves the disc (an absolute path, a drive letter or a \"..\" step); "
                       "the item is never opened");
            return;
        }
        if (folder.empty())
            AtLine(at, Severity::Warning,
                   "the folder entry is empty: opening the item opens the whole folder " +
                       Quoted(catalogue::DisplayPath(rules.itemBase)));

        CheckPath(at, catalogue::OpenTarget(c, folder), "folder", Severity::Error, "");
        const auto preview = CheckPath(at, catalogue::PreviewPath(c, folder), "preview picture",
                                       Severity::Warning, "");
        if (preview) CheckPicture(*preview);
        const bool dataOnly = rules.fullBase != rules.itemBase;
        const auto full = CheckPath(
            at, catalogue::FullPicturePath(c, folder), "full-size picture", Severity::Warning,
            dataOnly ? " (this category looks for it directly under Data, not under " +
                           Quoted(catalogue::DisplayPath(rules.itemBase)) + ")"
                     : "");
        if (full) CheckPicture(*full);
    }

    // Reports what is wrong with the path; returns the file when there is one to look into.
    std::optional<catalogue::ResolvedDiscPath>
    CheckPath(catalogue::LineOrigin at, const std::string& windowsPath, const std::string& what,
              Severity whenMissing, const std::string& hint)
    {
        const auto r = resolver_.Resolve(windowsPath);
        const std::string shown = Quoted(catalogue::DisplayPath(windowsPath));
        switch (r.status) {
        case DiscPathStatus::Missing:
            AtLine(at, whenMissing, "no " + what + " " + shown + hint);
            return std::nullopt;
        case DiscPathStatus::OutsideDisc:
            AtLine(at, Severity::Error, "the " + what + " " + shown + " leads off the disc");
            return std::nullopt;
        case DiscPathStatus::FoundOtherCase:
            AtLine(at, Severity::Warning,
                   "the " + what + " " + shown + " exists only as " + Quoted(r.relative) +
                       " (the letter case differs)");
            break;
        case DiscPathStatus::Found:
            break;
        }
        if (what != "folder" && r.kind != catalogue::DiscEntryKind::File) {
            AtLine(at, Severity::Warning, "the " + what + " " + shown + " is a folder, not a file");
            return std::nullopt;
        }
        return r;
    }

    void CheckPicture(const catalogue::ResolvedDiscPath& file)
    {
        if (!checkedPictures_.insert(file.relative).second) return;
        if (const auto problem = picture_(file.path))
            pictureDiagnostics_.push_back(
                {file.relative, 0, Severity::Error, "not a decodable JPEG picture: " + *problem});
    }

    Catalogue catalogue_;
    catalogue::DiscPathResolver& resolver_;
    const PictureCheck& picture_;
    std::array<std::string, 5> contentPaths_;
    std::vector<Diagnostic> fileDiagnostics_;
    std::vector<std::pair<Order, Diagnostic>> lineDiagnostics_;
    std::vector<Diagnostic> pictureDiagnostics_;
    std::set<std::string> checkedPictures_;
};

} // namespace

std::vector<Diagnostic> CheckDisc(const std::filesystem::path& root, const PictureCheck& picture)
{
    return Checker(root, picture).Run();
}

std::string FormatDiagnostic(const Diagnostic& d)
{
    std::string s = d.path;
    if (d.line > 0) s.append(1, ':').append(std::to_string(d.line));
    s.append(d.severity == Severity::Error ? ": error: " : ": warning: ").append(d.message);
    return s;
}

} // namespace tools
