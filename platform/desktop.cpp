#include "desktop.h"

#include "jpegdecoder.h"

#include <QByteArray>
#include <QDesktopServices>
#include <QFile>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <system_error>
#include <utility>
#include <vector>

namespace platform {

namespace fs = std::filesystem;
using catalogue::DiscEntryKind;
using catalogue::DiscPathStatus;

QUrl LocalFileUrl(const fs::path& path)
{
    std::error_code ec;
    fs::path absolute = path.is_absolute() ? path : fs::absolute(path, ec);
    if (ec) absolute = fs::path("/") / path;
    return QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(absolute.native())));
}

QUrl WebUrl(const QString& url)
{
    QUrl parsed(url, QUrl::StrictMode);
    const QString scheme = parsed.scheme(); // QUrl keeps schemes in lower case
    if (!parsed.isValid() || parsed.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return {};
    return parsed;
}

void DesktopOpener::OpenPath(const fs::path& absolute)
{
    QDesktopServices::openUrl(LocalFileUrl(absolute));
}

void DesktopOpener::OpenUrl(const QString& url)
{
    const QUrl web = WebUrl(url);
    if (web.isValid()) QDesktopServices::openUrl(web);
}

namespace {

fs::path AbsoluteRoot(const fs::path& root)
{
    std::error_code ec;
    fs::path absolute = fs::absolute(root, ec);
    if (ec) return root;
    // "/disc/." would otherwise show up inside every path handed out.
    absolute = absolute.lexically_normal();
    if (absolute.has_relative_path() && !absolute.has_filename()) absolute = absolute.parent_path();
    return absolute;
}

bool Found(const catalogue::ResolvedDiscPath& r)
{
    return r.status == DiscPathStatus::Found || r.status == DiscPathStatus::FoundOtherCase;
}

} // namespace

DiscFiles::DiscFiles(const fs::path& discRoot) : resolver_(AbsoluteRoot(discRoot)) {}

const catalogue::ResolvedDiscPath& DiscFiles::Resolve(std::string_view windowsPath)
{
    if (const auto it = found_.find(windowsPath); it != found_.end()) return it->second;
    notFound_ = resolver_.Resolve(windowsPath);
    if (!Found(notFound_)) return notFound_;
    // Only what was found is kept: a missing file costs little to look for again, and one
    // that appears later must then be seen without waiting for Invalidate().
    return found_.emplace(std::string(windowsPath), std::move(notFound_)).first->second;
}

bool DiscFiles::FileExists(std::string_view windowsPath)
{
    return FilePath(windowsPath).has_value();
}

std::optional<fs::path> DiscFiles::FilePath(std::string_view windowsPath)
{
    const auto& r = Resolve(windowsPath);
    if (!Found(r) || r.kind != DiscEntryKind::File) return std::nullopt;
    return r.path;
}

std::optional<fs::path> DiscFiles::OpenTarget(std::string_view windowsPath)
{
    const auto& r = Resolve(windowsPath);
    if (!Found(r) || (r.kind != DiscEntryKind::File && r.kind != DiscEntryKind::Folder))
        return std::nullopt;
    return r.path;
}

void DiscFiles::Invalidate()
{
    found_.clear();
    resolver_.ClearCache();
}

namespace {

// Hands the decoder's pixels to a QImage without copying them: a full-size picture may be
// large, and a copy would double what it costs while both exist.
QImage Adopt(DecodedPicture&& picture)
{
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() !=
            static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height))
        throw PictureError("the decoded picture has no pixels");
    auto pixels = std::make_unique<std::vector<std::uint32_t>>(std::move(picture.pixels));
    QImage image(
        reinterpret_cast<uchar*>(pixels->data()), picture.width, picture.height,
        static_cast<qsizetype>(picture.width) * 4, QImage::Format_RGB32,
        [](void* info) { delete static_cast<std::vector<std::uint32_t>*>(info); }, pixels.get());
    // A QImage that refused the buffer never calls the clean-up, so the buffer stays ours.
    if (image.isNull()) throw PictureError("the decoded picture cannot be shown");
    pixels.release();
    return image;
}

} // namespace

QImage LoadPreview(const fs::path& file, QSize minimumSize)
{
    return Adopt(DecodeJpegFileScaled(file, std::max(0, minimumSize.width()),
                                      std::max(0, minimumSize.height())));
}

QImage LoadFullPicture(const fs::path& file)
{
    return Adopt(DecodeJpegFile(file));
}

} // namespace platform
