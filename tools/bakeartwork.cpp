// bakeartwork OUT_DIR: rasterises the main window's SVG artwork at the screen scales the
// program expects most (browser/artwork.h), so that the program's first frame only unpacks the
// pictures. Writes one .img file per picture and scale, and OUT_DIR/baked.qrc listing them
// under :/baked/. Run on the offscreen platform at build time.

#include "artwork.h"
#include "mainlayout.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
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
    qrc += "  </qresource>\n</RCC>\n";
    return Write(out.filePath(QStringLiteral("baked.qrc")), qrc) ? 0 : 1;
}
