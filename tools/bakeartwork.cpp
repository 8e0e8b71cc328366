// bakeartwork OUT_DIR: rasterises the main window's SVG artwork at the screen scales the
// program expects most (browser/artwork.h), so that the program's first frame only unpacks the
// pictures. Writes one .img file per picture and scale, the skin's arrows and grip as PNG files
// (1x and @2x), and OUT_DIR/baked.qrc listing them all under :/baked/. Run on the offscreen
// platform at build time.

#include "artwork.h"
#include "mainlayout.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QSvgRenderer>
#include <cstdio>

namespace {

bool Write(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        std::fprintf(stderr, "bakeartwork: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: bakeartwork OUT_DIR\n");
        return 2;
    }
    const QDir out(args[1]);
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "bakeartwork: cannot make %s\n", qPrintable(out.path()));
        return 1;
    }

    QByteArray qrc = "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/baked\">\n";
    for (const browser::artwork::Request& request : browser::ArtworkRequests()) {
        for (const qreal scale : browser::artwork::kBakedScales) {
            const QString name = browser::artwork::BakedFileName(request, scale);
            const QImage image = browser::artwork::Rasterise(request, scale);
            if (image.isNull()) {
                std::fprintf(stderr, "bakeartwork: %s did not rasterise\n",
                             qPrintable(request.resource));
                return 1;
            }
            if (!Write(out.filePath(name), browser::artwork::Serialise(image))) return 1;
            qrc += "    <file>" + name.toUtf8() + "</file>\n";
        }
    }
    for (const QString& resource : browser::SkinPictures()) {
        const QSize size = QSvgRenderer(resource).defaultSize();
        if (size.isEmpty()) {
            std::fprintf(stderr, "bakeartwork: %s is not a picture\n", qPrintable(resource));
            return 1;
        }
        for (const qreal scale : browser::artwork::kBakedScales) {
            // name.png, name@2x.png: the names QIcon looks for at each scale.
            const QString name = QFileInfo(resource).completeBaseName() +
                                 (scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale)) +
                                 QStringLiteral(".png");
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            if (!browser::artwork::Rasterise({resource, size, QRect()}, scale)
                     .save(&buffer, "PNG") ||
                !Write(out.filePath(name), png))
                return 1;
            qrc += "    <file>" + name.toUtf8() + "</file>\n";
        }
    }
    qrc += "  </qresource>\n</RCC>\n";
    return Write(out.filePath(QStringLiteral("baked.qrc")), qrc) ? 0 : 1;
}
