#include "catalogue.h"
#include "tempdisc.h"

#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using catalogue::Catalogue;
using catalogue::CatalogueError;
using catalogue::LineCollator;

namespace {

class CatalogueTest : public testing::Test
{
protected:
    CatalogueTest() { disc.WriteEmptyCatalogue(); }

    // Root collation: what C and POSIX get, and independent of the machine's locale.
    std::unique_ptr<Catalogue> Make() const
    {
        return std::make_unique<Catalogue>(disc.Root(), std::make_unique<LineCollator>(""));
    }

    std::vector<std::string> Titles(const Catalogue& cat, int c) const
    {
        std::vector<std::string> t;
        for (int i = 1; i <= cat.CategoryItemCount(c); ++i)
            t.emplace_back(cat.CategoryTitles(c, i));
        return t;
    }

    testsupport::TempDisc disc;
};

using Strings = std::vector<std::string>;

} // namespace

TEST_F(CatalogueTest, FieldsGoToTitleFolderAndDescription)
{
    disc.Write("DB/dbsoft.mob", "1@T@f@d\n2@Only title\n3@T3@f3@d3@extra@more\n");
    auto cat = Make();
    cat->Load();
    EXPECT_EQ(cat->CategoryItemCount(1), 1);
    EXPECT_EQ(cat->CategoryTitles(1, 1), "T");
    EXPECT_EQ(cat->CategoryFolders(1, 1), "f");
    EXPECT_EQ(cat->CategoryDescriptions(1, 1), "d");
    EXPECT_EQ(cat->CategoryFolders(2, 1), "");
    EXPECT_EQ(cat->CategoryDescriptions(2, 1), "");
    EXPECT_EQ(cat->CategoryDescriptions(3, 1), "d3");
    for (int c = 4; c <= 19; ++c)
        EXPECT_EQ(cat->CategoryItemCount(c), 0) << c;
}

TEST_F(CatalogueTest, EntriesPastTheCountReadEmpty)
{
    disc.Write("DB/dbjava.mob", "1@T@f@d");
    auto cat = Make();
    cat->Load();
    EXPECT_EQ(cat->CategoryTitles(1, 2), "");
    EXPECT_EQ(cat->CategoryFolders(1, 0), "");
    EXPECT_EQ(cat->CategoryDescriptions(1, 500), "");
    EXPECT_EQ(cat->CategoryTitles(0, 1), "");
    EXPECT_EQ(cat->CategoryTitles(20, 1), "");
    EXPECT_EQ(cat->CategoryItemCount(20), 0);
    EXPECT_EQ(cat->MenuLines(0), "");
    EXPECT_EQ(cat->MenuLines(101), "");
}

TEST_F(CatalogueTest, AllFilesFeedOnePoolSortedByTitleIgnoringCase)
{
    disc.Write("DB/dbsoft.mob", "1@Zebra\n1@banana\n");
    disc.Write("DB/dbjava.mob", "1@Apple\r\n");
    disc.Write("DB/dbinstruktion.mob", "1@cherry\n");
    disc.Write("DB/dbMIDI.mob", "1@apple pie");
    disc.Write("DB/dbArticles.mob", "1@Banana split\n");
    auto cat = Make();
    cat->Load();
    EXPECT_EQ(Titles(*cat, 1),
              (Strings{"Apple", "apple pie", "banana", "Banana split", "cherry", "Zebra"}));
    // Where each came from, for the checker's messages.
    EXPECT_EQ(cat->CategoryItemOrigin(1, 1).file, 1);
    EXPECT_EQ(cat->CategoryItemOrigin(1, 6).file, 0);
    EXPECT_EQ(cat->CategoryItemOrigin(1, 6).line, 1);
    EXPECT_EQ(cat->CategoryItemOrigin(1, 3).line, 2);
}

TEST_F(CatalogueTest, CaseOnlyDuplicatesKeepTheFirstReadSpelling)
{
    // dbsoft is read before dbjava, so its spelling wins even though it sorts the same.
    disc.Write("DB/dbsoft.mob", "1@TETRIS@tetris\n1@Ёжик@e\n");
    disc.Write("DB/dbjava.mob", "1@Tetris@tetris\n1@tetris@TETRIS\n1@ёжик@E\n");
    disc.Write("DB/dbArticles.mob", "1@TETRIS@tetris\n");
    auto cat = Make();
    const auto report = cat->SortAndDistribute([&] {
        auto pool = cat->ReadContentFiles();
        cat->ReadMenuAndAboutFiles();
        return pool;
    }());
    EXPECT_EQ(Titles(*cat, 1), (Strings{"TETRIS", "Ёжик"}));
    EXPECT_EQ(cat->CategoryFolders(1, 1), "tetris");
    ASSERT_EQ(report.duplicates.size(), 4u);
    for (const auto& d : report.duplicates)
        EXPECT_LT(d.kept, d.dropped);
}

TEST_F(CatalogueTest, WithinACategoryEqualTitlesOrderByTheRestOfTheLine)
{
    disc.Write("DB/dbsoft.mob", "1@Same@b@x\n1@Same@a@y\n");
    auto cat = Make();
    cat->Load();
    EXPECT_EQ(cat->CategoryFolders(1, 1), "a");
    EXPECT_EQ(cat->CategoryDescriptions(1, 1), "y");
    EXPECT_EQ(cat->CategoryFolders(1, 2), "b");
}

TEST_F(CatalogueTest, LinesOfNoCategoryAreSkipped)
{
    disc.Write("DB/dbsoft.mob",
               "\n@@@\nJ@Jay\na@lower\n12@two\n 1@space\n1 @space\n1@kept\nK@last\n");
    auto cat = Make();
    cat->Load();
    int total = 0;
    for (int c = 1; c <= 19; ++c)
        total += cat->CategoryItemCount(c);
    EXPECT_EQ(total, 2);
    EXPECT_EQ(cat->CategoryTitles(1, 1), "kept");
    EXPECT_EQ(cat->CategoryTitles(19, 1), "last");
}

TEST_F(CatalogueTest, Windows1251AndUtf8FilesMeetInOneOrder)
{
    disc.Write("DB/dbsoft.mob", "1@\xC1\xF3\xEA\xE2\xE0\n"); // "Буква" in Windows-1251
    disc.Write("DB/dbjava.mob", "1@арбуз\n1@БУКВА\n");       // UTF-8
    auto cat = Make();
    cat->Load();
    EXPECT_EQ(Titles(*cat, 1), (Strings{"арбуз", "Буква"}));
}

TEST_F(CatalogueTest, LoadingTwiceGivesTheSameTables)
{
    disc.Write("DB/dbsoft.mob", "1@b\n1@a\n5@x@y@z\n");
    disc.Write("DB/Menu.mob", "one\ntwo\n");
    auto cat = Make();
    cat->Load();
    const auto before = Titles(*cat, 1);
    cat->Load();
    EXPECT_EQ(Titles(*cat, 1), before);
    EXPECT_EQ(cat->CategoryItemCount(5), 1);
    EXPECT_EQ(cat->MenuLines(2), "two");
}

TEST_F(CatalogueTest, AMissingFileSaysFileNotFoundAndKeepsThePreviousTables)
{
    disc.Write("DB/dbsoft.mob", "1@first");
    auto cat = Make();
    cat->Load();

    for (const char* name : {"DB/dbinstruktion.mob", "DB/Menu.mob", "DB/AboutMIDI.mob"}) {
        SCOPED_TRACE(name);
        testsupport::TempDisc other;
        disc.Write("DB/dbsoft.mob", "1@second");
        const std::string saved = name;
        disc.Remove(name);
        try {
            cat->Load();
            ADD_FAILURE() << "no error";
        } catch (const CatalogueError& e) {
            EXPECT_STREQ(e.what(), "File not found");
            EXPECT_EQ(e.path(), name);
        }
        EXPECT_EQ(Titles(*cat, 1), (Strings{"first"}));
        disc.Write(name, "");
    }
    cat->Load();
    EXPECT_EQ(Titles(*cat, 1), (Strings{"second"}));
}

TEST_F(CatalogueTest, AMissingAboutFileComesAfterTheMenuIsRead)
{
    disc.Write("DB/Menu.mob", "old");
    auto cat = Make();
    cat->Load();
    disc.Write("DB/Menu.mob", "new");
    disc.Remove("DB/AboutManual.mob");
    EXPECT_THROW(cat->Load(), CatalogueError);
    EXPECT_EQ(cat->MenuLines(1), "new");
}

TEST_F(CatalogueTest, OtherReadFailuresSaySo)
{
    struct Case
    {
        const char* name;
        std::function<void()> spoil;
        const char* message;
    };
    const auto path = disc.Root() / "DB/dbjava.mob";
    const Case cases[] = {
        {"folder", [&] { disc.MakeFolder("DB/dbjava.mob"); }, "Is a folder, not a file"},
        // Opening a pipe would wait for a writer for ever.
        {"pipe", [&] { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); }, "Not a regular file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        disc.Remove("DB/dbjava.mob");
        c.spoil();
        // The start-up warm-up passes such a file by: it neither waits on it nor throws.
        catalogue::WarmUp(disc.Root());
        auto cat = Make();
        try {
            cat->Load();
            ADD_FAILURE() << "no error";
        } catch (const CatalogueError& e) {
            EXPECT_STREQ(e.what(), c.message);
            EXPECT_EQ(e.path(), "DB/dbjava.mob");
        }
    }
}

TEST_F(CatalogueTest, CatalogueFilesAreFoundInOtherLetterCase)
{
    // How a disc without Joliet names looks once mounted.
    disc.Remove("DB");
    for (const char* name : {"dbsoft.mob", "dbjava.mob", "dbinstruktion.mob", "dbmidi.mob",
                             "dbarticles.mob", "menu.mob", "aboutmanual.mob", "aboutmidi.mob"})
        disc.Write(std::string("db/") + name, "");
    disc.Write("db/dbmidi.mob", "4@Ring");
    auto cat = Make();
    cat->Load();
    EXPECT_EQ(cat->CategoryTitles(4, 1), "Ring");
}

TEST_F(CatalogueTest, MenuLinesAreNumberedFromOne)
{
    std::string menu;
    for (int k = 1; k <= 42; ++k)
        menu += "line " + std::to_string(k) + "\r\n";
    disc.Write("DB/Menu.mob", menu);
    auto cat = Make();
    cat->Load();
    EXPECT_EQ(cat->MenuLines(1), "line 1");
    EXPECT_EQ(cat->MenuLines(37), "line 37");
    EXPECT_EQ(cat->MenuLines(42), "line 42");
    EXPECT_EQ(cat->MenuLines(43), "");
    EXPECT_EQ(cat->MenuLineCount(), 100);
    EXPECT_EQ(cat->MenuFileLineCount(), 42);
}

TEST_F(CatalogueTest, AShorterMenuFileLeavesLaterLinesAsTheyWere)
{
    disc.Write("DB/Menu.mob", "a\nb\nc\nd\ne\nf\ng\nh\n");
    auto cat = Make();
    cat->Load();
    disc.Write("DB/Menu.mob", "A\nB\nC\nD\nE\nF\n");
    cat->Load();
    EXPECT_EQ(cat->MenuLines(6), "F");
    EXPECT_EQ(cat->MenuLines(7), "g");
    EXPECT_EQ(cat->MenuLines(8), "h");
}

TEST_F(CatalogueTest, AboutTextIsTheLastLine)
{
    struct Case
    {
        const char* bytes;
        const char* text;
    };
    const Case cases[] = {
        {"only", "only"},
        {"one\ntwo\nthree", "three"},
        {"text\n", "text"},
        {"text\r\n", "text"},
        {"text\n\n", ""}, // followed by an empty line: the window then shows an empty text
        {"text\x1A\n\nignored", "text"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        disc.Write("DB/AboutManual.mob", c.bytes);
        disc.Write("DB/AboutMIDI.mob", c.bytes);
        auto cat = Make();
        cat->Load();
        EXPECT_EQ(cat->AboutManualText(), c.text);
        EXPECT_EQ(cat->AboutMidiText(), c.text);
    }
}

TEST_F(CatalogueTest, AnEmptyAboutFileLeavesTheTextAsItWas)
{
    disc.Write("DB/AboutMIDI.mob", "kept");
    auto cat = Make();
    cat->Load();
    disc.Write("DB/AboutMIDI.mob", "");
    cat->Load();
    EXPECT_EQ(cat->AboutMidiText(), "kept");
    disc.Write("DB/AboutMIDI.mob", "\x1A"
                                   "gone");
    cat->Load();
    EXPECT_EQ(cat->AboutMidiText(), "kept");
}

TEST_F(CatalogueTest, NothingIsCutAtTheOldFormatLimits)
{
    // 1000 content lines, 18 fields, 500 items a category and 100 menu lines were the old
    // readers' limits; this reader keeps everything.
    std::string content, menu;
    for (int i = 0; i < 1300; ++i)
        content += "1@Title " + std::to_string(10000 + i) + "@f@d\n";
    std::string wide = "2@Wide@folder@description";
    for (int f = 5; f <= 30; ++f)
        wide += "@field" + std::to_string(f);
    content += wide + "\n";
    for (int k = 1; k <= 150; ++k)
        menu += "m" + std::to_string(k) + "\n";
    disc.Write("DB/dbsoft.mob", content);
    disc.Write("DB/Menu.mob", menu);
    auto cat = Make();
    cat->Load();
    EXPECT_EQ(cat->CategoryItemCount(1), 1300);
    EXPECT_EQ(cat->CategoryTitles(1, 1300), "Title 11299");
    EXPECT_EQ(cat->CategoryDescriptions(2, 1), "description");
    EXPECT_EQ(cat->MenuLineCount(), 150);
    EXPECT_EQ(cat->MenuLines(150), "m150");
}
