#include "textdecoding.h"

#include <gtest/gtest.h>

using catalogue::DecodeCatalogueLines;
using catalogue::DetectEncoding;
using catalogue::TextEncoding;
using Lines = std::vector<std::string>;

struct LineCase
{
    const char* name;
    std::string bytes;
    Lines lines;
};

class LineRules : public testing::TestWithParam<LineCase>
{
};

TEST_P(LineRules, SplitAsTheDiscAuthorMeant)
{
    EXPECT_EQ(DecodeCatalogueLines(GetParam().bytes), GetParam().lines);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Catalogue, LineRules,
    testing::Values(LineCase{"EmptyFileHasNoLines", "", {}},
                    LineCase{"LastLineNeedsNoLineEnd", "a\nb", {"a", "b"}},
                    LineCase{"OneLineEndEndsTheLastLine", "a\n", {"a"}},
                    LineCase{"TwoLineEndsGiveAnEmptyLastLine", "a\n\n", {"a", ""}},
                    LineCase{"ALoneLineFeedIsOneEmptyLine", "\n", {""}},
                    LineCase{"EmptyLinesInsideAreKept", "a\n\nb\n", {"a", "", "b"}},
                    LineCase{"CrLfLineEnds", "a\r\nb\r\n", {"a", "b"}},
                    LineCase{"CarriageReturnsAreNoPartOfALine", "a\rb\r\r\nc", {"ab", "c"}},
                    LineCase{"CtrlZEndsTheFile",
                             "a\nb\x1A"
                             "c\nd\n",
                             {"a", "b"}},
                    LineCase{"CtrlZFirstGivesNoLines",
                             "\x1A"
                             "a\n",
                             {}},
                    LineCase{"CtrlZAfterLineEnd", "a\r\n\x1A", {"a"}},
                    LineCase{"NulBytesAreText", "a\0b\n"s, {"a\0b"s}}),
    [](const auto& info) { return info.param.name; });

struct EncodingCase
{
    const char* name;
    std::string bytes;
    TextEncoding encoding;
    Lines lines;
};

class Encodings : public testing::TestWithParam<EncodingCase>
{
};

TEST_P(Encodings, DecodeToUtf8)
{
    EXPECT_EQ(DetectEncoding(GetParam().bytes), GetParam().encoding);
    EXPECT_EQ(DecodeCatalogueLines(GetParam().bytes), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, Encodings,
    testing::Values(
        EncodingCase{"Ascii", "1@Tetris@t", TextEncoding::Windows1251, {"1@Tetris@t"}},
        EncodingCase{"Windows1251",
                     "1@\xC8\xE3\xF0\xE0@\xB8\xEB\xEA\xE0",
                     TextEncoding::Windows1251,
                     {"1@Игра@ёлка"}},
        // 0x98 has no letter in Windows-1251; it passes as the control U+0098, as on Windows,
        // and the rest of the line is unharmed.
        EncodingCase{
            "Windows1251UnassignedByte", "a\x98z", TextEncoding::Windows1251, {"a\xC2\x98z"}},
        EncodingCase{"Utf8WithoutBom", "1@Игра\n", TextEncoding::Utf8, {"1@Игра"}},
        EncodingCase{"Utf8WithBom",
                     "\xEF\xBB\xBF"
                     "1@Tetris\n",
                     TextEncoding::Utf8WithBom,
                     {"1@Tetris"}},
        EncodingCase{"Utf8BomWithABadByte",
                     "\xEF\xBB\xBF"
                     "a\xFFz",
                     TextEncoding::Utf8WithBom,
                     {"a\xEF\xBF\xBDz"}},
        // One byte that is not UTF-8 makes the whole file Windows-1251: the UTF-8 bytes of
        // "Ок" (D0 9E D0 BA) are then read one by one.
        EncodingCase{
            "MixedIsWindows1251", "\xD0\x9E\xD0\xBA\xC0", TextEncoding::Windows1251, {"РћРєА"}},
        // Overlong forms and surrogates are not UTF-8.
        EncodingCase{"OverlongIsNotUtf8", "\xC0\xAF", TextEncoding::Windows1251, {"АЇ"}},
        EncodingCase{
            "SurrogateIsNotUtf8", "\xED\xA0\x80", TextEncoding::Windows1251, {"н\xC2\xA0Ђ"}},
        // The 0x1A cut comes before the guess, so bytes after it do not decide the encoding.
        EncodingCase{"CtrlZBeforeTheGuess", "Игра\x1A\xFF", TextEncoding::Windows1251, {"Игра"}}),
    [](const auto& info) { return info.param.name; });
