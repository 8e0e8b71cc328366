#pragma once
// Decodes the disc's JPEG pictures with libjpeg-turbo, without Qt, so that disccheck can test
// every picture on a disc the same way the windows will show it.
//
// Pictures come from a disc we did not make, so nothing here trusts a file: every libjpeg error
// and every warning that means damaged picture data becomes a PictureError, and what a picture
// may allocate is capped before anything is allocated.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

// A picture that cannot be shown; what() is a sentence fit for the user.
class PictureError : public std::runtime_error
{
public:
    explicit PictureError(const std::string& message) : std::runtime_error(message) {}
};

// How the file stores its colours.
enum class JpegColourModel { Grayscale, YCbCr, Rgb, Cmyk, Ycck, Other };

// What the header says, read without decoding any picture data.
struct JpegHeader
{
    int width = 0;
    int height = 0;
    int components = 0;
    JpegColourModel colourModel = JpegColourModel::Other;
    bool progressive = false;
    bool arithmetic = false;
};

// A decoded picture: 0xFFRRGGBB pixels, row-major, no padding — the layout of
// QImage::Format_RGB32, so the window can wrap the pixels without converting them.
struct DecodedPicture
{
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t Pixel(int x, int y) const
    {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// Cap on width * height * 4 of a decoded picture. It is applied to the picture at full size
// even for a scaled preview: libjpeg's coefficient buffers for progressive files grow with the
// full picture, not with the scaled output, and a disc for phones has no business holding a
// picture anywhere near this.
inline constexpr std::size_t kMaxDecodedBytes = std::size_t{256} << 20;

// Cap on the size of a picture file read into memory. A JPEG bigger than a quarter of the decoded
// cap would almost surely decode past it anyway, and reading it would cost that much memory first.
inline constexpr std::size_t kMaxFileBytes = kMaxDecodedBytes / 4;

// Throws PictureError("picture too large: W x H pixels ...") when a picture of that size would
// pass kMaxDecodedBytes once decoded.
void CheckDecodedSize(int width, int height);

// The DCT scale, in eighths (1..8), that a scaled decode of a width x height picture uses for a
// frame of minWidth x minHeight: the smallest whose output still covers the frame, or 8 (full
// size) when the picture is smaller than the frame. libjpeg-turbo scales only by n/8 (it rounds
// any other fraction up to the next eighth), so eighths are all the choice there is.
int ChooseScaleEighths(int width, int height, int minWidth, int minHeight);

// The side of a picture decoded at eighths/8, rounded up as libjpeg rounds it.
int ScaledSide(int side, int eighths);

// Reads only the header. Throws PictureError for what is not a JPEG, is damaged before the picture
// data starts, or uses a kind of JPEG we cannot decode (12-bit, lossless, hierarchical, no size).
JpegHeader ReadJpegHeader(std::span<const std::uint8_t> bytes);

// Decodes at full size, for the screenshot window. Throws PictureError.
DecodedPicture DecodeJpeg(std::span<const std::uint8_t> bytes);

// Decodes at the smallest DCT scale still at least minWidth x minHeight (see ChooseScaleEighths),
// for the preview. Throws PictureError.
DecodedPicture DecodeJpegScaled(std::span<const std::uint8_t> bytes, int minWidth, int minHeight);

// Reads a whole file of at most kMaxFileBytes. Throws PictureError naming the file.
std::vector<std::uint8_t> ReadPictureFile(const std::filesystem::path& path);

// The same, from a file; the PictureError's message starts with the file's path.
JpegHeader ReadJpegFileHeader(const std::filesystem::path& path);
DecodedPicture DecodeJpegFile(const std::filesystem::path& path);
DecodedPicture DecodeJpegFileScaled(const std::filesystem::path& path, int minWidth, int minHeight);

} // namespace platform
