#pragma once
// The windows' side of the desktop: handing a path or a web address to the desktop's own
// programs, deciding which disc path is which file, and turning the disc's JPEGs into QImages.
// The windows never touch the file system or start a program except through here.

#include "discpath.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QUrl>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Windows of the program whose closing hands the focus back to the main window, and so runs
// its activation again, carry this property set to true.
inline constexpr const char* kReturnActivatesProperty = "discbrowserReturnActivates";

// Hands things to the desktop to open. Tests put a recorder in its place.
class Opener
{
public:
    virtual ~Opener() = default;
    // Opens a file or folder with the desktop's program for it.
    virtual void OpenPath(const std::filesystem::path& absolute) = 0;
    // Opens a web address in the desktop's browser; anything but http and https is ignored.
    virtual void OpenUrl(const QString& url) = 0;
};

// The file:// URL for a path; a relative one is made absolute first. An absolute path always
// gives "file:///…", so a name starting with "-" can never reach a program as an option.
QUrl LocalFileUrl(const std::filesystem::path& path);

// The address parsed strictly; an invalid QUrl unless it is a valid http or https address
// with a host.
QUrl WebUrl(const QString& url);

// The real desktop, through QDesktopServices (xdg-open on Linux, started without a shell).
// Whether the desktop managed to open anything is not examined: there is nothing useful to tell
// the user that the desktop has not already shown.
class DesktopOpener : public Opener
{
public:
    void OpenPath(const std::filesystem::path& absolute) override;
    void OpenUrl(const QString& url) override;
};

// The one place that decides how a disc path (".\Data\Soft\abc\foto.jpg", as the catalogue
// writes it) becomes a file. Names are found as written or else ignoring letter case; nothing
// off the disc is ever given out: an absolute path, a drive letter, a ".." step or a link that
// leads out of the disc root counts as missing.
//
// Found paths are remembered until Invalidate(), because the main window asks on every mouse
// move over the preview and an uncached answer costs several system calls per path step.
class DiscFiles
{
public:
    explicit DiscFiles(const std::filesystem::path& discRoot);

    // The disc root, absolute.
    const std::filesystem::path& Root() const { return resolver_.Root(); }

    // True only for an existing regular file: a folder of that name does not count.
    bool FileExists(std::string_view windowsPath);
    // The absolute path of the file, as FileExists() finds it; for pictures.
    std::optional<std::filesystem::path> FilePath(std::string_view windowsPath);
    // The absolute path of the file or folder to hand to the Opener. Pipes, devices and
    // sockets are refused: opening one would only hang the program that reads it.
    std::optional<std::filesystem::path> OpenTarget(std::string_view windowsPath);

    // Forgets every listing and every found path; the disc may have changed since.
    void Invalidate();

private:
    const catalogue::ResolvedDiscPath& Resolve(std::string_view windowsPath);

    catalogue::DiscPathResolver resolver_;
    std::map<std::string, catalogue::ResolvedDiscPath, std::less<>> found_;
    catalogue::ResolvedDiscPath notFound_;
};

// The preview: decoded at the smallest DCT scale whose picture still covers `minimumSize`, or
// at full size when the picture is smaller than that. Throws PictureError.
QImage LoadPreview(const std::filesystem::path& file, QSize minimumSize);

// The full-size picture, for the screenshot window. Throws PictureError.
QImage LoadFullPicture(const std::filesystem::path& file);

} // namespace platform
