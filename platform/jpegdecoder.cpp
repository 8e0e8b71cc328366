#include "jpegdecoder.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <fcntl.h>
#include <new>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

// jconfig.h first: it says which messages jerror.h declares (the arithmetic-coding ones).
#include <jconfig.h>
#include <jerror.h>
#include <jpeglib.h>

namespace platform {

namespace {

// libjpeg's own allocations (its virtual arrays, above all the whole-picture coefficient buffer of
// a progressive file) are held to this. Past it libjpeg asks for a backing store, which this
// build does not have, and fails cleanly. Twice the pixel cap leaves room for 4:4:4 and CMYK
// files, whose coefficients take 6 and 8 bytes a pixel, at the largest size the pixel cap lets in.
constexpr long kMaxLibjpegMemory = static_cast<long>(2 * kMaxDecodedBytes);

// Our pixels are 0xFFRRGGBB in native order, so the byte order libjpeg-turbo writes follows
// the machine: B, G, R, X on little-endian ones.
constexpr J_COLOR_SPACE kPixelColourSpace =
    std::endian::native == std::endian::little ? JCS_EXT_BGRX : JCS_EXT_XRGB;

struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// libjpeg reports damaged picture data only as warnings and carries on, filling what it could not
// read with grey (or with the coarse first scans of a progressive file). A disc browser that shows
// such a picture hides a broken disc, so these warnings are errors here. The others are tolerated:
// JWRN_EXTRANEOUS_DATA (junk between markers, common in camera files, the picture is intact),
// JWRN_JFIF_MAJOR, JWRN_ADOBE_XFORM (version and colour-transform notes) and JWRN_BOGUS_ICC (we
// ignore ICC profiles anyway). One limit we live with: in a big file libjpeg-turbo's fast
// Huffman path swallows a bad code without a word, so such damage shows only when it ends in a
// marker at the wrong place (fatal) or in leftover bytes before the next marker (tolerated, as
// above, because camera files carry those too).
bool IsFatalWarning(int code)
{
    switch (code) {
    case JWRN_JPEG_EOF:          // truncated file
    case JWRN_HIT_MARKER:        // a segment of picture data ends too early
    case JWRN_MUST_RESYNC:       // a restart marker is missing or wrong
    case JWRN_HUFF_BAD_CODE:     // the picture data is not valid Huffman code
    case JWRN_ARITH_BAD_CODE:    // the picture data is not valid arithmetic code
    case JWRN_NOT_SEQUENTIAL:    // a baseline file with progressive scan parameters
    case JWRN_BOGUS_PROGRESSION: // a progressive file whose scans do not fit together
    case JWRN_TOO_MUCH_DATA:     // we read past the last row: a fault of ours
        return true;
    default:
        return false;
    }
}

[[noreturn]] void FailWithMessage(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Replaces libjpeg's error_exit, which would print and call exit().
[[noreturn]] void OnError(j_common_ptr cinfo)
{
    FailWithMessage(cinfo);
}

// Replaces emit_message: level -1 is a warning, the others are trace messages.
void OnMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0) return;
    if (IsFatalWarning(cinfo->err->msg_code)) FailWithMessage(cinfo);
    ++cinfo->err->num_warnings;
}

// A library does not write to stderr; everything worth saying becomes a PictureError.
void OnOutputMessage(j_common_ptr) {}

const char* SofKind(int marker)
{
    switch (marker) {
    case 0xc3:
    case 0xcb:
        return " (lossless JPEG)";
    case 0xc5:
    case 0xc6:
    case 0xcd:
    case 0xce:
        return " (hierarchical JPEG)";
    case 0xc7:
    case 0xcf:
        return " (hierarchical lossless JPEG)";
    default:
        return "";
    }
}

// libjpeg's messages are mostly clear; these few say too little for someone looking at a disc.
std::string ClearMessage(const ErrorManager& err)
{
    const std::string text = err.message;
    switch (err.pub.msg_code) {
    case JERR_BAD_PRECISION:
        return text + " (only 8-bit JPEG pictures can be shown)";
    case JERR_SOF_UNSUPPORTED:
        return text + SofKind(err.pub.msg_parm.i[0]);
    case JERR_EMPTY_IMAGE:
        return "Empty JPEG image: the header gives no width, height or colour components (DNL "
               "not supported)";
    case JERR_NO_BACKING_STORE:
        return "picture needs more memory to decode than allowed";
    case JWRN_JPEG_EOF:
        return text + " (the file is truncated)";
    default:
        return text;
    }
}

// One libjpeg decompressor and its error manager. The phases below are separate functions
// because each calls setjmp: their locals are all trivial, and everything with a destructor (this
// session, the pixels) lives in the caller, out of reach of the longjmp.
class Session
{
public:
    Session()
    {
        cinfo.err = jpeg_std_error(&err.pub);
        err.pub.error_exit = OnError;
        err.pub.emit_message = OnMessage;
        err.pub.output_message = OnOutputMessage;
    }
    ~Session() { jpeg_destroy_decompress(&cinfo); } // harmless before jpeg_create_decompress
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    [[noreturn]] void Fail() const { throw PictureError(ClearMessage(err)); }

    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
};

bool ReadHeaderPhase(Session& s, std::span<const std::uint8_t> bytes)
{
    if (setjmp(s.err.jump)) return false;
    jpeg_create_decompress(&s.cinfo);
    s.cinfo.mem->max_memory_to_use = kMaxLibjpegMemory;
    jpeg_mem_src(&s.cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&s.cinfo, TRUE);
    return true;
}

bool CalcOutputPhase(Session& s)
{
    if (setjmp(s.err.jump)) return false;
    jpeg_calc_output_dimensions(&s.cinfo);
    return true;
}

// CMYK samples arrive as libjpeg decodes them. Photoshop, which writes an Adobe marker, stores
// them inverted (255 = no ink); without the marker 0 means no ink.
void CmykRowToPixels(const JSAMPLE* cmyk, std::uint32_t* out, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x) {
        unsigned c = cmyk[4 * x], m = cmyk[4 * x + 1], y = cmyk[4 * x + 2], k = cmyk[4 * x + 3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        // Now 255 means no ink: each channel is what its ink and the black leave of the light.
        const unsigned r = (c * k + 127) / 255, g = (m * k + 127) / 255, b = (y * k + 127) / 255;
        out[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
}

bool DecodePhase(Session& s, std::uint32_t* pixels, JSAMPLE* cmykRow)
{
    if (setjmp(s.err.jump)) return false;
    jpeg_start_decompress(&s.cinfo);
    const JDIMENSION width = s.cinfo.output_width;
    while (s.cinfo.output_scanline < s.cinfo.output_height) {
        std::uint32_t* out = pixels + static_cast<std::size_t>(s.cinfo.output_scanline) * width;
        JSAMPROW row = cmykRow ? cmykRow : reinterpret_cast<JSAMPROW>(out);
        if (jpeg_read_scanlines(&s.cinfo, &row, 1) != 1) {
            // Only a suspending data source returns no row, and ours never suspends; if it
            // ever did, looping on would hang.
            s.err.pub.msg_code = 0;
            std::snprintf(s.err.message, sizeof s.err.message, "JPEG decoder stopped early");
            return false;
        }
        if (cmykRow) CmykRowToPixels(cmykRow, out, width, s.cinfo.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&s.cinfo);
    return true;
}

void RequireBytes(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty()) throw PictureError("empty file: 0 bytes, no picture in it");
}

JpegColourModel ColourModelOf(J_COLOR_SPACE space)
{
    switch (space) {
    case JCS_GRAYSCALE:
        return JpegColourModel::Grayscale;
    case JCS_YCbCr:
        return JpegColourModel::YCbCr;
    case JCS_RGB:
        return JpegColourModel::Rgb;
    case JCS_CMYK:
        return JpegColourModel::Cmyk;
    case JCS_YCCK:
        return JpegColourModel::Ycck;
    default:
        return JpegColourModel::Other;
    }
}

std::string SizeText(long long width, long long height)
{
    return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

// scaled asks for the smallest DCT scale that still covers a minWidth x minHeight frame.
DecodedPicture Decode(std::span<const std::uint8_t> bytes, bool scaled, int minWidth, int minHeight)
{
    RequireBytes(bytes);
    Session s;
    if (!ReadHeaderPhase(s, bytes)) s.Fail();
    jpeg_decompress_struct& cinfo = s.cinfo;

    // Before jpeg_start_decompress, which is what allocates.
    CheckDecodedSize(static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height));

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
        cinfo.out_color_space = kPixelColourSpace;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        // libjpeg turns YCCK into CMYK, but not CMYK into RGB; that is CmykRowToPixels.
        cinfo.out_color_space = JCS_CMYK;
        break;
    default:
        throw PictureError("Unsupported JPEG colour model with " +
                           std::to_string(cinfo.num_components) + " components");
    }
    const int eighths =
        scaled ? ChooseScaleEighths(static_cast<int>(cinfo.image_width),
                                    static_cast<int>(cinfo.image_height), minWidth, minHeight)
               : 8;
    cinfo.scale_num = static_cast<unsigned>(eighths);
    cinfo.scale_denom = 8;
    if (!CalcOutputPhase(s)) s.Fail();

    DecodedPicture picture;
    picture.width = static_cast<int>(cinfo.output_width);
    picture.height = static_cast<int>(cinfo.output_height);
    CheckDecodedSize(picture.width, picture.height); // cannot pass once the full size did
    std::vector<JSAMPLE> cmykRow;
    try {
        picture.pixels.resize(static_cast<std::size_t>(picture.width) *
                              static_cast<std::size_t>(picture.height));
        if (cmyk) cmykRow.resize(static_cast<std::size_t>(picture.width) * 4);
    } catch (const std::bad_alloc&) {
        throw PictureError("not enough memory to decode a picture of " +
                           SizeText(picture.width, picture.height));
    }
    if (!DecodePhase(s, picture.pixels.data(), cmyk ? cmykRow.data() : nullptr)) s.Fail();

    // libjpeg-turbo leaves the X byte of BGRX undefined; Format_RGB32 wants it 0xFF.
    if (!cmyk)
        for (std::uint32_t& p : picture.pixels)
            p |= 0xFF000000u;
    return picture;
}

std::string ErrnoText(int code)
{
    return std::generic_category().message(code);
}

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Messages without the path; the public functions put it in front.
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path)
{
    // O_NONBLOCK so that a named pipe on the disc cannot hang us in open(); it changes nothing
    // for a regular file.
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) throw PictureError("cannot open: " + ErrnoText(errno));
    struct stat st
    {
    };
    if (::fstat(fd.get(), &st) != 0) throw PictureError("cannot read: " + ErrnoText(errno));
    if (S_ISDIR(st.st_mode)) throw PictureError("is a folder, not a picture file");
    if (!S_ISREG(st.st_mode)) throw PictureError("is not a regular file");

    const auto tooLarge = [](unsigned long long size) {
        return PictureError("file too large: " + std::to_string(size) + " bytes (the limit is " +
                            std::to_string(kMaxFileBytes >> 20) + " MiB)");
    };
    if (static_cast<unsigned long long>(st.st_size) > kMaxFileBytes) throw tooLarge(st.st_size);

    // Read up to one byte past the cap, in case the file grew since fstat.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (bytes.size() > kMaxFileBytes) throw tooLarge(bytes.size());
            bytes.resize(std::min(bytes.size() * 2, kMaxFileBytes + 1));
        }
        const ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw PictureError("cannot read: " + ErrnoText(errno));
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

template <class Work> auto WithFile(const std::filesystem::path& path, Work work)
{
    try {
        return work(ReadFileBytes(path));
    } catch (const PictureError& e) {
        throw PictureError(path.string() + ": " + e.what());
    }
}

} // namespace

void CheckDecodedSize(int width, int height)
{
    const auto bytes = static_cast<unsigned long long>(width < 0 ? 0 : width) *
                       static_cast<unsigned long long>(height < 0 ? 0 : height) * 4;
    if (bytes > kMaxDecodedBytes)
        throw PictureError("picture too large: " + SizeText(width, height) + " (the limit is " +
                           std::to_string(kMaxDecodedBytes >> 20) + " MiB decoded)");
}

int ScaledSide(int side, int eighths)
{
    return static_cast<int>((static_cast<long long>(side) * eighths + 7) / 8);
}

int ChooseScaleEighths(int width, int height, int minWidth, int minHeight)
{
    for (int eighths = 1; eighths < 8; ++eighths)
        if (ScaledSide(width, eighths) >= minWidth && ScaledSide(height, eighths) >= minHeight)
            return eighths;
    return 8;
}

JpegHeader ReadJpegHeader(std::span<const std::uint8_t> bytes)
{
    RequireBytes(bytes);
    Session s;
    if (!ReadHeaderPhase(s, bytes)) s.Fail();
    JpegHeader header;
    header.width = static_cast<int>(s.cinfo.image_width);
    header.height = static_cast<int>(s.cinfo.image_height);
    header.components = s.cinfo.num_components;
    header.colourModel = ColourModelOf(s.cinfo.jpeg_color_space);
    header.progressive = s.cinfo.progressive_mode;
    header.arithmetic = s.cinfo.arith_code;
    return header;
}

DecodedPicture DecodeJpeg(std::span<const std::uint8_t> bytes)
{
    return Decode(bytes, false, 0, 0);
}

DecodedPicture DecodeJpegScaled(std::span<const std::uint8_t> bytes, int minWidth, int minHeight)
{
    return Decode(bytes, true, minWidth, minHeight);
}

std::vector<std::uint8_t> ReadPictureFile(const std::filesystem::path& path)
{
    return WithFile(path, [](std::vector<std::uint8_t> bytes) { return bytes; });
}

JpegHeader ReadJpegFileHeader(const std::filesystem::path& path)
{
    return WithFile(path,
                    [](const std::vector<std::uint8_t>& bytes) { return ReadJpegHeader(bytes); });
}

DecodedPicture DecodeJpegFile(const std::filesystem::path& path)
{
    return WithFile(path, [](const std::vector<std::uint8_t>& bytes) { return DecodeJpeg(bytes); });
}

DecodedPicture DecodeJpegFileScaled(const std::filesystem::path& path, int minWidth, int minHeight)
{
    return WithFile(path, [=](const std::vector<std::uint8_t>& bytes) {
        return DecodeJpegScaled(bytes, minWidth, minHeight);
    });
}

} // namespace platform
