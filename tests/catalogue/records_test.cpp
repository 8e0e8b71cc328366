#include "categories.h"
#include "contentrecord.h"

#include <gtest/gtest.h>

using catalogue::ContentRecord;
using catalogue::NoCategoryReason;

struct SplitCase
{
    const char* line;
    const char* code;
    const char* title;
    const char* folder;
    const char* description;
    size_t fields;
};

TEST(ContentRecordTest, SplitsOnAtSigns)
{
    const SplitCase cases[] = {
        {"1@T@f@d", "1", "T", "f", "d", 4},
        {"1@T", "1", "T", "", "", 2},
        {"1", "1", "", "", "", 1},
        {"", "", "", "", "", 1},
        {"@@@", "", "", "", "", 4},
        {"1@T@f@d@", "1", "T", "f", "d", 5},
        {"1@@f@d", "1", "", "f", "d", 4},
        {"1@T@f@d@e@g@h", "1", "T", "f", "d", 7},
        {"1@T@@d", "1", "T", "", "d", 4},
        {"A@Заголовок@папка@Описание, с запятой", "A", "Заголовок", "папка", "Описание, с запятой",
         4},
        {"1@@@@@@@@@@@@@@@@@@@@@@@@last", "1", "", "", "", 25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto r = ContentRecord::Split(c.line);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.title, c.title);
        EXPECT_EQ(r.folder, c.folder);
        EXPECT_EQ(r.description, c.description);
        EXPECT_EQ(r.fieldCount, c.fields);
    }
}

TEST(CategoryCodesTest, NineteenCodesComparedByteForByte)
{
    const char* codes[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "A",
                           "B", "C", "D", "E", "F", "G", "H", "I", "K"};
    for (int c = 1; c <= 19; ++c) {
        EXPECT_EQ(catalogue::CodeOfCategory(c), codes[c - 1]);
        EXPECT_EQ(catalogue::CategoryOfCode(codes[c - 1]), c);
    }
    EXPECT_EQ(catalogue::CodeOfCategory(0), "");
    EXPECT_EQ(catalogue::CodeOfCategory(20), "");
}

TEST(CategoryCodesTest, SaysWhyALineBelongsToNoCategory)
{
    const std::pair<const char*, NoCategoryReason> cases[] = {
        {"1", NoCategoryReason::None},
        {"K", NoCategoryReason::None},
        {"", NoCategoryReason::EmptyCode},
        {"J", NoCategoryReason::LetterJ},
        {"a", NoCategoryReason::LowerCase},
        {"k", NoCategoryReason::LowerCase},
        {"12", NoCategoryReason::TooLong},
        {"AB", NoCategoryReason::TooLong},
        {" 1", NoCategoryReason::SpaceBesideCode},
        {"1 ", NoCategoryReason::SpaceBesideCode},
        {" ", NoCategoryReason::UnknownCode},
        {"0", NoCategoryReason::UnknownCode},
        {"L", NoCategoryReason::UnknownCode},
        {"Я", NoCategoryReason::UnknownCode}, // one letter, two bytes
        {"АБ", NoCategoryReason::TooLong},
    };
    for (const auto& [field, reason] : cases) {
        SCOPED_TRACE(field);
        EXPECT_EQ(catalogue::WhyNoCategory(field), reason);
        EXPECT_EQ(catalogue::CategoryOfCode(field) != 0, reason == NoCategoryReason::None);
    }
}

TEST(CategoryPathsTest, EveryCategoryBuildsItsThreePaths)
{
    struct Row
    {
        const char* preview;
        const char* open;
        const char* full;
        bool aboutMidi;
        bool notice;
    };
    // For the folder entry "abc".
    const Row rows[19] = {
        {".\\Data\\Java\\Data\\abc\\pic1.jpg", ".\\Data\\Java\\Data\\abc",
         ".\\Data\\Java\\Data\\abc\\foto.jpg", false, true},
        {".\\Data\\Java\\Data\\abc\\pic1.jpg", ".\\Data\\Java\\Data\\abc",
         ".\\Data\\Java\\Data\\abc\\foto.jpg", false, true},
        {".\\Data\\abc\\Resize of foto.jpg", ".\\Data\\abc", ".\\Data\\abc\\foto.jpg", false, true},
        {".\\Data\\MIDI\\classical midis\\abc\\foto.jpg", ".\\Data\\MIDI\\classical midis\\abc",
         ".\\Data\\abc\\foto.jpg", true, true},
        {".\\Data\\MIDI\\Folk MIDI\\abc\\foto.jpg", ".\\Data\\MIDI\\Folk MIDI\\abc",
         ".\\Data\\abc\\foto.jpg", true, true},
        {".\\Data\\Soft\\abc\\Resize of foto.jpg", ".\\Data\\Soft\\abc",
         ".\\Data\\Soft\\abc\\foto.jpg", false, true},
        {".\\Data\\abc\\Resize of foto.jpg", ".\\Data\\abc", ".\\Data\\abc\\foto.jpg", false, true},
        {".\\Data\\Soft\\abc\\Resize of foto.jpg", ".\\Data\\Soft\\abc",
         ".\\Data\\Soft\\abc\\foto.jpg", false, true},
        {".\\Data\\abc\\Resize of foto.jpg", ".\\Data\\abc", ".\\Data\\abc\\foto.jpg", false, true},
        {".\\Data\\Soft\\abc\\Resize of foto.jpg", ".\\Data\\Soft\\abc",
         ".\\Data\\Soft\\abc\\foto.jpg", false, true},
        {".\\Data\\abc\\Resize of foto.jpg", ".\\Data\\abc", ".\\Data\\abc\\foto.jpg", false, true},
        {".\\Data\\Manual\\abc\\Resize of foto.jpg", ".\\Data\\Manual\\abc",
         ".\\Data\\abc\\foto.jpg", false, false},
        {".\\Data\\abc\\Resize of foto.jpg", ".\\Data\\abc", ".\\Data\\abc\\foto.jpg", false,
         false},
        {".\\Data\\Soft\\abc\\Resize of foto.jpg", ".\\Data\\Soft\\abc",
         ".\\Data\\Soft\\abc\\foto.jpg", false, true},
        {".\\Data\\abc\\Resize of foto.jpg", ".\\Data\\abc", ".\\Data\\abc\\foto.jpg", false, true},
        {".\\Data\\Soft\\abc\\Resize of foto.jpg", ".\\Data\\Soft\\abc",
         ".\\Data\\Soft\\abc\\foto.jpg", false, true},
        {".\\Data\\Soft\\abc\\Resize of foto.jpg", ".\\Data\\Soft\\abc",
         ".\\Data\\Soft\\abc\\foto.jpg", false, true},
        {".\\Data\\abc\\Resize of foto.jpg", ".\\Data\\abc", ".\\Data\\abc\\foto.jpg", false, true},
        {".\\Data\\Soft\\abc\\Resize of foto.jpg", ".\\Data\\Soft\\abc",
         ".\\Data\\Soft\\abc\\foto.jpg", false, true},
    };
    for (int c = 1; c <= 19; ++c) {
        SCOPED_TRACE("category " + std::to_string(c));
        const Row& row = rows[c - 1];
        EXPECT_EQ(catalogue::PreviewPath(c, "abc"), row.preview);
        EXPECT_EQ(catalogue::OpenTarget(c, "abc"), row.open);
        EXPECT_EQ(catalogue::FullPicturePath(c, "abc"), row.full);
        EXPECT_EQ(catalogue::PathsOfCategory(c).showsAboutMidiText, row.aboutMidi);
        EXPECT_EQ(catalogue::PathsOfCategory(c).noticeWhenNoPreview, row.notice);
    }
}

TEST(CategoryPathsTest, FolderEntryIsInsertedAsStored)
{
    // Nothing trimmed, no separator added or removed, no case change.
    EXPECT_EQ(catalogue::PreviewPath(1, ""), ".\\Data\\Java\\Data\\\\pic1.jpg");
    EXPECT_EQ(catalogue::OpenTarget(1, ""), ".\\Data\\Java\\Data\\");
    EXPECT_EQ(catalogue::OpenTarget(6, " Sub\\Dir "), ".\\Data\\Soft\\ Sub\\Dir ");
}
