#include "textdecoding.h"

#include <stdexcept>

#include <unicode/ucnv.h>

namespace catalogue {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Length of the well-formed UTF-8 sequence at s[i], or 0 when it is not one (overlong forms,
// surrogates and code points past U+10FFFF count as ill-formed, as in Unicode's table 3-7).
size_t Utf8SequenceLength(std::string_view s, size_t i)
{
    const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned c = b(i);
    const size_t left = s.size() - i;
    const auto cont = [&](size_t k) { return (b(k) & 0xC0) == 0x80; };
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) return left >= 2 && cont(i + 1) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (left < 3 || !cont(i + 1) || !cont(i + 2)) return 0;
        if (c == 0xE0 && b(i + 1) < 0xA0) return 0;
        if (c == 0xED && b(i + 1) > 0x9F) return 0;
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (left < 4 || !cont(i + 1) || !cont(i + 2) || !cont(i + 3)) return 0;
        if (c == 0xF0 && b(i + 1) < 0x90) return 0;
        if (c == 0xF4 && b(i + 1) > 0x8F) return 0;
        return 4;
    }
    return 0;
}

UConverter* OpenConverter(const char* name)
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter* c = ucnv_open(name, &status);
    if (U_FAILURE(status)) throw std::runtime_error(std::string("ICU has no converter for ") + name);
    return c;
}

std::string DecodeWindows1251(std::string_view bytes)
{
    // Opened once for the life of the program: opening ICU's converters costs more than
    // decoding a small catalogue file. Everything runs on one thread.
    static UConverter* const from = OpenConverter("windows-1251");
    static UConverter* const to = OpenConverter("UTF-8");

    // Every Windows-1251 byte becomes at most three bytes of UTF-8 (the replacement character
    // for the one unassigned byte included).
    std::string out(bytes.size() * 3, '\0');
    UErrorCode status = U_ZERO_ERROR;
    char* target = out.data();
    const char* source = bytes.data();
    ucnv_convertEx(to, from, &target, out.data() + out.size(), &source,
                   bytes.data() + bytes.size(), nullptr, nullptr, nullptr, nullptr, true, true,
                   &status);
    if (U_FAILURE(status)) throw std::runtime_error(u_errorName(status));
    out.resize(static_cast<size_t>(target - out.data()));
    return out;
}

} // namespace

TextEncoding DetectEncoding(std::string_view bytes)
{
    if (bytes.starts_with(kBom)) return TextEncoding::Utf8WithBom;
    bool multiByte = false;
    for (size_t i = 0; i < bytes.size();) {
        const size_t n = Utf8SequenceLength(bytes, i);
        if (n == 0) return TextEncoding::Windows1251;
        multiByte |= n > 1;
        i += n;
    }
    return multiByte ? TextEncoding::Utf8 : TextEncoding::Windows1251;
}

std::string DecodeToUtf8(std::string_view bytes, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8WithBom: {
        // A file that declares UTF-8 may still hold a stray bad byte; it becomes U+FFFD so the
        // rest of the program only ever sees valid UTF-8.
        bytes.remove_prefix(kBom.size());
        std::string out;
        out.reserve(bytes.size());
        for (size_t i = 0; i < bytes.size();) {
            const size_t n = Utf8SequenceLength(bytes, i);
            if (n == 0) {
                out += "\xEF\xBF\xBD";
                ++i;
            } else {
                out.append(bytes.substr(i, n));
                i += n;
            }
        }
        return out;
    }
    case TextEncoding::Utf8:
        return std::string(bytes); // already checked to be valid
    case TextEncoding::Windows1251:
        break;
    }
    return DecodeWindows1251(bytes);
}

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last) end = text.size();
        std::string_view raw = text.substr(start, end - start);
        std::string line;
        if (raw.find('\r') == std::string_view::npos) {
            line.assign(raw);
        } else {
            line.reserve(raw.size());
            for (char c : raw)
                if (c != '\r') line += c;
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> DecodeCatalogueLines(std::string_view bytes)
{
    const size_t eof = bytes.find('\x1A');
    if (eof != std::string_view::npos) bytes = bytes.substr(0, eof);
    const TextEncoding encoding = DetectEncoding(bytes);
    // Text that is already UTF-8 (plain ASCII included) is split as it stands.
    if (encoding == TextEncoding::Windows1251) {
        bool ascii = true;
        for (char c : bytes)
            if (static_cast<unsigned char>(c) >= 0x80) {
                ascii = false;
                break;
            }
        if (ascii) return SplitLines(bytes);
    } else if (encoding == TextEncoding::Utf8) {
        return SplitLines(bytes);
    }
    return SplitLines(DecodeToUtf8(bytes, encoding));
}

} // namespace catalogue
