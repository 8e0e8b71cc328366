// The desktop layer without a desktop: which disc path is which file, the URLs handed to the
// desktop, and the pictures as QImages (QImage needs no application object).

#include "desktop.h"
#include "jpegdecoder.h"
#include "jpegwriter.h"
#include "tempdisc.h"

#include <QImage>
#include <QUrl>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>

namespace {

namespace fs = std::filesystem;
using platform::DiscFiles;

const fs::path kData = TEST_DATA_DIR;

// QString as gtest can print it when a case fails.
std::string Text(const QString& s)
{
    return s.toStdString();
}

class DiscFilesTest : public testing::Test
{
protected:
    void SetUp() override
    {
        disc.Write("Data/Soft/abc/foto.jpg", "x");
        disc.Write("Data/Soft/pic1.jpg", "x"); // what an empty folder entry points at
        disc.Write("Data/Java/Data/Игра/Resize of foto.jpg", "x");
        disc.MakeFolder("Data/Manual/folder.jpg");
        // A link that stays on the disc is as good as the file.
        fs::create_directory_symlink(disc.Root() / "Data/Soft/abc", disc.Root() / "Data/inside");
        // A file off the disc, and a link that leads to it.
        outside.Write("Data/Soft/abc/foto.jpg", "x");
        fs::create_directory_symlink(outside.Root() / "Data", disc.Root() / "Data/outside");
        fs::create_symlink(outside.Root() / "Data/Soft/abc/foto.jpg",
                           disc.Root() / "Data/Soft/linked.jpg");
    }

    testsupport::TempDisc disc;
    testsupport::TempDisc outside;
};

TEST_F(DiscFilesTest, PathsAsTheCatalogueWritesThem)
{
    struct Case
    {
        std::string path;
        const char* file;   // relative to the disc root; nullptr when FilePath gives nothing
        const char* target; // the same for OpenTarget
    };
    const std::string outsideFile = (outside.Root() / "Data/Soft/abc/foto.jpg").string();
    const Case cases[] = {
        {".\\Data\\Soft\\abc\\foto.jpg", "Data/Soft/abc/foto.jpg", "Data/Soft/abc/foto.jpg"},
        {"Data\\Soft\\abc\\foto.jpg", "Data/Soft/abc/foto.jpg", "Data/Soft/abc/foto.jpg"},
        {".\\DATA\\soft\\ABC\\Foto.JPG", "Data/Soft/abc/foto.jpg", "Data/Soft/abc/foto.jpg"},
        {".\\Data\\Java\\Data\\ИГРА\\resize of FOTO.jpg", "Data/Java/Data/Игра/Resize of foto.jpg",
         "Data/Java/Data/Игра/Resize of foto.jpg"},
        {".\\Data\\Soft\\abc", nullptr, "Data/Soft/abc"},
        {".\\Data\\Soft\\abc\\", nullptr, "Data/Soft/abc"},
        {".\\Data\\Soft\\abc\\pic1.jpg", nullptr, nullptr},
        {".\\Data\\Soft\\abd\\foto.jpg", nullptr, nullptr},
        {".\\Data\\Manual\\folder.jpg", nullptr, "Data/Manual/folder.jpg"},
        // An empty folder entry: the base and the file name meet in two backslashes.
        {".\\Data\\Soft\\\\pic1.jpg", "Data/Soft/pic1.jpg", "Data/Soft/pic1.jpg"},
        {".\\Data\\Soft\\", nullptr, "Data/Soft"},
        {"", nullptr, ""},
        {".\\Data\\..\\Data\\Soft\\abc\\foto.jpg", nullptr, nullptr},
        {"..\\" + disc.Root().filename().string() + "\\Data\\Soft\\abc\\foto.jpg", nullptr,
         nullptr},
        {"\\Data\\Soft\\abc\\foto.jpg", nullptr, nullptr},
        {outsideFile, nullptr, nullptr},
        {"C:\\Data\\Soft\\abc\\foto.jpg", nullptr, nullptr},
        {"c:Data\\Soft\\abc\\foto.jpg", nullptr, nullptr},
        {".\\Data\\inside\\foto.jpg", "Data/inside/foto.jpg", "Data/inside/foto.jpg"},
        {".\\Data\\outside\\Soft\\abc\\foto.jpg", nullptr, nullptr},
        {".\\Data\\outside", nullptr, nullptr},
        {".\\Data\\Soft\\linked.jpg", nullptr, nullptr},
        {".\\Data\\Soft\\LINKED.jpg", nullptr, nullptr},
    };
    const auto want = [&](const char* relative) -> std::optional<fs::path> {
        if (!relative) return std::nullopt;
        return *relative ? disc.Root() / relative : disc.Root();
    };
    // Twice over: the second round comes from what the first one remembered.
    DiscFiles files(disc.Root());
    for (int round = 0; round < 2; ++round)
        for (const auto& c : cases) {
            SCOPED_TRACE(c.path + " round " + std::to_string(round));
            EXPECT_EQ(files.FileExists(c.path), c.file != nullptr);
            EXPECT_EQ(files.FilePath(c.path), want(c.file));
            EXPECT_EQ(files.OpenTarget(c.path), want(c.target));
        }
}

TEST_F(DiscFilesTest, PathsHandedOutAreAbsoluteForARelativeRoot)
{
    const fs::path before = fs::current_path();
    fs::current_path(disc.Root() / "Data");
    DiscFiles files("..");
    fs::current_path(before);
    ASSERT_TRUE(files.Root().is_absolute());
    EXPECT_EQ(files.Root(), disc.Root());
    EXPECT_EQ(files.FilePath(".\\data\\soft\\abc\\foto.jpg"),
              disc.Root() / "Data/Soft/abc/foto.jpg");
    EXPECT_EQ(files.OpenTarget(".\\Data\\Soft"), disc.Root() / "Data/Soft");
}

TEST_F(DiscFilesTest, InvalidateSeesWhatChangedOnTheDisc)
{
    DiscFiles files(disc.Root());
    // Found ones are remembered, and the folder listings of case-blind look-ups too.
    ASSERT_TRUE(files.FileExists(".\\Data\\Soft\\abc\\foto.jpg"));
    ASSERT_FALSE(files.FileExists(".\\Data\\SOFT\\abc\\new.jpg"));
    disc.Remove("Data/Soft/abc/foto.jpg");
    disc.Write("Data/Soft/abc/New.jpg", "x");
    EXPECT_TRUE(files.FileExists(".\\Data\\Soft\\abc\\foto.jpg"));
    EXPECT_FALSE(files.FileExists(".\\Data\\SOFT\\abc\\new.jpg"));

    files.Invalidate();
    EXPECT_FALSE(files.FileExists(".\\Data\\Soft\\abc\\foto.jpg"));
    EXPECT_FALSE(files.OpenTarget(".\\Data\\Soft\\abc\\foto.jpg"));
    EXPECT_EQ(files.FilePath(".\\Data\\SOFT\\abc\\new.jpg"), disc.Root() / "Data/Soft/abc/New.jpg");
}

TEST_F(DiscFilesTest, AMissingFileThatAppearsIsSeenAtOnce)
{
    DiscFiles files(disc.Root());
    ASSERT_FALSE(files.FileExists(".\\Data\\Soft\\abc\\pic1.jpg"));
    disc.Write("Data/Soft/abc/pic1.jpg", "x");
    EXPECT_TRUE(files.FileExists(".\\Data\\Soft\\abc\\pic1.jpg"));
}

TEST(LocalFileUrlTest, AlwaysAnAbsoluteFileUrl)
{
    struct Case
    {
        fs::path path;
        const char* url;
    };
    const fs::path cwd = fs::current_path();
    const QString cwdUrl = QUrl::fromLocalFile(QString::fromStdString(cwd.string())).toString();
    const Case cases[] = {
        {"/media/cdrom/Data/Soft/abc", "file:///media/cdrom/Data/Soft/abc"},
        {"/media/cdrom/-rf", "file:///media/cdrom/-rf"},
        {"/media/cd rom/Data/Игры/foto.jpg",
         "file:///media/cd%20rom/Data/%D0%98%D0%B3%D1%80%D1%8B/foto.jpg"},
        {"/media/cdrom/a#b?c%d", "file:///media/cdrom/a%23b%3Fc%25d"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.string());
        const QUrl url = platform::LocalFileUrl(c.path);
        EXPECT_EQ(Text(url.toString(QUrl::FullyEncoded)), c.url);
        EXPECT_EQ(url.toLocalFile().toStdString(), c.path.string());
    }
    // A relative name that looks like an option becomes a path under the current folder.
    const QUrl dash = platform::LocalFileUrl("-rf");
    EXPECT_EQ(Text(dash.toString()), Text(cwdUrl + QStringLiteral("/-rf")));
    EXPECT_EQ(Text(dash.scheme()), "file");
}

TEST(WebUrlTest, OnlyHttpAndHttps)
{
    const std::pair<const char*, const char*> cases[] = {
        {"http://www.example.com/", "http://www.example.com/"},
        {"https://www.example.com/phones?x=1", "https://www.example.com/phones?x=1"},
        {"HTTP://WWW.EXAMPLE.COM/", "http://www.example.com/"},
        {"file:///etc/passwd", ""},
        {"ftp://www.example.com/file", ""},
        {"file://host/etc/passwd", ""},
        {"javascript:alert(1)", ""},
        {"-www.example.com", ""},
        {"www.example.com", ""},
        {"http://", ""},
        {"http://exa mple.com/", ""},
        {"", ""},
    };
    for (const auto& [in, out] : cases) {
        SCOPED_TRACE(in);
        const QUrl url = platform::WebUrl(QString::fromUtf8(in));
        EXPECT_EQ(url.isValid(), *out != '\0');
        EXPECT_EQ(Text(url.toString()), out);
    }
}

// A picture whose left half is red and right half blue, written to a temporary file.
class PictureFile
{
public:
    PictureFile(int width, int height)
    {
        demo::RgbImage image(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.Set(x, y, x < width / 2 ? 255 : 0, 0, x < width / 2 ? 0 : 255);
        path_ = disc_.Root() / "picture.jpg";
        demo::WriteBytes(path_, demo::EncodeJpeg(image, {.quality = 95}));
    }
    const fs::path& Path() const { return path_; }

private:
    testsupport::TempDisc disc_;
    fs::path path_;
};

bool IsNear(QRgb pixel, int r, int g, int b)
{
    return qAlpha(pixel) == 255 && std::abs(qRed(pixel) - r) < 40 &&
           std::abs(qGreen(pixel) - g) < 40 && std::abs(qBlue(pixel) - b) < 40;
}

testing::AssertionResult RedThenBlue(const QImage& image)
{
    if (image.format() != QImage::Format_RGB32)
        return testing::AssertionFailure() << "format " << image.format();
    const int y = image.height() / 2;
    const QRgb left = image.pixel(image.width() / 4, y),
               right = image.pixel(image.width() * 3 / 4, y);
    if (!IsNear(left, 255, 0, 0) || !IsNear(right, 0, 0, 255))
        return testing::AssertionFailure()
               << std::hex << "left 0x" << left << ", right 0x" << right;
    return testing::AssertionSuccess();
}

TEST(LoadPreviewTest, SmallestScaleThatCoversTheFrame)
{
    struct Case
    {
        int width, height; // the picture
        QSize frame;
        QSize want;
    };
    const Case cases[] = {
        {640, 480, {292, 217}, {320, 240}}, // 4/8
        {640, 480, {320, 240}, {320, 240}}, // exactly covered
        {640, 480, {321, 100}, {400, 300}}, // the width decides: 5/8
        {640, 480, {100, 241}, {400, 300}}, // the height decides
        {640, 480, {80, 60}, {80, 60}},     // 1/8
        {640, 480, {0, 0}, {80, 60}},
        {640, 480, {}, {80, 60}},             // no frame at all: the smallest there is
        {640, 480, {640, 480}, {640, 480}},   // full size
        {640, 480, {1000, 1000}, {640, 480}}, // smaller than the frame: full size, never enlarged
        {641, 481, {292, 217}, {321, 241}},   // libjpeg rounds the scaled sides up
        {100, 30, {292, 217}, {100, 30}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " in " +
                     std::to_string(c.frame.width()) + "x" + std::to_string(c.frame.height()));
        const PictureFile file(c.width, c.height);
        const QImage preview = platform::LoadPreview(file.Path(), c.frame);
        EXPECT_EQ(preview.width(), c.want.width());
        EXPECT_EQ(preview.height(), c.want.height());
        EXPECT_TRUE(RedThenBlue(preview));
    }
}

TEST(LoadFullPictureTest, OwnSizeAndColours)
{
    const PictureFile file(640, 480);
    QImage copy;
    {
        const QImage picture = platform::LoadFullPicture(file.Path());
        EXPECT_EQ(picture.size(), QSize(640, 480));
        EXPECT_TRUE(RedThenBlue(picture));
        copy = picture;
    }
    // The pixels outlive the first image that held them, and writing to a copy leaves the
    // other alone.
    EXPECT_TRUE(RedThenBlue(copy));
    QImage written = copy;
    written.fill(Qt::green);
    EXPECT_TRUE(RedThenBlue(copy));
    EXPECT_TRUE(IsNear(written.pixel(0, 0), 0, 255, 0));
}

TEST(LoadFullPictureTest, TrickyFiles)
{
    // The good ones are 48 x 32 (see make_test_pictures.cpp).
    const std::pair<const char*, bool> cases[] = {
        {"baseline.jpg", true},
        {"progressive.jpg", true},
        {"arithmetic.jpg", true},
        {"grayscale.jpg", true},
        {"cmyk.jpg", true},
        {"extraneous-bytes-before-sof.jpg", true},
        {"truncated.jpg", false},
        {"truncated-progressive.jpg", false},
        {"truncated-in-header.jpg", false},
        {"corrupt-entropy.jpg", false},
        {"60000x60000-header.jpg", false},
        {"zero-height-header.jpg", false},
        {"12bit-header.jpg", false},
        {"lossless-sof3.jpg", false},
        {"not-a-jpeg.jpg", false},
        {"empty.jpg", false},
        {"no-such-file.jpg", false},
    };
    for (const auto& [name, good] : cases) {
        SCOPED_TRACE(name);
        const fs::path path = kData / name;
        if (good) {
            const QImage full = platform::LoadFullPicture(path);
            EXPECT_EQ(full.size(), QSize(48, 32));
            EXPECT_EQ(full.format(), QImage::Format_RGB32);
            const QImage preview = platform::LoadPreview(path, {12, 8});
            EXPECT_EQ(preview.size(), QSize(12, 8)); // 2/8
        } else {
            EXPECT_THROW(platform::LoadFullPicture(path), platform::PictureError);
            EXPECT_THROW(platform::LoadPreview(path, {12, 8}), platform::PictureError);
        }
    }
}

} // namespace
