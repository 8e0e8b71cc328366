#include "textdecoding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <unicode/ucnv.h>
#include <unicode/ustring.h>

namespace catalogue {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

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

// Windows-1251 is a stateless single-byte code page, so ICU's converter gives each byte the
// same text wherever it stands. Asking it once per byte value and keeping the answers turns
// decoding a large catalogue into a table lookup, with ICU still the authority on the mapping.
struct ByteMap
{
    std::array<std::array<char, 4>, 256> utf8{};
    std::array<unsigned char, 256> length{};
};

const ByteMap& Windows1251Map()
{
    static const ByteMap map = [] {
        ByteMap m;
        UErrorCode status = U_ZERO_ERROR;
        UConverter* converter = ucnv_open("windows-1251", &status);
        if (U_FAILURE(status)) throw std::runtime_error("ICU has no Windows-1251 converter");
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            UChar unit[4];
            status = U_ZERO_ERROR;
            ucnv_reset(converter);
            const int32_t units = ucnv_toUChars(converter, unit, 4, &byte, 1, &status);
            char out[8];
            int32_t bytes = 0;
            if (U_SUCCESS(status)) u_strToUTF8(out, sizeof out, &bytes, unit, units, &status);
            if (U_FAILURE(status) || bytes < 1 || bytes > 4) {
                std::memcpy(out, kReplacement.data(), kReplacement.size());
                bytes = static_cast<int32_t>(kReplacement.size());
            }
            std::memcpy(m.utf8[b].data(), out, static_cast<size_t>(bytes));
            m.length[b] = static_cast<unsigned char>(bytes);
        }
        ucnv_close(converter);
        return m;
    }();
    return map;
}

TextBuffer DecodeWindows1251(std::string_view bytes)
{
    const ByteMap& map = Windows1251Map();
    size_t size = 0;
    for (unsigned char c : bytes)
        size += map.length[c];
    // Three bytes of slack let every byte copy a whole table entry of four.
    TextBuffer out = TextBuffer::WithSize(size + 3);
    out.size = size;
    char* p = out.data.get();
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            *p++ = static_cast<char>(c);
        } else {
            std::memcpy(p, map.utf8[c].data(), 4);
            p += map.length[c];
        }
    }
    return out;
}

// A file that declares UTF-8 may still hold a stray bad byte; it becomes U+FFFD so the rest of
// the program only ever sees valid UTF-8.
TextBuffer ScrubUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const size_t n = Utf8SequenceLength(bytes, i);
        if (n == 0) {
            out += kReplacement;
            ++i;
        } else {
            out.append(bytes.substr(i, n));
            i += n;
        }
    }
    TextBuffer buffer = TextBuffer::WithSize(out.size());
    std::memcpy(buffer.data.get(), out.data(), out.size());
    return buffer;
}

// Splits in place: a carriage return inside a line is squeezed out of the buffer, which only
// ever shortens the line.
std::vector<std::string_view> SplitLinesInPlace(char* text, size_t size)
{
    std::vector<std::string_view> lines;
    char* p = text;
    char* const end = text + size;
    while (p < end) {
        char* nl = static_cast<char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        char* lineEnd = nl ? nl : end;
        char* cr = static_cast<char*>(std::memchr(p, '\r', static_cast<size_t>(lineEnd - p)));
        char* last = lineEnd;
        if (cr) {
            last = cr;
            for (char* q = cr + 1; q < lineEnd; ++q)
                if (*q != '\r') *last++ = *q;
        }
        lines.emplace_back(p, static_cast<size_t>(last - p));
        p = lineEnd + 1;
    }
    return lines;
}

} // namespace

TextBuffer TextBuffer::WithSize(size_t n)
{
    TextBuffer b;
    b.data = std::make_unique_for_overwrite<char[]>(n == 0 ? 1 : n);
    b.size = n;
    return b;
}

namespace {

// Whether the bytes are well-formed UTF-8, and whether any character takes more than a byte.
bool IsUtf8(std::string_view bytes, bool* multiByte = nullptr)
{
    bool multi = false;
    for (size_t i = 0; i < bytes.size();) {
        // Runs of ASCII are the common case; skip them eight bytes at a time.
        if (i + 8 <= bytes.size()) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + i, 8);
            if ((word & 0x8080808080808080ull) == 0) {
                i += 8;
                continue;
            }
        }
        const size_t n = Utf8SequenceLength(bytes, i);
        if (n == 0) return false;
        multi |= n > 1;
        i += n;
    }
    if (multiByte) *multiByte = multi;
    return true;
}

} // namespace

TextEncoding DetectEncoding(std::string_view bytes)
{
    if (bytes.starts_with(kBom)) return TextEncoding::Utf8WithBom;
    bool multiByte = false;
    return IsUtf8(bytes, &multiByte) && multiByte ? TextEncoding::Utf8 : TextEncoding::Windows1251;
}

DecodedText DecodeCatalogueText(TextBuffer bytes)
{
    std::string_view raw = bytes.View();
    const size_t eof = raw.find('\x1A');
    if (eof != std::string_view::npos) raw = raw.substr(0, eof);

    DecodedText decoded;
    size_t start = 0;
    const bool bom = raw.starts_with(kBom);
    if (bom) raw.remove_prefix(kBom.size());
    if (IsUtf8(raw)) {
        // Valid UTF-8, plain ASCII included (it reads the same in Windows-1251): no copy.
        bytes.size = raw.size() + (bom ? kBom.size() : 0);
        decoded.text = std::move(bytes);
        start = bom ? kBom.size() : 0;
    } else if (bom) {
        decoded.text = ScrubUtf8(raw);
    } else {
        decoded.text = DecodeWindows1251(raw);
    }
    decoded.lines = SplitLinesInPlace(decoded.text.data.get() + start, decoded.text.size - start);
    return decoded;
}

std::vector<std::string> DecodeCatalogueLines(std::string_view bytes)
{
    TextBuffer buffer = TextBuffer::WithSize(bytes.size());
    std::memcpy(buffer.data.get(), bytes.data(), bytes.size());
    const DecodedText decoded = DecodeCatalogueText(std::move(buffer));
    return {decoded.lines.begin(), decoded.lines.end()};
}

} // namespace catalogue
