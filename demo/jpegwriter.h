#pragma once
// Encodes pictures as JPEG files with libjpeg, so the demo disc's pictures and the test
// pictures are made by the project's own code instead of being carried as opaque files.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace demo {

// Interleaved RGB, 3 bytes a pixel, rows from the top.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    RgbImage() = default;
    RgbImage(int w, int h) : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3) {}
    void Set(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b)
    {
        auto* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        p[0] = r;
        p[1] = g;
        p[2] = b;
    }
};

struct JpegWriteOptions {
    int quality = 85;
    bool progressive = false;
    bool arithmetic = false; // arithmetic entropy coding instead of Huffman
    bool grayscale = false;  // one channel, from the luminance
    bool cmyk = false;       // four channels, Adobe-style inverted CMYK as Photoshop writes it
};

// Throws std::runtime_error when libjpeg refuses.
std::vector<std::uint8_t> EncodeJpeg(const RgbImage& image, const JpegWriteOptions& options = {});

// Writes the bytes, creating the folders on the way. Throws std::runtime_error.
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

} // namespace demo
