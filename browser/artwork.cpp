#include "artwork.h"

#include <QPainter>
#include <QSvgRenderer>
#include <future>
#include <map>
#include <mutex>
#include <tuple>

namespace browser::artwork {

namespace {

// resource, width, height, scale × 100, band
using Key = std::tuple<QString, int, int, int, int, int, int, int>;

QRect BandOf(QSize size, QRect band)
{
    return band.isEmpty() ? QRect(QPoint(), size) : band;
}

Key KeyOf(const QString& resource, QSize size, qreal scale, QRect band)
{
    band = BandOf(size, band);
    return {resource, size.width(), size.height(), qRound(scale * 100),
            band.x(), band.y(),     band.width(),  band.height()};
}

QImage Rasterise(const QString& resource, QSize size, qreal scale, QRect band)
{
    band = BandOf(size, band);
    QImage image((QSizeF(band.size()) * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&image);
    painter.scale(scale, scale);
    renderer.render(&painter, QRectF(QPointF(-band.topLeft()), QSizeF(size)));
    painter.end();
    image.setDevicePixelRatio(scale);
    return image;
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

} // namespace

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
    // Detached: the promises it fulfils live in the thread itself, and the cache it feeds is
    // never destroyed before the program ends.
    std::thread([work = std::move(work), scale]() mutable {
        for (auto& [request, promise] : work) {
            try {
                promise.set_value(Rasterise(request.resource, request.size, scale, request.band));
            } catch (...) {
                promise.set_exception(std::current_exception());
            }
        }
    }).detach();
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
            now.set_value(Rasterise(resource, size, scale, band));
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
