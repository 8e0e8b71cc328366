// Makes the tricky JPEG files in tests/data/ from the project's own encoder, then damages some of
// them on purpose, so every test picture can be explained and made again.
//
// It is not run at build time: the files are committed. To make them again after changing this:
//   cmake --build build --target make_test_pictures
//   build/tests/make_test_pictures tests/data
//
// Every good picture is 48 x 32: three solid 16 x 16 blocks on top (red, green, blue, each one
// MCU, so chroma subsampling does not smear them into each other) over a black-and-white
// checkerboard, which gives the entropy coder enough to write that a cut or a damaged byte lands
// in the middle of the picture data.

#include "jpegwriter.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

demo::RgbImage BlocksOverCheckerboard()
{
    demo::RgbImage image(48, 32);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            if (y < 16) {
                const int block = x / 16;
                image.Set(x, y, block == 0 ? 255 : 0, block == 1 ? 255 : 0, block == 2 ? 255 : 0);
            } else {
                const std::uint8_t v = ((x / 2 + y / 2) % 2) ? 255 : 0;
                image.Set(x, y, v, v, v);
            }
        }
    return image;
}

struct Segment
{
    std::size_t offset; // of the 0xFF
    std::uint8_t marker;
    std::size_t length; // the whole segment with its marker, without the picture data after SOS
};

// Walks the marker segments from SOI to the first SOS (the first n SOS for a progressive file).
std::vector<Segment> Segments(const Bytes& jpeg)
{
    std::vector<Segment> out;
    std::size_t at = 2; // after SOI
    while (at + 4 <= jpeg.size()) {
        if (jpeg[at] != 0xFF) throw std::runtime_error("lost the marker chain");
        const std::uint8_t marker = jpeg[at + 1];
        if (marker == 0xD9) break;
        const std::size_t length = 2u + (std::size_t{jpeg[at + 2]} << 8 | jpeg[at + 3]);
        out.push_back({at, marker, length});
        at += length;
        if (marker == 0xDA) {
            // Skip the picture data: up to the next marker that is neither stuffing nor RSTn.
            while (at + 1 < jpeg.size() && !(jpeg[at] == 0xFF && jpeg[at + 1] != 0x00 &&
                                             !(jpeg[at + 1] >= 0xD0 && jpeg[at + 1] <= 0xD7)))
                ++at;
        }
    }
    return out;
}

Segment Find(const std::vector<Segment>& segments, std::uint8_t marker, int nth = 0)
{
    for (const Segment& s : segments)
        if (s.marker == marker && nth-- == 0) return s;
    throw std::runtime_error("marker not found");
}

Segment FindSof(const std::vector<Segment>& segments)
{
    for (const Segment& s : segments)
        if (s.marker >= 0xC0 && s.marker <= 0xCF && s.marker != 0xC4 && s.marker != 0xC8 &&
            s.marker != 0xCC)
            return s;
    throw std::runtime_error("no SOF");
}

// The picture data of the first scan: from after its SOS header to the next marker.
struct Range
{
    std::size_t begin, end;
};
Range FirstScanData(const Bytes& jpeg)
{
    const auto segments = Segments(jpeg);
    const Segment sos = Find(segments, 0xDA);
    const std::size_t begin = sos.offset + sos.length;
    const auto next = std::find_if(segments.begin(), segments.end(),
                                   [&](const Segment& s) { return s.offset > sos.offset; });
    return {begin, next != segments.end() ? next->offset : jpeg.size() - 2};
}

Bytes Patched(Bytes jpeg, std::size_t offset, std::initializer_list<std::uint8_t> values)
{
    for (std::uint8_t v : values)
        jpeg.at(offset++) = v;
    return jpeg;
}

Bytes WithSofSize(const Bytes& jpeg, int width, int height)
{
    const std::size_t sof = FindSof(Segments(jpeg)).offset;
    return Patched(jpeg, sof + 5,
                   {static_cast<std::uint8_t>(height >> 8), static_cast<std::uint8_t>(height),
                    static_cast<std::uint8_t>(width >> 8), static_cast<std::uint8_t>(width)});
}

void Write(const std::filesystem::path& folder, const std::string& name, const Bytes& bytes)
{
    demo::WriteBytes(folder / name, bytes);
    std::printf("%6zu  %s\n", bytes.size(), name.c_str());
}

} // namespace

int main(int argc, char** argv)
try {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER (normally tests/data)\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const demo::RgbImage image = BlocksOverCheckerboard();
    const auto encode = [&](demo::JpegWriteOptions options) {
        options.quality = 90;
        return demo::EncodeJpeg(image, options);
    };

    const Bytes baseline = encode({});
    const Bytes progressive = encode({.progressive = true});
    const Bytes cmyk = encode({.cmyk = true});

    // Good pictures, one for each way a JPEG can be written that we must decode.
    Write(folder, "baseline.jpg", baseline);
    Write(folder, "progressive.jpg", progressive);
    Write(folder, "arithmetic.jpg", encode({.arithmetic = true}));
    Write(folder, "progressive-arithmetic.jpg", encode({.progressive = true, .arithmetic = true}));
    Write(folder, "grayscale.jpg", encode({.grayscale = true}));
    Write(folder, "cmyk.jpg", cmyk);

    // The same inverted CMYK samples without the Adobe APP14 marker that says they are inverted:
    // read as plain CMYK they must come out in the complementary colours.
    {
        const Segment app14 = Find(Segments(cmyk), 0xEE);
        Bytes stripped = cmyk;
        stripped.erase(stripped.begin() + static_cast<std::ptrdiff_t>(app14.offset),
                       stripped.begin() + static_cast<std::ptrdiff_t>(app14.offset + app14.length));
        Write(folder, "cmyk-without-adobe-marker.jpg", stripped);
    }

    // Junk between two markers: libjpeg warns, the picture is intact, so it must still decode.
    {
        const std::size_t sof = FindSof(Segments(baseline)).offset;
        Bytes junk = baseline;
        junk.insert(junk.begin() + static_cast<std::ptrdiff_t>(sof), {0x00, 0x11, 0x22});
        Write(folder, "extraneous-bytes-before-sof.jpg", junk);
    }

    // Damaged picture data, which libjpeg would otherwise fill with grey.
    {
        const Range scan = FirstScanData(baseline);
        const std::size_t middle = (scan.begin + scan.end) / 2;
        Write(folder, "truncated.jpg",
              Bytes(baseline.begin(), baseline.begin() + static_cast<std::ptrdiff_t>(middle)));
        // Sixty-four one bits: longer than any Huffman code, and the all-ones code is never used.
        Write(folder, "corrupt-entropy.jpg",
              Patched(baseline, middle,
                      {0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF,
                       0x00, 0xFF, 0x00}));
        // An end-of-image marker in the middle of the picture data.
        Write(folder, "marker-inside-picture-data.jpg", Patched(baseline, middle, {0xFF, 0xD9}));
    }
    // A progressive file that ends after its first scan: without the check it shows the coarse
    // first scan as if it were the picture.
    {
        const Segment secondScan = Find(Segments(progressive), 0xDA, 1);
        Write(folder, "truncated-progressive.jpg",
              Bytes(progressive.begin(),
                    progressive.begin() + static_cast<std::ptrdiff_t>(secondScan.offset)));
    }
    // Ends right after the frame header, before any Huffman table or scan.
    {
        const Segment sof = FindSof(Segments(baseline));
        Write(folder, "truncated-in-header.jpg",
              Bytes(baseline.begin(),
                    baseline.begin() + static_cast<std::ptrdiff_t>(sof.offset + sof.length)));
    }

    // Headers that promise what we cannot or will not decode.
    {
        const std::size_t sof = FindSof(Segments(baseline)).offset;
        Write(folder, "12bit-header.jpg", Patched(baseline, sof + 4, {12}));
        Write(folder, "lossless-sof3.jpg", Patched(baseline, sof + 1, {0xC3}));
        Write(folder, "60000x60000-header.jpg", WithSofSize(baseline, 60000, 60000));
        Write(folder, "zero-height-header.jpg", WithSofSize(baseline, 48, 0));
    }

    // Not JPEG at all.
    {
        const std::string_view text = "This is a text file, not a picture.\n";
        Write(folder, "not-a-jpeg.jpg", Bytes(text.begin(), text.end()));
        Write(folder, "empty.jpg", {});
    }
    return 0;
} catch (const std::exception& e) {
    std::fprintf(stderr, "make_test_pictures: %s\n", e.what());
    return 1;
}
