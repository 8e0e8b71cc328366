#pragma once
// The bytes of a catalogue file as lines of UTF-8 text.

#include <string>
#include <string_view>
#include <vector>

namespace catalogue {

enum class TextEncoding { Windows1251, Utf8, Utf8WithBom };

// Windows-1251 unless the text starts with a UTF-8 byte-order mark, or is valid UTF-8 and holds
// at least one multi-byte sequence (plain ASCII reads the same either way).
TextEncoding DetectEncoding(std::string_view bytes);

// The bytes decoded to UTF-8 (the byte-order mark dropped); undecodable bytes become U+FFFD.
std::string DecodeToUtf8(std::string_view bytes, TextEncoding encoding);

// Lines end at line feeds, carriage returns are no part of a line, a 0x1A byte ends the text,
// and the last line needs no line end; an empty text has no lines.
std::vector<std::string> SplitLines(std::string_view text);

// The whole rule for one file's bytes: cut at 0x1A, decode, split.
std::vector<std::string> DecodeCatalogueLines(std::string_view bytes);

} // namespace catalogue
