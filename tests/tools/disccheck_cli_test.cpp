// The checker as disc authors and scripts run it: exit status, output and JSON.

#include "checkerfixture.h"
#include "jpegwriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/wait.h>

using testsupport::TempDisc;

namespace {

struct Result
{
    int status = -1;
    std::string out;
};

Result Disccheck(const std::string& args)
{
    Result r;
    const std::string command = std::string(DISCCHECK) + " " + args + " 2>&1";
    FILE* p = popen(command.c_str(), "r");
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        r.out.append(buf, n);
    const int raw = pclose(p);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

std::string Quote(const std::filesystem::path& p)
{
    return "'" + p.string() + "'";
}

std::vector<std::uint8_t> Picture(int w, int h)
{
    demo::RgbImage image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.Set(x, y, static_cast<std::uint8_t>(x * 7), 90, 200);
    return demo::EncodeJpeg(image);
}

void WritePicture(const TempDisc& disc, const std::string& relative,
                  const std::vector<std::uint8_t>& bytes)
{
    disc.Write(relative,
               std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

} // namespace

TEST(DisccheckCliTest, ExitStatusTellsErrorsFromWarnings)
{
    TempDisc disc;
    testsupport::WriteCleanCatalogue(disc);
    disc.Write("DB/dbjava.mob", "1@Game@game@d\n");
    disc.MakeFolder("Data/Java/Data/game");
    const auto picture = Picture(40, 30);
    WritePicture(disc, "Data/Java/Data/game/pic1.jpg", picture);

    // Only a warning: the full-size picture is missing.
    Result r = Disccheck(Quote(disc.Root()));
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("DB/dbjava.mob:1: warning: no full-size picture"), std::string::npos);
    EXPECT_TRUE(r.out.ends_with("0 errors, 1 warning\n")) << r.out;

    // A truncated JPEG is an error, found by the real decoder.
    const std::vector<std::uint8_t> truncated(picture.begin(),
                                              picture.begin() + picture.size() / 2);
    WritePicture(disc, "Data/Java/Data/game/foto.jpg", truncated);
    r = Disccheck(Quote(disc.Root()));
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("Data/Java/Data/game/foto.jpg: error: not a decodable JPEG picture"),
              std::string::npos)
        << r.out;
    EXPECT_TRUE(r.out.ends_with("1 error, 0 warnings\n")) << r.out;
}

TEST(DisccheckCliTest, UsageErrorsExitWithTwo)
{
    for (const char* args : {"--bogus", "--json --summary", "a b", "/no/such/folder"}) {
        SCOPED_TRACE(args);
        const Result r = Disccheck(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.out.find("usage: disccheck"), std::string::npos);
    }
    EXPECT_EQ(Disccheck("--help").status, 0);
}

TEST(DisccheckCliTest, JsonHoldsTheCatalogueAsLoaded)
{
    TempDisc disc;
    testsupport::WriteCleanCatalogue(disc);
    // Windows-1251 "Игра", a quote and a backslash that JSON must escape, and a control byte.
    disc.Write("DB/dbjava.mob", "1@\xC8\xE3\xF0\xE0 \"2\"@a\\b@tab\there\x01\r\nK@Last@k@\n");
    const Result r = Disccheck("--json " + Quote(disc.Root()));
    ASSERT_EQ(r.status, 0) << r.out;

    QJsonParseError error;
    const auto doc = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const auto categories = doc["categories"].toArray();
    ASSERT_EQ(categories.size(), 19);
    for (int c = 0; c < 19; ++c)
        EXPECT_EQ(categories[c]["category"].toInt(), c + 1);
    EXPECT_EQ(categories[9]["code"].toString(), "A");
    EXPECT_EQ(categories[18]["code"].toString(), "K");

    const auto first = categories[0]["items"].toArray();
    ASSERT_EQ(first.size(), 1);
    EXPECT_EQ(first[0]["title"].toString(), QString::fromUtf8("Игра \"2\""));
    EXPECT_EQ(first[0]["folder"].toString(), "a\\b");
    EXPECT_EQ(first[0]["description"].toString(), QString::fromUtf8("tab\there\x01"));
    EXPECT_EQ(categories[18]["items"].toArray().at(0)["title"].toString(), "Last");

    const auto menu = doc["menuLines"].toArray();
    ASSERT_GE(menu.size(), 100);
    EXPECT_EQ(menu[0].toString(), "caption 1");
    EXPECT_EQ(menu[41].toString(), "caption 42");
    EXPECT_EQ(menu[42].toString(), "");
    EXPECT_EQ(doc["aboutManual"].toString(), "About the manuals.");
    EXPECT_EQ(doc["aboutMidi"].toString(), "About the ring tones.");
}

TEST(DisccheckCliTest, JsonAndSummaryStopAtALoadError)
{
    TempDisc disc;
    testsupport::WriteCleanCatalogue(disc);
    disc.Remove("DB/dbinstruktion.mob");
    for (const char* option : {"--json", "--summary"}) {
        SCOPED_TRACE(option);
        const Result r = Disccheck(std::string(option) + " " + Quote(disc.Root()));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "disccheck: DB/dbinstruktion.mob: File not found\n");
    }
}

TEST(DisccheckCliTest, SummaryCountsEachCategory)
{
    TempDisc disc;
    testsupport::WriteCleanCatalogue(disc);
    disc.Write("DB/dbsoft.mob", "1@a\n1@b\nA@c\nJ@not counted\n");
    const Result r = Disccheck("--summary " + Quote(disc.Root()));
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("category 1 (1): 2\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("category 10 (A): 1\n"), std::string::npos);
    EXPECT_NE(r.out.find("category 19 (K): 0\n"), std::string::npos);
    EXPECT_TRUE(r.out.ends_with("total: 3\n"));
}

TEST(DisccheckCliTest, DefaultsToTheCurrentFolder)
{
    TempDisc disc;
    testsupport::WriteCleanCatalogue(disc);
    const Result r =
        Disccheck("--summary; cd " + Quote(disc.Root()) + " && " DISCCHECK " --summary");
    EXPECT_TRUE(r.out.ends_with("total: 0\n")) << r.out;
}
