// xshot: one screenshot of the whole X screen, saved and/or asked about, for the end-to-end test.
//
//   xshot [--save FILE.png] [--count X,Y,W,H,R,G,B,TOL]... [--pixel X,Y]...
//
// Each --count prints, on a line of its own and in the order given, how many pixels of the
// rectangle X,Y,W,H (screen coordinates) are within TOL of the colour R,G,B on every channel;
// each --pixel prints the colour at X,Y as "R,G,B". All questions are answered from the same
// grab, so a saved picture shows exactly what was checked.
// Exit status: 0 answered, 1 the screen could not be grabbed or saved, 2 usage.

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Question
{
    bool isCount = true;
    std::vector<int> values; // count: x, y, w, h, r, g, b, tol; pixel: x, y
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
    std::fprintf(
        stderr, "usage: xshot [--save FILE.png] [--count X,Y,W,H,R,G,B,TOL]... [--pixel X,Y]...\n");
    return 2;
}

long CountNear(const QImage& image, const std::vector<int>& q)
{
    const int x0 = q[0], y0 = q[1], w = q[2], h = q[3], tol = q[7];
    const QColor want(q[4], q[5], q[6]);
    long count = 0;
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) {
            if (!image.valid(x, y)) continue;
            const QRgb p = image.pixel(x, y);
            if (std::abs(qRed(p) - want.red()) <= tol &&
                std::abs(qGreen(p) - want.green()) <= tol &&
                std::abs(qBlue(p) - want.blue()) <= tol)
                ++count;
        }
    }
    return count;
}

} // namespace

int main(int argc, char** argv)
{
    std::string savePath;
    std::vector<Question> questions;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return Usage();
        const char* value = argv[++i];
        if (arg == "--save") {
            savePath = value;
        } else if (arg == "--count" || arg == "--pixel") {
            const bool isCount = arg == "--count";
            auto values = ParseInts(value, isCount ? 8 : 2);
            if (!values) return Usage();
            questions.push_back({isCount, std::move(*values)});
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
        if (q.isCount) {
            std::printf("%ld\n", CountNear(image, q.values));
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
