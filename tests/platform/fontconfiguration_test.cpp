// The program's own font configuration: rules the system or the user add cannot put another
// face in place of DejaVu Sans, and the generic names still find a face.
//
// Its own program, because fontconfig's current configuration is the process's for good.

#include "fontconfiguration.h"
#include "tempdisc.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <cstdlib>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>
#include <string>

namespace {

// A rule of the kind a user's fonts.conf may hold: every request for DejaVu Sans gets DejaVu
// Serif, whose letters are wider.
constexpr char kHostileRule[] = R"(<?xml version="1.0"?>
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <match target="pattern">
    <test name="family"><string>DejaVu Sans</string></test>
    <edit name="family" mode="assign" binding="strong"><string>DejaVu Serif</string></edit>
  </match>
</fontconfig>
)";

std::string MatchedFamily(FcConfig* config, const char* family, int weight = FC_WEIGHT_REGULAR)
{
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, weight);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    std::string name;
    FcChar8* found = nullptr;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &found) == FcResultMatch)
        name = reinterpret_cast<const char*>(found);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return name;
}

TEST(FontConfigurationTest, LocalRulesCannotReplaceTheWindowFont)
{
    testsupport::TempDisc home;
    home.Write("fonts.conf", kHostileRule);
    setenv("FONTCONFIG_FILE", (home.Root() / "fonts.conf").c_str(), 1);

    // The fixture bites: fontconfig's usual configuration follows the rule.
    FcConfig* usual = FcInitLoadConfigAndFonts();
    ASSERT_NE(usual, nullptr);
    ASSERT_EQ(MatchedFamily(usual, "DejaVu Sans"), "DejaVu Serif");
    FcConfigDestroy(usual);

    ASSERT_TRUE(platform::UseOwnFontConfiguration());
    struct Case
    {
        const char* asked;
        int weight;
        const char* found;
    };
    for (const Case& c : {Case{"DejaVu Sans", FC_WEIGHT_REGULAR, "DejaVu Sans"},
                          Case{"DejaVu Sans", FC_WEIGHT_BOLD, "DejaVu Sans"},
                          Case{"sans-serif", FC_WEIGHT_REGULAR, "DejaVu Sans"},
                          Case{"Sans Serif", FC_WEIGHT_REGULAR, "DejaVu Sans"},
                          Case{"serif", FC_WEIGHT_REGULAR, "DejaVu Serif"},
                          Case{"monospace", FC_WEIGHT_REGULAR, "DejaVu Sans Mono"}})
        EXPECT_EQ(MatchedFamily(nullptr, c.asked, c.weight), c.found) << c.asked;

    // And Qt's font database, which asks the current configuration, agrees.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int argc = 1;
    char name[] = "fontconfiguration_test";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("DejaVu Sans"))).family(),
              QStringLiteral("DejaVu Sans"));
}

} // namespace
