#include "checkerfixture.h"
#include "discchecker.h"

#include <functional>
#include <gtest/gtest.h>

using testsupport::TempDisc;

namespace {

// Pictures here are stand-ins: a file saying "BAD" does not decode, anything else does. The
// real decoder is exercised through the command-line tests.
std::optional<std::string> FakePictureCheck(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::string head(3, '\0');
    in.read(head.data(), 3);
    if (head == "BAD") return "damaged";
    return std::nullopt;
}

std::vector<std::string> Check(const TempDisc& disc)
{
    std::vector<std::string> lines;
    for (const auto& d : tools::CheckDisc(disc.Root(), FakePictureCheck))
        lines.push_back(tools::FormatDiagnostic(d));
    return lines;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string s;
    for (const auto& l : lines)
        s += l + "\n";
    return s;
}

// A category 1 item with its folder and both pictures.
void WriteGoodGame(const TempDisc& disc, const std::string& folder)
{
    disc.Write("Data/Java/Data/" + folder + "/game.jar", "PK");
    disc.Write("Data/Java/Data/" + folder + "/pic1.jpg", "JPEG");
    disc.Write("Data/Java/Data/" + folder + "/foto.jpg", "JPEG");
}

struct Case
{
    const char* name;
    std::function<void(const TempDisc&)> spoil;
    std::vector<std::string> expected; // each is the start of a reported line
};

} // namespace

TEST(DiscCheckerTest, ACleanDiscHasNothingToSay)
{
    TempDisc disc;
    testsupport::WriteCleanCatalogue(disc);
    disc.Write("DB/dbjava.mob", "1@Game@game@A game.\r\n");
    WriteGoodGame(disc, "game");
    EXPECT_EQ(Check(disc), std::vector<std::string>{});
}

class DiscCheckerCases : public testing::TestWithParam<Case>
{
};

TEST_P(DiscCheckerCases, ReportsWhatIsWrong)
{
    TempDisc disc;
    testsupport::WriteCleanCatalogue(disc);
    GetParam().spoil(disc);
    const auto lines = Check(disc);
    for (const auto& want : GetParam().expected) {
        const bool found = std::any_of(lines.begin(), lines.end(),
                                       [&](const auto& l) { return l.starts_with(want); });
        EXPECT_TRUE(found) << "missing: " << want << "\nreported:\n" << Joined(lines);
    }
}

std::string ManyLines(int n, const std::string& prefix)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += prefix + std::to_string(10000 + i) + "@f\n";
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Tools, DiscCheckerCases,
    testing::Values(
        Case{"MissingCatalogueFile",
             [](const TempDisc& d) { d.Remove("DB/dbMIDI.mob"); },
             {"DB/dbMIDI.mob: error: File not found"}},
        Case{"CatalogueFileInOtherCase",
             [](const TempDisc& d) {
                 d.Remove("DB/AboutMIDI.mob");
                 d.Write("DB/aboutmidi.mob", "text");
             },
             {"DB/AboutMIDI.mob: warning: found only as 'DB/aboutmidi.mob'"}},
        Case{"ItemsAreStillCheckedWhenTheMenuIsMissing",
             [](const TempDisc& d) {
                 d.Remove("DB/Menu.mob");
                 d.Write("DB/dbsoft.mob", "1@Game@gone\n");
             },
             {"DB/Menu.mob: error: File not found",
              "DB/dbsoft.mob:1: error: no folder 'Data/Java/Data/gone'"}},
        Case{"MissingFolderAndPictures",
             [](const TempDisc& d) { d.Write("DB/dbsoft.mob", "6@Tool@tool@x\n"); },
             {"DB/dbsoft.mob:1: error: no folder 'Data/Soft/tool'",
              "DB/dbsoft.mob:1: warning: no preview picture 'Data/Soft/tool/Resize of foto.jpg'",
              "DB/dbsoft.mob:1: warning: no full-size picture 'Data/Soft/tool/foto.jpg'"}},
        Case{"FullSizeLookedForUnderData",
             [](const TempDisc& d) {
                 d.Write("DB/dbMIDI.mob", "4@Tune@tune@x\n");
                 d.Write("Data/MIDI/classical midis/tune/foto.jpg", "JPEG");
                 d.Write("Data/MIDI/classical midis/tune/foto.jpg", "JPEG");
             },
             {"DB/dbMIDI.mob:1: warning: no full-size picture 'Data/tune/foto.jpg' (this "
              "category looks for it directly under Data"}},
        Case{"UndecodablePictureReportedOnce",
             [](const TempDisc& d) {
                 d.Write("DB/dbjava.mob", "1@One@game\n2@Two@game\n");
                 WriteGoodGame(d, "game");
                 d.Write("Data/Java/Data/game/pic1.jpg", "BAD");
             },
             {"Data/Java/Data/game/pic1.jpg: error: not a decodable JPEG picture: damaged"}},
        Case{"PictureThatIsAFolder",
             [](const TempDisc& d) {
                 d.Write("DB/dbjava.mob", "1@One@game\n");
                 WriteGoodGame(d, "game");
                 d.Remove("Data/Java/Data/game/pic1.jpg");
                 d.MakeFolder("Data/Java/Data/game/pic1.jpg");
             },
             {"DB/dbjava.mob:1: warning: the preview picture 'Data/Java/Data/game/pic1.jpg' is "
              "a folder"}},
        Case{"FolderEntriesThatLeaveTheDisc",
             [](const TempDisc& d) {
                 d.Write("DB/dbsoft.mob", "1@A@..\\..\\etc\n1@B@C:\\Windows\n1@C@\\root\n");
             },
             {"DB/dbsoft.mob:1: error: the folder entry '..\\..\\etc' leaves the disc",
              "DB/dbsoft.mob:2: error: the folder entry 'C:\\Windows' leaves the disc",
              "DB/dbsoft.mob:3: error: the folder entry '\\root' leaves the disc"}},
        Case{"FolderInOtherLetterCase",
             [](const TempDisc& d) {
                 d.Write("DB/dbjava.mob", "1@Game@GAME\n");
                 WriteGoodGame(d, "game");
             },
             {"DB/dbjava.mob:1: warning: the folder 'Data/Java/Data/GAME' exists only as "
              "'Data/Java/Data/game'"}},
        Case{"EmptyFolderEntry",
             [](const TempDisc& d) {
                 d.Write("DB/dbjava.mob", "2@Game@@x\n");
                 d.Write("Data/Java/Data/pic1.jpg", "JPEG");
             },
             {"DB/dbjava.mob:1: warning: the folder entry is empty: opening the item opens the "
              "whole folder 'Data/Java/Data'"}},
        Case{"LinesOfNoCategory",
             [](const TempDisc& d) {
                 d.Write("DB/dbsoft.mob", "\n@title\nJ@x\na@x\n12@x\n 1@x\n1 @x\nZ@x\n");
             },
             {"DB/dbsoft.mob:1: warning: not listed: the line is empty",
              "DB/dbsoft.mob:2: warning: not listed: the category code (the first field) is "
              "empty",
              "DB/dbsoft.mob:3: warning: not listed: 'J' is no category code",
              "DB/dbsoft.mob:4: warning: not listed: the category code 'a' is a lower-case",
              "DB/dbsoft.mob:5: warning: not listed: the category code '12' has more than one",
              "DB/dbsoft.mob:6: warning: not listed: a space beside the category code in ' 1'",
              "DB/dbsoft.mob:7: warning: not listed: a space beside the category code in '1 '",
              "DB/dbsoft.mob:8: warning: not listed: 'Z' is no category code"}},
        Case{"DuplicatesNameTheLineKept",
             [](const TempDisc& d) {
                 d.Write("DB/dbsoft.mob", "1@Game@game\n");
                 d.Write("DB/dbjava.mob", "1@x@x\n1@GAME@GAME\n1@Game@game\n");
                 WriteGoodGame(d, "game");
             },
             {"DB/dbjava.mob:2: warning: dropped as a duplicate of DB/dbsoft.mob:1, which is "
              "kept",
              "DB/dbjava.mob:3: warning: dropped: the same line as DB/dbsoft.mob:1"}},
        Case{"AboutFileEndingInAnEmptyLine",
             [](const TempDisc& d) {
                 d.Write("DB/AboutManual.mob", "Text.\r\n\r\n");
                 d.Write("DB/AboutMIDI.mob", "");
             },
             {"DB/AboutManual.mob:2: warning: the last line is empty",
              "DB/AboutMIDI.mob: warning: the file is empty"}},
        Case{"AboutFileOfSeveralLines",
             [](const TempDisc& d) { d.Write("DB/AboutMIDI.mob", "one\ntwo\nthree\n"); },
             {"DB/AboutMIDI.mob:1: warning: the file has 3 lines; only the last one is shown"}},
        Case{"ShortMenu",
             [](const TempDisc& d) { d.Write("DB/Menu.mob", "1\n2\n3\n4\n5\n6\n7\n8\n9\n"); },
             {"DB/Menu.mob: warning: lines 10 to 11 (sub-item captions of section 2) missing",
              "DB/Menu.mob: warning: lines 13 to 16 (the caption and sub-item captions of "
              "section 3) missing",
              "DB/Menu.mob: warning: lines 37 to 40 (the caption and sub-item captions of "
              "section 7) missing"}},
        Case{"OldFormatLimits",
             [](const TempDisc& d) {
                 d.Write("DB/dbsoft.mob", ManyLines(600, "3@T"));
                 d.Write("DB/dbjava.mob", ManyLines(401, "7@T") +
                                              "8@Wide@w@d@5@6@7@8@9@10@11@12@13@14@15@16@17@"
                                              "18@19\n");
                 d.Write("DB/Menu.mob", ManyLines(101, "m"));
             },
             {"DB/dbjava.mob:401: warning: content line 1001 of the five files: older readers "
              "keep only the first 1000",
              "DB/dbjava.mob:402: warning: 19 fields: older readers keep only 18",
              "DB/dbsoft.mob:501: warning: category 3 has 600 items: older readers keep only "
              "the first 500",
              "DB/Menu.mob:101: warning: older readers keep only the first 100 menu lines"}}),
    [](const auto& info) { return info.param.name; });
