#include "discpath.h"
#include "tempdisc.h"

#include <gtest/gtest.h>

using catalogue::DiscEntryKind;
using catalogue::DiscPathResolver;
using catalogue::DiscPathStatus;

TEST(DiscPathTest, WhatLeavesTheDisc)
{
    const std::pair<const char*, bool> cases[] = {
        {".\\Data\\Soft\\abc", false},
        {"abc", false},
        {"", false},
        {"\\abc", true},
        {"/etc/passwd", true},
        {"C:\\Windows", true},
        {"c:abc", true},
        {"\\\\server\\share", true},
        {"..\\abc", true},
        {".\\Data\\..\\..\\x", true},
        {"a/../b", true},
        {"...\\abc", false}, // a name of three dots is just a name here
        {"a..b", false},
    };
    for (const auto& [path, leaves] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(catalogue::LeavesDisc(path), leaves);
    }
}

TEST(DiscPathTest, DisplayPathDropsDotAndEmptySteps)
{
    EXPECT_EQ(catalogue::DisplayPath(".\\Data\\Java\\Data\\\\pic1.jpg"), "Data/Java/Data/pic1.jpg");
    EXPECT_EQ(catalogue::DisplayPath(".\\DB\\dbsoft.mob"), "DB/dbsoft.mob");
    EXPECT_EQ(catalogue::DisplayPath("..\\x"), "../x");
}

TEST(DiscPathTest, FoldCaseCoversCyrillic)
{
    EXPECT_EQ(catalogue::FoldCase("ИГРЫ Ёлка"), catalogue::FoldCase("игры ёлКА"));
    EXPECT_NE(catalogue::FoldCase("е"), catalogue::FoldCase("ё"));
    EXPECT_EQ(catalogue::FoldCase("\xFF"
                                  "A"),
              "\xFF"
              "a"); // bytes that are no UTF-8 survive
}

TEST(DiscPathTest, ResolvesExactlyThenIgnoringCase)
{
    testsupport::TempDisc disc;
    disc.Write("Data/Java/Data/abc/pic1.jpg", "x");
    disc.Write("Data/soft/Игра/resize of foto.jpg", "x");
    disc.MakeFolder("Data/Manual/folder.jpg");

    struct Case
    {
        const char* path;
        DiscPathStatus status;
        DiscEntryKind kind;
        const char* relative;
    };
    const Case cases[] = {
        {".\\Data\\Java\\Data\\abc\\pic1.jpg", DiscPathStatus::Found, DiscEntryKind::File,
         "Data/Java/Data/abc/pic1.jpg"},
        {".\\Data\\Java\\Data\\abc", DiscPathStatus::Found, DiscEntryKind::Folder,
         "Data/Java/Data/abc"},
        {".\\DATA\\java\\data\\ABC\\PIC1.JPG", DiscPathStatus::FoundOtherCase, DiscEntryKind::File,
         "Data/Java/Data/abc/pic1.jpg"},
        {".\\Data\\Soft\\ИГРА\\Resize of foto.jpg", DiscPathStatus::FoundOtherCase,
         DiscEntryKind::File, "Data/soft/Игра/resize of foto.jpg"},
        {".\\Data\\Java\\Data\\\\abc\\pic1.jpg", DiscPathStatus::Found, DiscEntryKind::File,
         "Data/Java/Data/abc/pic1.jpg"},
        {".\\Data\\Manual\\folder.jpg", DiscPathStatus::Found, DiscEntryKind::Folder,
         "Data/Manual/folder.jpg"},
        {".\\Data\\Java\\Data\\abd\\pic1.jpg", DiscPathStatus::Missing, DiscEntryKind::None,
         "Data/Java/Data/abd/pic1.jpg"},
        {".\\Data\\..\\..\\etc", DiscPathStatus::OutsideDisc, DiscEntryKind::None,
         "./Data/../../etc"},
    };
    DiscPathResolver resolver(disc.Root());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const auto r = resolver.Resolve(c.path);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.kind, c.kind);
        EXPECT_EQ(r.relative, c.relative);
        if (c.kind != DiscEntryKind::None) {
            EXPECT_TRUE(std::filesystem::exists(r.path));
        }
    }
}

TEST(DiscPathTest, ListingsAreCachedUntilCleared)
{
    testsupport::TempDisc disc;
    disc.MakeFolder("Data");
    DiscPathResolver resolver(disc.Root());
    EXPECT_EQ(resolver.Resolve(".\\DATA\\x").status, DiscPathStatus::Missing);
    disc.Write("Data/X", "1");
    EXPECT_EQ(resolver.Resolve(".\\DATA\\x").status, DiscPathStatus::Missing); // stale listing
    EXPECT_EQ(resolver.Resolve(".\\Data\\X").status, DiscPathStatus::Found);   // exact needs none
    resolver.ClearCache();
    EXPECT_EQ(resolver.Resolve(".\\DATA\\x").status, DiscPathStatus::FoundOtherCase);
}

TEST(DiscPathTest, LinksThatLeaveTheDiscAreOutside)
{
    testsupport::TempDisc disc;
    testsupport::TempDisc elsewhere;
    elsewhere.Write("secret/foto.jpg", "x");
    disc.MakeFolder("Data");
    std::filesystem::create_directory_symlink(elsewhere.Root() / "secret",
                                              disc.Root() / "Data/out");
    std::filesystem::create_directory_symlink(disc.Root() / "Data", disc.Root() / "Data/in");
    DiscPathResolver resolver(disc.Root());
    EXPECT_EQ(resolver.Resolve(".\\Data\\out\\foto.jpg").status, DiscPathStatus::OutsideDisc);
    EXPECT_EQ(resolver.Resolve(".\\Data\\in").status, DiscPathStatus::Found);
}
