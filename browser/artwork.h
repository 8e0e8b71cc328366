#pragma once
// The window's SVG artwork, rasterised once per picture, size and screen scale, and shared by
// every control that shows it (the seven section buttons show one picture). Rasterising the
// large backgrounds is the costliest part of the first frame, so it starts on a second thread
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

// Starts rasterising the pictures at the given scale on a thread of its own.
void Prefetch(std::vector<Request> requests, qreal scale);

// The picture rasterised at `size` × `scale`, waiting for the prefetch when it is under way,
// or rasterising it here when it was not asked for.
QImage Get(const QString& resource, QSize size, qreal scale, QRect band = {});

} // namespace browser::artwork
