#include "jpegwriter.h"

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>

#include <jpeglib.h>

namespace demo {

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

} // namespace

std::vector<std::uint8_t> EncodeJpeg(const RgbImage& image, const JpegWriteOptions& options)
{
    if (image.width <= 0 || image.height <= 0 ||
        image.rgb.size() != static_cast<size_t>(image.width) * image.height * 3)
        throw std::runtime_error("EncodeJpeg: bad image size");

    // Everything the longjmp may skip over lives outside the setjmp scope.
    jpeg_compress_struct cinfo{};
    ErrorManager err{};
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    std::vector<JSAMPLE> row;

    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(out);
        throw std::runtime_error(std::string("EncodeJpeg: ") + err.message);
    }

    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = static_cast<JDIMENSION>(image.width);
    cinfo.image_height = static_cast<JDIMENSION>(image.height);
    if (options.cmyk) {
        cinfo.input_components = 4;
        cinfo.in_color_space = JCS_CMYK;
    } else if (options.grayscale) {
        cinfo.input_components = 1;
        cinfo.in_color_space = JCS_GRAYSCALE;
    } else {
        cinfo.input_components = 3;
        cinfo.in_color_space = JCS_RGB;
    }
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, options.quality, TRUE);
    if (options.cmyk) cinfo.write_Adobe_marker = TRUE;
    if (options.progressive) jpeg_simple_progression(&cinfo);
    if (options.arithmetic) cinfo.arith_code = TRUE;
    jpeg_start_compress(&cinfo, TRUE);

    row.resize(static_cast<size_t>(image.width) * static_cast<size_t>(cinfo.input_components));
    while (cinfo.next_scanline < cinfo.image_height) {
        const auto* src = &image.rgb[static_cast<size_t>(cinfo.next_scanline) * image.width * 3];
        for (int x = 0; x < image.width; ++x) {
            const int r = src[3 * x], g = src[3 * x + 1], b = src[3 * x + 2];
            if (options.cmyk) {
                // Adobe CMYK is stored inverted: 255 means no ink.
                const int k = 255 - std::max({r, g, b});
                const int denom = 255 - k;
                const auto ink = [&](int v) { return denom ? (255 - v - k) * 255 / denom : 0; };
                row[4 * x] = static_cast<JSAMPLE>(255 - ink(r));
                row[4 * x + 1] = static_cast<JSAMPLE>(255 - ink(g));
                row[4 * x + 2] = static_cast<JSAMPLE>(255 - ink(b));
                row[4 * x + 3] = static_cast<JSAMPLE>(255 - k);
            } else if (options.grayscale) {
                row[x] = static_cast<JSAMPLE>((r * 299 + g * 587 + b * 114) / 1000);
            } else {
                row[3 * x] = static_cast<JSAMPLE>(r);
                row[3 * x + 1] = static_cast<JSAMPLE>(g);
                row[3 * x + 2] = static_cast<JSAMPLE>(b);
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);

    std::vector<std::uint8_t> bytes(out, out + outSize);
    std::free(out);
    return bytes;
}

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file) throw std::runtime_error("cannot write " + path.string());
}

} // namespace demo
