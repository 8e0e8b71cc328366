#include "discpath.h"

#include <algorithm>
#include <system_error>
#include <unicode/ucasemap.h>

namespace catalogue {

namespace fs = std::filesystem;

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// The steps of a Windows relative path, without "." and empty steps (Windows reads
// "a\\b" as "a\b", which is what an empty folder entry produces).
std::vector<std::string_view> Steps(std::string_view path)
{
    std::vector<std::string_view> steps;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = start;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        const auto step = path.substr(start, end - start);
        if (!step.empty() && step != ".") steps.push_back(step);
        start = end + 1;
    }
    return steps;
}

std::string AsciiLower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

DiscEntryKind KindOf(const fs::path& p)
{
    std::error_code ec;
    const auto st = fs::status(p, ec);
    if (ec) return DiscEntryKind::None;
    if (fs::is_regular_file(st)) return DiscEntryKind::File;
    if (fs::is_directory(st)) return DiscEntryKind::Folder;
    if (fs::exists(st)) return DiscEntryKind::Other;
    return DiscEntryKind::None;
}

} // namespace

bool LeavesDisc(std::string_view windowsPath)
{
    if (windowsPath.empty()) return false;
    if (IsSeparator(windowsPath[0])) return true;
    if (windowsPath.size() >= 2 && windowsPath[1] == ':') return true;
    for (auto step : Steps(windowsPath))
        if (step == "..") return true;
    return false;
}

std::string DisplayPath(std::string_view windowsPath)
{
    if (LeavesDisc(windowsPath)) {
        std::string s(windowsPath);
        std::replace(s.begin(), s.end(), '\\', '/');
        return s;
    }
    std::string out;
    for (auto step : Steps(windowsPath)) {
        if (!out.empty()) out += '/';
        out.append(step);
    }
    return out;
}

std::string FoldCase(std::string_view utf8)
{
    static UCaseMap* const map = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCaseMap* m = ucasemap_open("", U_FOLD_CASE_DEFAULT, &status);
        return U_SUCCESS(status) ? m : nullptr;
    }();
    if (!map) return AsciiLower(utf8);
    std::string out(utf8.size() + 16, '\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        UErrorCode status = U_ZERO_ERROR;
        const int32_t n =
            ucasemap_utf8FoldCase(map, out.data(), static_cast<int32_t>(out.size()), utf8.data(),
                                  static_cast<int32_t>(utf8.size()), &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            out.assign(static_cast<size_t>(n), '\0');
            continue;
        }
        if (U_FAILURE(status)) break;
        out.resize(static_cast<size_t>(n));
        return out;
    }
    return AsciiLower(utf8);
}

DiscPathResolver::DiscPathResolver(fs::path root) : root_(std::move(root))
{
    std::error_code ec;
    canonicalRoot_ = fs::weakly_canonical(fs::absolute(root_, ec), ec);
}

void DiscPathResolver::ClearCache()
{
    listings_.clear();
}

const DiscPathResolver::Listing& DiscPathResolver::ListingOf(const fs::path& folder)
{
    auto [it, fresh] = listings_.try_emplace(folder.string());
    if (fresh) {
        std::error_code ec;
        for (fs::directory_iterator d(folder, ec), end; !ec && d != end; d.increment(ec)) {
            std::string name = d->path().filename().string();
            it->second.entries.emplace_back(FoldCase(name), std::move(name));
        }
        // Listing order is the file system's; sort so that a name present in several letter
        // cases always resolves to the same one.
        std::sort(it->second.entries.begin(), it->second.entries.end(),
                  [](const auto& a, const auto& b) { return a.second < b.second; });
    }
    return it->second;
}

bool DiscPathResolver::InsideRoot(const fs::path& p)
{
    std::error_code ec;
    const fs::path real = fs::weakly_canonical(p, ec);
    if (ec) return false;
    auto r = canonicalRoot_.begin();
    auto q = real.begin();
    for (; r != canonicalRoot_.end(); ++r, ++q)
        if (q == real.end() || *q != *r) return false;
    return true;
}

ResolvedDiscPath DiscPathResolver::Resolve(std::string_view windowsPath)
{
    ResolvedDiscPath result;
    if (LeavesDisc(windowsPath)) {
        result.status = DiscPathStatus::OutsideDisc;
        result.relative = DisplayPath(windowsPath);
        return result;
    }

    fs::path current = root_;
    bool otherCase = false;
    std::string relative;
    for (auto step : Steps(windowsPath)) {
        fs::path next = current / fs::path(std::string(step));
        std::string real(step);
        std::error_code ec;
        if (!fs::exists(next, ec)) {
            const std::string folded = FoldCase(step);
            const auto& entries = ListingOf(current).entries;
            const auto match = std::find_if(entries.begin(), entries.end(),
                                            [&](const auto& e) { return e.first == folded; });
            if (match == entries.end()) {
                result.status = DiscPathStatus::Missing;
                result.relative = DisplayPath(windowsPath);
                return result;
            }
            real = match->second;
            next = current / fs::path(real);
            otherCase = true;
        }
        if (!relative.empty()) relative += '/';
        relative += real;
        current = std::move(next);
    }

    // A symbolic link on the disc may point anywhere; what lies off the disc is not ours.
    if (!InsideRoot(current)) {
        result.status = DiscPathStatus::OutsideDisc;
        result.relative = relative;
        return result;
    }
    result.status = otherCase ? DiscPathStatus::FoundOtherCase : DiscPathStatus::Found;
    result.kind = KindOf(current);
    result.path = std::move(current);
    result.relative = std::move(relative);
    return result;
}

} // namespace catalogue
