#pragma once
// Turns the disc's Windows relative paths (".\Data\Soft\abc\foto.jpg") into files under the
// disc root. A disc authored on Windows and mounted on Linux often differs from its catalogue
// in letter case (an ISO 9660 disc without Joliet shows lower-case names), so a component that
// does not exist as written is looked up again ignoring letter case.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace catalogue {

enum class DiscPathStatus {
    Found,          // exists exactly as written
    FoundOtherCase, // exists, but only with other letter case somewhere on the way
    Missing,        // no such file or folder, in any letter case
    OutsideDisc,    // absolute, a drive letter, a ".." step, or a link that leads off the disc
};

enum class DiscEntryKind { None, File, Folder, Other };

struct ResolvedDiscPath
{
    DiscPathStatus status = DiscPathStatus::Missing;
    DiscEntryKind kind = DiscEntryKind::None;
    std::filesystem::path path; // the real path on this machine when found
    std::string relative;       // the real path relative to the root, with "/" separators
};

// True when the Windows path would leave the disc before anything is looked up: it starts
// with a separator, names a drive ("C:"), or has a ".." step.
bool LeavesDisc(std::string_view windowsPath);

// The path as the disc author wrote it, relative to the root with "/" separators and the "."
// and empty steps left out: ".\Data\\x" gives "Data/x". For messages.
std::string DisplayPath(std::string_view windowsPath);

// Letter case folded (Unicode simple folding) for comparing names; the bytes of invalid UTF-8
// are kept as they are.
std::string FoldCase(std::string_view utf8);

// Resolves disc paths, caching the listings of the folders it had to search. The cache is
// only as fresh as the last ClearCache(): callers drop it when the disc may have changed.
class DiscPathResolver
{
public:
    explicit DiscPathResolver(std::filesystem::path root);

    const std::filesystem::path& Root() const { return root_; }

    ResolvedDiscPath Resolve(std::string_view windowsPath);
    void ClearCache();

private:
    struct Listing
    {
        std::vector<std::pair<std::string, std::string>> entries; // folded name, real name
    };
    const Listing& ListingOf(const std::filesystem::path& folder);
    bool InsideRoot(const std::filesystem::path& p);

    std::filesystem::path root_;
    std::filesystem::path canonicalRoot_;
    std::map<std::string, Listing> listings_;
};

} // namespace catalogue
