#pragma once
// The bytes of a catalogue file as lines of UTF-8 text.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace catalogue {

enum class TextEncoding { Windows1251, Utf8, Utf8WithBom };

// Windows-1251 unless the text starts with a UTF-8 byte-order mark, or is valid UTF-8 and holds
// at least one multi-byte sequence (plain ASCII reads the same either way).
TextEncoding DetectEncoding(std::string_view bytes);

// A block of text whose address never changes, so that views into it survive moves of the
// block; the catalogue's tables point into the decoded files.
struct TextBuffer
{
    std::unique_ptr<char[]> data;
    size_t size = 0;

    static TextBuffer WithSize(size_t n);
    std::string_view View() const { return {data.get(), size}; }
};

// A decoded file: its text, and its lines as views into it.
struct DecodedText
{
    TextBuffer text;
    std::vector<std::string_view> lines;
};

// The whole rule for one file's bytes: a 0x1A byte ends the text; it is decoded to UTF-8
// (undecodable bytes become U+FFFD); lines end at line feeds, carriage returns are no part of
// a line, and the last line needs no line end; an empty text has no lines.
DecodedText DecodeCatalogueText(TextBuffer bytes);

// The same, copied out; for small files and tests.
std::vector<std::string> DecodeCatalogueLines(std::string_view bytes);

} // namespace catalogue
