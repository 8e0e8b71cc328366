// The picture decoder on the tricky files of tests/data/ (made by
// tests/data/make_test_pictures.cpp) and on pictures encoded here with the project's encoder.

#include "jpegdecoder.h"
#include "jpegwriter.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using platform::DecodedPicture;
using platform::JpegColourModel;
using platform::PictureError;

const std::filesystem::path kData = TEST_DATA_DIR;

struct Rgb
{
    int r, g, b;
};

constexpr Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kBlack{0, 0, 0};
// What the encoder's grayscale makes of them: (299 r + 587 g + 114 b) / 1000.
constexpr Rgb kRedGrey{76, 76, 76}, kGreenGrey{149, 149, 149}, kBlueGrey{29, 29, 29};

// Lossy compression moves pure colours a little, never as far as a wrong channel would.
constexpr int kTolerance = 40;

testing::AssertionResult IsNear(std::uint32_t pixel, Rgb want)
{
    const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    if ((pixel >> 24) == 0xFF && std::abs(r - want.r) <= kTolerance &&
        std::abs(g - want.g) <= kTolerance && std::abs(b - want.b) <= kTolerance)
        return testing::AssertionSuccess();
    char text[120];
    std::snprintf(text, sizeof text, "pixel 0x%08x is not near (%d, %d, %d)", pixel, want.r, want.g,
                  want.b);
    return testing::AssertionFailure() << text;
}

testing::AssertionResult EveryPixelOpaque(const DecodedPicture& picture)
{
    if (picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height)
        return testing::AssertionFailure() << "pixel count does not match the size";
    for (std::uint32_t p : picture.pixels)
        if ((p >> 24) != 0xFF)
            return testing::AssertionFailure() << "alpha byte not 0xFF in " << std::hex << p;
    return testing::AssertionSuccess();
}

// Runs work, which must throw PictureError saying `expected` (and starting with the path, for the
// file functions).
template <class Work>
testing::AssertionResult ThrowsSaying(Work work, const std::string& expected,
                                      const std::string& prefix = {})
{
    try {
        work();
    } catch (const PictureError& e) {
        const std::string message = e.what();
        if (message.find(expected) != std::string::npos && message.starts_with(prefix))
            return testing::AssertionSuccess();
        return testing::AssertionFailure() << "message \"" << message << "\" does not say \""
                                           << expected << "\" after \"" << prefix << "\"";
    } catch (const std::exception& e) {
        return testing::AssertionFailure() << "threw something else: " << e.what();
    }
    return testing::AssertionFailure() << "did not throw, expected \"" << expected << "\"";
}

// ---------------------------------------------------------------------------------------------
// The files of tests/data/. Every good one is 48 x 32: red, green and blue 16 x 16 blocks over a
// black-and-white checkerboard.

struct PictureFileCase
{
    const char* file;
    const char* headerError; // nullptr: the header reads
    int width, height;
    JpegColourModel colourModel;
    bool progressive, arithmetic;
    const char* decodeError; // nullptr: both decoders succeed
    std::array<Rgb, 3> blocks;
    bool checkerboard; // the bottom half shows black and white (not a colour-blind case)
};

constexpr auto Y = JpegColourModel::YCbCr;
constexpr std::array<Rgb, 3> kBlocks{kRed, kGreen, kBlue};

PictureFileCase Good(const char* file, JpegColourModel model, bool progressive, bool arithmetic,
                     std::array<Rgb, 3> blocks = kBlocks, bool checkerboard = true)
{
    return {file, nullptr, 48, 32, model, progressive, arithmetic, nullptr, blocks, checkerboard};
}

// The header reads, the picture does not decode.
PictureFileCase Undecodable(const char* file, int width, int height, bool progressive,
                            const char* error)
{
    return {file, nullptr, width, height, Y, progressive, false, error, {}, false};
}

PictureFileCase BadHeader(const char* file, const char* error)
{
    return {file, error, 0, 0, JpegColourModel::Other, false, false, nullptr, {}, false};
}

const PictureFileCase kPictureFiles[] = {
    Good("baseline.jpg", Y, false, false),
    Good("progressive.jpg", Y, true, false),
    Good("arithmetic.jpg", Y, false, true),
    Good("progressive-arithmetic.jpg", Y, true, true),
    Good("grayscale.jpg", JpegColourModel::Grayscale, false, false,
         {kRedGrey, kGreenGrey, kBlueGrey}),
    Good("cmyk.jpg", JpegColourModel::Cmyk, false, false),
    // Photoshop's inverted samples read as plain CMYK: "no black ink" becomes "all black".
    Good("cmyk-without-adobe-marker.jpg", JpegColourModel::Cmyk, false, false,
         {kBlack, kBlack, kBlack}, false),
    // libjpeg warns about the junk, but the picture is whole: tolerated.
    Good("extraneous-bytes-before-sof.jpg", Y, false, false),

    Undecodable("truncated.jpg", 48, 32, false, "Premature end of JPEG file"),
    Undecodable("truncated-progressive.jpg", 48, 32, true, "Premature end of JPEG file"),
    Undecodable("corrupt-entropy.jpg", 48, 32, false, "Corrupt JPEG data: bad Huffman code"),
    Undecodable("marker-inside-picture-data.jpg", 48, 32, false,
                "Corrupt JPEG data: premature end of data segment"),
    Undecodable("60000x60000-header.jpg", 60000, 60000, false,
                "picture too large: 60000 x 60000 pixels"),

    BadHeader("truncated-in-header.jpg", "Premature end of JPEG file"),
    BadHeader("12bit-header.jpg", "Unsupported JPEG data precision 12"),
    BadHeader("lossless-sof3.jpg", "SOF type 0xc3 (lossless JPEG)"),
    BadHeader("zero-height-header.jpg", "Empty JPEG image"),
    BadHeader("not-a-jpeg.jpg", "Not a JPEG file: starts with 0x54 0x68"),
    BadHeader("empty.jpg", "empty file"),
};

// Names in test output instead of byte dumps.
void PrintTo(const PictureFileCase& c, std::ostream* os)
{
    *os << c.file;
}

class PictureFileTest : public testing::TestWithParam<PictureFileCase>
{
protected:
    std::filesystem::path Path() const { return kData / GetParam().file; }
    // What the decoders must say: the header's fault, else the decoding's.
    const char* DecodeError() const
    {
        return GetParam().headerError ? GetParam().headerError : GetParam().decodeError;
    }

    void ExpectPicture(const DecodedPicture& picture, int width, int height) const
    {
        const PictureFileCase& c = GetParam();
        ASSERT_EQ(picture.width, width);
        ASSERT_EQ(picture.height, height);
        EXPECT_TRUE(EveryPixelOpaque(picture));
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(
                IsNear(picture.Pixel((16 * i + 8) * width / 48, 8 * height / 32), c.blocks[i]))
                << "block " << i;
    }
};

TEST_P(PictureFileTest, HeaderReaderGivesTheSizeOrSaysWhatIsWrong)
{
    const PictureFileCase& c = GetParam();
    if (c.headerError) {
        EXPECT_TRUE(ThrowsSaying([&] { platform::ReadJpegFileHeader(Path()); }, c.headerError,
                                 Path().string() + ": "));
        return;
    }
    const platform::JpegHeader header = platform::ReadJpegFileHeader(Path());
    EXPECT_EQ(header.width, c.width);
    EXPECT_EQ(header.height, c.height);
    EXPECT_EQ(header.colourModel, c.colourModel);
    EXPECT_EQ(header.components, c.colourModel == JpegColourModel::Grayscale ? 1
                                 : c.colourModel == JpegColourModel::Cmyk    ? 4
                                                                             : 3);
    EXPECT_EQ(header.progressive, c.progressive);
    EXPECT_EQ(header.arithmetic, c.arithmetic);
}

TEST_P(PictureFileTest, FullSizeDecodeGivesThePictureOrSaysWhatIsWrong)
{
    if (DecodeError()) {
        EXPECT_TRUE(ThrowsSaying([&] { platform::DecodeJpegFile(Path()); }, DecodeError(),
                                 Path().string() + ": "));
        return;
    }
    const DecodedPicture picture = platform::DecodeJpegFile(Path());
    ExpectPicture(picture, 48, 32);

    // A decoder that stops after the first scan of a progressive file, or fills with grey, loses
    // the 2-pixel checkerboard.
    if (!GetParam().checkerboard) return;
    int darkest = 255, lightest = 0;
    for (int y = 16; y < 32; ++y)
        for (int x = 0; x < 48; ++x) {
            const int green = (picture.Pixel(x, y) >> 8) & 0xFF;
            darkest = std::min(darkest, green);
            lightest = std::max(lightest, green);
        }
    EXPECT_LT(darkest, 64);
    EXPECT_GT(lightest, 192);
}

TEST_P(PictureFileTest, ScaledDecodeGivesThePreviewOrSaysWhatIsWrong)
{
    // A 12 x 8 frame takes 2/8 of 48 x 32.
    if (DecodeError()) {
        EXPECT_TRUE(ThrowsSaying([&] { platform::DecodeJpegFileScaled(Path(), 12, 8); },
                                 DecodeError(), Path().string() + ": "));
        return;
    }
    ExpectPicture(platform::DecodeJpegFileScaled(Path(), 12, 8), 12, 8);
}

TEST_P(PictureFileTest, DecodingFromMemoryAgreesWithTheFile)
{
    const std::vector<std::uint8_t> bytes = platform::ReadPictureFile(Path());
    if (DecodeError()) {
        EXPECT_TRUE(ThrowsSaying([&] { platform::DecodeJpeg(bytes); }, DecodeError()));
        EXPECT_TRUE(ThrowsSaying([&] { platform::DecodeJpegScaled(bytes, 12, 8); }, DecodeError()));
        return;
    }
    ExpectPicture(platform::DecodeJpeg(bytes), 48, 32);
}

std::string CaseName(const testing::TestParamInfo<PictureFileCase>& info)
{
    std::string name = info.param.file;
    name.resize(name.size() - 4); // ".jpg"
    std::replace_if(
        name.begin(), name.end(), [](unsigned char ch) { return !std::isalnum(ch); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(TestData, PictureFileTest, testing::ValuesIn(kPictureFiles), CaseName);

// ---------------------------------------------------------------------------------------------
// The scale of a preview.

struct ScaleCase
{
    int width, height, minWidth, minHeight;
    int eighths, outWidth, outHeight;
};

const ScaleCase kScales[] = {
    // 1/8 gives 125 x 100, 2/8 gives 250 x 200: both short of the frame.
    {1000, 800, 292, 217, 3, 375, 300},
    {1000, 800, 125, 100, 1, 125, 100},
    {1000, 800, 126, 100, 2, 250, 200},
    {1000, 800, 500, 400, 4, 500, 400},
    {1000, 800, 500, 401, 5, 625, 500},
    {1000, 800, 1000, 800, 8, 1000, 800},
    // Only the side that needs it decides.
    {1000, 100, 10, 90, 8, 1000, 100},
    // Smaller than the frame: full size, never enlarged.
    {100, 80, 292, 217, 8, 100, 80},
    // libjpeg rounds the scaled sides up.
    {33, 17, 1, 1, 1, 5, 3},
    {201, 99, 50, 30, 3, 76, 38},
    // No frame at all: the smallest preview.
    {640, 480, 0, 0, 1, 80, 60},
};

class ScaleChoiceTest : public testing::TestWithParam<ScaleCase>
{
};

TEST_P(ScaleChoiceTest, SmallestScaleThatCoversTheFrame)
{
    const ScaleCase& c = GetParam();
    const int eighths = platform::ChooseScaleEighths(c.width, c.height, c.minWidth, c.minHeight);
    EXPECT_EQ(eighths, c.eighths);
    EXPECT_EQ(platform::ScaledSide(c.width, eighths), c.outWidth);
    EXPECT_EQ(platform::ScaledSide(c.height, eighths), c.outHeight);
}

std::string ScaleCaseName(const ScaleCase& c)
{
    return std::to_string(c.width) + "x" + std::to_string(c.height) + "For" +
           std::to_string(c.minWidth) + "x" + std::to_string(c.minHeight);
}

void PrintTo(const ScaleCase& c, std::ostream* os)
{
    *os << ScaleCaseName(c);
}

INSTANTIATE_TEST_SUITE_P(Frames, ScaleChoiceTest, testing::ValuesIn(kScales),
                         [](const testing::TestParamInfo<ScaleCase>& info) {
                             return ScaleCaseName(info.param);
                         });

// The decoder must give exactly what the choice promised, for every kind of file: libjpeg has its
// own rounding, and CMYK and grayscale take other paths through it.
struct ScaledDecodeCase
{
    const char* name;
    int width, height, minWidth, minHeight;
    demo::JpegWriteOptions options;
    int outWidth, outHeight;
};

const ScaledDecodeCase kScaledDecodes[] = {
    {"Baseline1000x800For292x217", 1000, 800, 292, 217, {}, 375, 300},
    {"Progressive201x99For50x30", 201, 99, 50, 30, {.progressive = true}, 76, 38},
    {"Arithmetic640x480For320x240", 640, 480, 320, 240, {.arithmetic = true}, 320, 240},
    {"Cmyk33x17For1x1", 33, 17, 1, 1, {.cmyk = true}, 5, 3},
    {"Grayscale100x80For292x217", 100, 80, 292, 217, {.grayscale = true}, 100, 80},
    {"Cmyk120x90For90x60", 120, 90, 90, 60, {.cmyk = true}, 90, 68},
};

void PrintTo(const ScaledDecodeCase& c, std::ostream* os)
{
    *os << c.name;
}

class ScaledDecodeTest : public testing::TestWithParam<ScaledDecodeCase>
{
};

TEST_P(ScaledDecodeTest, DecodesAtTheChosenSizeInTheRightColour)
{
    const ScaledDecodeCase& c = GetParam();
    // Orange tells red from blue; the encoder's grayscale makes it 141.
    const Rgb orange{230, 120, 20};
    demo::RgbImage image(c.width, c.height);
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            image.Set(x, y, orange.r, orange.g, orange.b);
    const std::vector<std::uint8_t> bytes = demo::EncodeJpeg(image, c.options);

    const DecodedPicture picture = platform::DecodeJpegScaled(bytes, c.minWidth, c.minHeight);
    ASSERT_EQ(picture.width, c.outWidth);
    ASSERT_EQ(picture.height, c.outHeight);
    const Rgb want = c.options.grayscale ? Rgb{141, 141, 141} : orange;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            ASSERT_TRUE(IsNear(picture.Pixel(x, y), want)) << "at " << x << ", " << y;
}

INSTANTIATE_TEST_SUITE_P(Kinds, ScaledDecodeTest, testing::ValuesIn(kScaledDecodes),
                         [](const testing::TestParamInfo<ScaledDecodeCase>& info) {
                             return info.param.name;
                         });

// ---------------------------------------------------------------------------------------------
// The caps.

struct SizeCapCase
{
    int width, height;
    bool refused;
};

const SizeCapCase kSizeCaps[] = {
    {8192, 8192, false}, // exactly 256 MiB
    {8193, 8192, true},   {65500, 1024, false},
    {65500, 1025, true},  {60000, 60000, true}, // 13.4 GiB, and 14.4e9 does not fit in 32 bits
    {65535, 65535, true}, {0, 0, false},
};

TEST(DecodedSizeCap, RefusesWhatWouldPassTheCapOnceDecoded)
{
    for (const SizeCapCase& c : kSizeCaps) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        if (c.refused)
            EXPECT_TRUE(ThrowsSaying([&] { platform::CheckDecodedSize(c.width, c.height); },
                                     "picture too large: " + std::to_string(c.width) + " x " +
                                         std::to_string(c.height) + " pixels"));
        else
            EXPECT_NO_THROW(platform::CheckDecodedSize(c.width, c.height));
    }
}

// The preview is refused too, though 1/8 of it would fit: libjpeg's buffers for a progressive
// file grow with the full picture.
TEST(DecodedSizeCap, PreviewOfAPictureTooLargeAtFullSizeIsRefused)
{
    std::vector<std::uint8_t> bytes = platform::ReadPictureFile(kData / "baseline.jpg");
    // Make it 8193 x 8192: the frame header holds the height, then the width.
    const std::uint8_t sof0[] = {0xFF, 0xC0};
    const auto sof = std::search(bytes.begin(), bytes.end(), std::begin(sof0), std::end(sof0));
    ASSERT_NE(sof, bytes.end());
    sof[5] = 0x20;
    sof[6] = 0x00;
    sof[7] = 0x20;
    sof[8] = 0x01;
    EXPECT_EQ(platform::ReadJpegHeader(bytes).width, 8193);
    EXPECT_TRUE(ThrowsSaying([&] { platform::DecodeJpegScaled(bytes, 16, 16); },
                             "picture too large: 8193 x 8192 pixels"));
}

// ---------------------------------------------------------------------------------------------
// Files that cannot be read.

class PictureFileReadTest : public testing::Test
{
protected:
    void SetUp() override
    {
        folder_ = std::filesystem::temp_directory_path() /
                  ("jpegdecoder_test_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::permissions(folder_ / "unreadable.jpg", std::filesystem::perms::owner_all,
                                     ignored);
        std::filesystem::remove_all(folder_, ignored);
    }
    // A sparse file of that many zero bytes.
    std::filesystem::path ZeroFile(const char* name, std::uintmax_t size) const
    {
        const auto path = folder_ / name;
        std::ofstream(path).close();
        std::filesystem::resize_file(path, size);
        return path;
    }

    std::filesystem::path folder_;
};

TEST_F(PictureFileReadTest, SaysWhyAFileCannotBeRead)
{
    const auto missing = folder_ / "missing.jpg";
    const auto tooLarge = ZeroFile("too-large.jpg", platform::kMaxFileBytes + 1);
    const struct
    {
        std::filesystem::path path;
        const char* expected;
    } cases[] = {
        {missing, "cannot open: No such file or directory"},
        {folder_, "is a folder, not a picture file"},
        {tooLarge, "file too large: 67108865 bytes (the limit is 64 MiB)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.string());
        const std::string prefix = c.path.string() + ": ";
        EXPECT_TRUE(ThrowsSaying([&] { platform::ReadPictureFile(c.path); }, c.expected, prefix));
        EXPECT_TRUE(
            ThrowsSaying([&] { platform::ReadJpegFileHeader(c.path); }, c.expected, prefix));
        EXPECT_TRUE(ThrowsSaying([&] { platform::DecodeJpegFile(c.path); }, c.expected, prefix));
        EXPECT_TRUE(ThrowsSaying([&] { platform::DecodeJpegFileScaled(c.path, 1, 1); }, c.expected,
                                 prefix));
    }
}

TEST_F(PictureFileReadTest, ReadsAFileExactlyAtTheCap)
{
    const auto path = ZeroFile("at-the-cap.jpg", platform::kMaxFileBytes);
    EXPECT_EQ(platform::ReadPictureFile(path).size(), platform::kMaxFileBytes);
    // And the decoder then says what the bytes are.
    EXPECT_TRUE(ThrowsSaying([&] { platform::DecodeJpegFile(path); },
                             "Not a JPEG file: starts with 0x00 0x00"));
}

TEST_F(PictureFileReadTest, SaysWhenAFileMayNotBeRead)
{
    const auto path = ZeroFile("unreadable.jpg", 10);
    std::filesystem::permissions(path, std::filesystem::perms::none);
    if (std::ifstream(path).good()) GTEST_SKIP() << "running as root: permissions do not apply";
    EXPECT_TRUE(ThrowsSaying([&] { platform::DecodeJpegFile(path); },
                             "cannot open: Permission denied", path.string() + ": "));
}

} // namespace
