// libFuzzer target: any bytes as a preview and as a full-size picture.

#include "jpegdecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    try {
        const auto header = platform::ReadJpegHeader(bytes);
        const auto preview = platform::DecodeJpegScaled(bytes, 292, 217);
        if (preview.pixels.size() != static_cast<size_t>(preview.width) * preview.height) return 1;
        if (static_cast<size_t>(header.width) * header.height < 4'000'000)
            platform::DecodeJpeg(bytes);
    } catch (const platform::PictureError&) {
    }
    return 0;
}
