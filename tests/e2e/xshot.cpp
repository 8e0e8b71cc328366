// xshot: one screenshot of the whole X screen, saved and/or asked about, for the end-to-end test.
//
//   xshot [--save FILE.png] [--count X,Y,W,H,R,G,B,TOL]... [--pixel X,Y]...
//         [--spans X,Y,W,H,R,G,B,TOL,GAP]...
//   xshot --write-jpeg W H R G B FILE.jpg
//
// Each --count prints, on a line of its own and in the order given, how many pixels of the
// rectangle X,Y,W,H (screen coordinates) are within TOL of the colour R,G,B on every channel;
// each --pixel prints the colour at X,Y as "R,G,B"; each --spans prints, on one line, the
// column ranges "FIRST-LAST" of the rectangle that hold a pixel off the colour R,G,B, ranges
// closer than GAP columns joined: where the texts on a plain bar are, letter gaps ignored. All
// questions are answered from the same grab, so a saved picture shows exactly what was checked.
//
// --write-jpeg needs no display: it writes a W by H picture of the one colour R,G,B, for the
// test's fixture disc.
// Exit status: 0 answered or written, 1 the screen could not be grabbed or saved or the picture
// written, 2 usage.

#include "jpegwriter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace {

enum class Kind { Count, Pixel, Spans };

struct Question
{
    Kind kind = Kind::Count;
    std::vector<int> values; // count: x, y, w, h, r, g, b, tol; pixel: x, y; spans: and gap
};

std::optional<std::vector<int>> ParseInts(const char* text, std::size_t expected)
{
    std::vector<int> values;
    const QStringList parts = QString::fromLatin1(text).split(QLatin1Char(','));
    for (const QString& part : parts) {
        bool ok = false;
        const int v = part.trimmed().toInt(&ok);
        if (!ok) return std::nullopt;
        values.push_back(v);
    }
    if (values.size() != expected) return std::nullopt;
    return values;
}

int Usage()
{
    std::fprintf(stderr,
                 "usage: xshot [--save FILE.png] [--count X,Y,W,H,R,G,B,TOL]... [--pixel X,Y]...\n"
                 "             [--spans X,Y,W,H,R,G,B,TOL,GAP]...\n"
                 "       xshot --write-jpeg W H R G B FILE.jpg\n");
    return 2;
}

bool Near(QRgb p, const std::vector<int>& q)
{
    const int tol = q[7];
    return std::abs(qRed(p) - q[4]) <= tol && std::abs(qGreen(p) - q[5]) <= tol &&
           std::abs(qBlue(p) - q[6]) <= tol;
}

long CountNear(const QImage& image, const std::vector<int>& q)
{
    const int x0 = q[0], y0 = q[1], w = q[2], h = q[3];
    long count = 0;
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) {
            if (image.valid(x, y) && Near(image.pixel(x, y), q)) ++count;
        }
    }
    return count;
}

std::string Spans(const QImage& image, const std::vector<int>& q)
{
    const int x0 = q[0], y0 = q[1], w = q[2], h = q[3], gap = q[8];
    std::string line;
    int first = -1, last = -1;
    const auto flush = [&] {
        if (first < 0) return;
        if (!line.empty()) line += ' ';
        line += std::to_string(first) + '-' + std::to_string(last);
    };
    for (int x = x0; x < x0 + w; ++x) {
        bool off = false;
        for (int y = y0; y < y0 + h && !off; ++y)
            off = image.valid(x, y) && !Near(image.pixel(x, y), q);
        if (!off) continue;
        if (first >= 0 && x - last > gap) {
            flush();
            first = -1;
        }
        if (first < 0) first = x;
        last = x;
    }
    flush();
    return line;
}

// The picture is made by the project's own encoder, as the demo disc's are.
int WriteJpeg(char** args)
{
    int v[5] = {};
    for (int k = 0; k < 5; ++k) {
        char* end = nullptr;
        const long n = std::strtol(args[k], &end, 10);
        if (*args[k] == '\0' || *end != '\0' || n < 0 || n > (k < 2 ? 8192 : 255)) return Usage();
        v[k] = static_cast<int>(n);
    }
    if (v[0] == 0 || v[1] == 0) return Usage();
    demo::RgbImage image(v[0], v[1]);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            image.Set(x, y, static_cast<std::uint8_t>(v[2]), static_cast<std::uint8_t>(v[3]),
                      static_cast<std::uint8_t>(v[4]));
    try {
        demo::JpegWriteOptions options;
        // A solid colour comes back within a few steps at this quality.
        options.quality = 95;
        demo::WriteBytes(args[5], demo::EncodeJpeg(image, options));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "xshot: %s\n", e.what());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::string(argv[1]) == "--write-jpeg")
        return argc == 8 ? WriteJpeg(argv + 2) : Usage();

    std::string savePath;
    std::vector<Question> questions;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return Usage();
        const char* value = argv[++i];
        if (arg == "--save") {
            savePath = value;
        } else if (arg == "--count" || arg == "--pixel" || arg == "--spans") {
            const Kind kind = arg == "--count"   ? Kind::Count
                              : arg == "--pixel" ? Kind::Pixel
                                                 : Kind::Spans;
            auto values = ParseInts(value, kind == Kind::Count ? 8 : kind == Kind::Pixel ? 2 : 9);
            if (!values) return Usage();
            questions.push_back({kind, std::move(*values)});
        } else {
            return Usage();
        }
    }
    if (savePath.empty() && questions.empty()) return Usage();

    // The screen is the X server's, whatever the caller's environment says about Qt.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fprintf(stderr, "xshot: no screen\n");
        return 1;
    }
    const QImage image = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) {
        std::fprintf(stderr, "xshot: the screen could not be grabbed\n");
        return 1;
    }
    if (!savePath.empty() && !image.save(QString::fromLocal8Bit(savePath.c_str()), "PNG")) {
        std::fprintf(stderr, "xshot: cannot save %s\n", savePath.c_str());
        return 1;
    }
    for (const Question& q : questions) {
        if (q.kind == Kind::Count) {
            std::printf("%ld\n", CountNear(image, q.values));
        } else if (q.kind == Kind::Spans) {
            std::printf("%s\n", Spans(image, q.values).c_str());
        } else {
            if (!image.valid(q.values[0], q.values[1])) {
                std::printf("outside\n");
                continue;
            }
            const QRgb p = image.pixel(q.values[0], q.values[1]);
            std::printf("%d,%d,%d\n", qRed(p), qGreen(p), qBlue(p));
        }
    }
    return 0;
}
