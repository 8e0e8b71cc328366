#pragma once
// The window's SVG artwork, rasterised once per picture, size and screen scale, and shared by
// every control that shows it (the seven section buttons show one picture). Rasterising the
// large backgrounds costs more than everything else of the first frame together, so the build
// rasterises them ahead of time for the usual screen scales (tools/bakeartwork) and the program
// only unpacks those; at any other scale they are rasterised here, on a second thread started
// while the window builds its controls and loads the catalogue.

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

namespace browser::artwork {

struct Request
{
    QString resource; // ":/resources/…svg"
    QSize size;       // in device-independent pixels
    QRect band;       // the part to rasterise, when only that part is ever seen; empty: all
};

// The screen scales the build rasterises the artwork for.
inline constexpr qreal kBakedScales[] = {1.0, 2.0};

// Starts making the pictures at the given scale on a thread of its own.
void Prefetch(std::vector<Request> requests, qreal scale);

// The picture at `size` × `scale`, waiting for the prefetch when it is under way, or making it
// here when it was not asked for. A picture with no transparent pixel comes as Format_RGB32,
// which draws as a plain copy.
QImage Get(const QString& resource, QSize size, qreal scale, QRect band = {});

// Loads Qt's image plugins on a thread of its own. Before Qt reads a PNG file with its own
// reader it asks every image plugin installed whether it reads PNG, loading each; the skin's
// pictures (the style sheet's PNG files) would pay for that on the main thread in the middle
// of the first paint.
void LoadImagePluginsAhead();

// Rasterises the SVG now, without looking for a picture made by the build.
QImage Rasterise(const Request& request, qreal scale);

// Where the build's picture for a request lives: the file name, and the resource path the
// program reads it from.
QString BakedFileName(const Request& request, qreal scale);
QString BakedResource(const Request& request, qreal scale);

// A picture made by the build, as stored: a short header and the pixels. Empty when the bytes
// are not such a picture.
QByteArray Serialise(const QImage& image);
QImage Deserialise(const QByteArray& bytes);

} // namespace browser::artwork
