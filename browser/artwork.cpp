#include "artwork.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QResource>
#include <QSvgRenderer>
#include <cstring>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <tuple>

namespace browser::artwork {

namespace {

// resource, width, height, scale × 100, band
using Key = std::tuple<QString, int, int, int, int, int, int, int>;

QRect BandOf(QSize size, QRect band)
{
    return band.isEmpty() ? QRect(QPoint(), size) : band;
}

// The picture's size in device pixels.
QSize PixelSize(const Request& request, qreal scale)
{
    return (QSizeF(BandOf(request.size, request.band).size()) * scale).toSize();
}

Key KeyOf(const QString& resource, QSize size, qreal scale, QRect band)
{
    band = BandOf(size, band);
    return {resource, size.width(), size.height(), qRound(scale * 100),
            band.x(), band.y(),     band.width(),  band.height()};
}

// A baked picture starts with this header, in the byte order of the machine that built it,
// which is the one that runs it.
struct Header
{
    char magic[4];
    quint32 width;
    quint32 height;
    quint32 format; // QImage::Format_RGB32 or Format_ARGB32_Premultiplied
};
constexpr char kMagic[4] = {'D', 'B', 'A', '1'};

bool IsOpaque(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(line[x]) != 255) return false;
    }
    return true;
}

QImage Make(const Request& request, qreal scale)
{
    QResource baked(BakedResource(request, scale));
    if (baked.isValid()) {
        QImage image = Deserialise(baked.uncompressedData());
        if (image.size() == PixelSize(request, scale)) {
            image.setDevicePixelRatio(scale);
            return image;
        }
    }
    return Rasterise(request, scale);
}

struct Cache
{
    std::mutex mutex;
    std::map<Key, std::shared_future<QImage>> pictures;
};

Cache& TheCache()
{
    static Cache cache;
    return cache;
}

// Runs `work` on a thread of its own, which the application object waits for as it goes, so
// that no such thread is still inside Qt while the program's statics are destroyed.
void InBackground(std::function<void()> work)
{
    static std::mutex mutex;
    static std::vector<std::thread> threads;
    const std::lock_guard lock(mutex);
    if (threads.empty()) {
        qAddPostRoutine([] {
            std::vector<std::thread> finishing;
            {
                const std::lock_guard lock(mutex);
                finishing.swap(threads);
            }
            for (std::thread& t : finishing)
                t.join();
        });
    }
    threads.emplace_back(std::move(work));
}

} // namespace

QImage Rasterise(const Request& request, qreal scale)
{
    const QRect band = BandOf(request.size, request.band);
    QImage image(PixelSize(request, scale), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(request.resource);
    QPainter painter(&image);
    painter.scale(scale, scale);
    renderer.render(&painter, QRectF(QPointF(-band.topLeft()), QSizeF(request.size)));
    painter.end();
    // Premultiplied pixels of full alpha are already RGB32's; as RGB32 the picture is copied
    // onto the screen instead of blended.
    if (IsOpaque(image)) image.reinterpretAsFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    return image;
}

QString BakedFileName(const Request& request, qreal scale)
{
    const QRect band = BandOf(request.size, request.band);
    return QStringLiteral("%1-%2x%3-%4,%5,%6x%7@%8.img")
        .arg(QFileInfo(request.resource).completeBaseName())
        .arg(request.size.width())
        .arg(request.size.height())
        .arg(band.x())
        .arg(band.y())
        .arg(band.width())
        .arg(band.height())
        .arg(qRound(scale * 100));
}

QString BakedResource(const Request& request, qreal scale)
{
    return QStringLiteral(":/baked/") + BakedFileName(request, scale);
}

QByteArray Serialise(const QImage& image)
{
    if (image.isNull()) return {};
    const QImage pixels = image.format() == QImage::Format_RGB32
                              ? image
                              : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    Header header{};
    std::memcpy(header.magic, kMagic, sizeof kMagic);
    header.width = static_cast<quint32>(pixels.width());
    header.height = static_cast<quint32>(pixels.height());
    header.format = static_cast<quint32>(pixels.format());
    const qsizetype line = qsizetype(pixels.width()) * 4;
    QByteArray bytes(static_cast<qsizetype>(sizeof header) + line * pixels.height(),
                     Qt::Uninitialized);
    std::memcpy(bytes.data(), &header, sizeof header);
    for (int y = 0; y < pixels.height(); ++y)
        std::memcpy(bytes.data() + sizeof header + line * y, pixels.constScanLine(y),
                    static_cast<size_t>(line));
    return bytes;
}

QImage Deserialise(const QByteArray& bytes)
{
    Header header{};
    if (bytes.size() < static_cast<qsizetype>(sizeof header)) return {};
    std::memcpy(&header, bytes.constData(), sizeof header);
    if (std::memcmp(header.magic, kMagic, sizeof kMagic) != 0) return {};
    const auto format = static_cast<QImage::Format>(header.format);
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied) return {};
    if (header.width == 0 || header.height == 0 || header.width > 16384 || header.height > 16384)
        return {};
    const qsizetype line = qsizetype(header.width) * 4;
    if (bytes.size() != static_cast<qsizetype>(sizeof header) + line * header.height) return {};
    // The image reads the pixels where they are; the copy of the array it keeps (shared, not
    // duplicated) lives as long as the image.
    auto* keep = new QByteArray(bytes);
    return QImage(
        reinterpret_cast<const uchar*>(keep->constData() + sizeof header), int(header.width),
        int(header.height), line, format, [](void* p) { delete static_cast<QByteArray*>(p); },
        keep);
}

void Prefetch(std::vector<Request> requests, qreal scale)
{
    Cache& cache = TheCache();
    std::vector<std::pair<Request, std::promise<QImage>>> work;
    {
        const std::lock_guard lock(cache.mutex);
        for (Request& r : requests) {
            const Key key = KeyOf(r.resource, r.size, scale, r.band);
            if (cache.pictures.count(key)) continue;
            std::promise<QImage> promise;
            cache.pictures.emplace(key, promise.get_future().share());
            work.emplace_back(std::move(r), std::move(promise));
        }
    }
    if (work.empty()) return;
    // The promises it fulfils live in the thread itself; the cache it feeds outlives it.
    InBackground([work = std::make_shared<decltype(work)>(std::move(work)), scale] {
        for (auto& [request, promise] : *work) {
            try {
                promise.set_value(Make(request, scale));
            } catch (...) {
                promise.set_exception(std::current_exception());
            }
        }
    });
}

void LoadImagePluginsAhead()
{
    // Asking for the format of a built-in one makes the reader go through all the plugins,
    // which stay loaded: once per program is enough.
    static std::once_flag once;
    std::call_once(once, [] {
        InBackground([] { QImageReader(QStringLiteral(":/baked/grip.png")).format(); });
    });
}

QImage Get(const QString& resource, QSize size, qreal scale, QRect band)
{
    Cache& cache = TheCache();
    std::shared_future<QImage> picture;
    {
        const std::lock_guard lock(cache.mutex);
        const Key key = KeyOf(resource, size, scale, band);
        auto it = cache.pictures.find(key);
        if (it == cache.pictures.end()) {
            std::promise<QImage> now;
            now.set_value(Make({resource, size, band}, scale));
            it = cache.pictures.emplace(key, now.get_future().share()).first;
        }
        picture = it->second;
    }
    try {
        return picture.get();
    } catch (...) {
        return QImage();
    }
}

} // namespace browser::artwork
