#include "collation.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <random>

using catalogue::LineCollator;

namespace {

// What the format's readers did: insert each line into a sorted list by binary search,
// skipping a line that compares equal to one already there.
std::vector<std::string> BinaryInsertion(const LineCollator& c, const std::vector<std::string>& in)
{
    std::vector<std::string> list;
    for (const auto& line : in) {
        size_t lo = 0, hi = list.size();
        bool found = false;
        while (lo < hi) {
            const size_t mid = (lo + hi) / 2;
            const int r = c.Compare(list[mid], line);
            if (r == 0) {
                found = true;
                break;
            }
            if (r < 0)
                lo = mid + 1;
            else
                hi = mid;
        }
        if (!found) list.insert(list.begin() + static_cast<std::ptrdiff_t>(lo), line);
    }
    return list;
}

std::vector<std::string_view> Views(const std::vector<std::string>& in)
{
    return {in.begin(), in.end()};
}

std::vector<std::string> Sorted(const LineCollator& c, const std::vector<std::string>& in)
{
    std::vector<std::string> out;
    for (size_t i : c.SortUnique(Views(in)))
        out.push_back(in[i]);
    return out;
}

class ScopedEnv
{
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace

TEST(CollationTest, LocaleComesFromTheEnvironment)
{
    struct Case
    {
        const char* lcAll;
        const char* lcCollate;
        const char* lang;
        const char* locale;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, ""},
        {"ru_RU.UTF-8", nullptr, nullptr, "ru_RU"},
        {"", "de_DE.ISO-8859-1", "ru_RU", "de_DE"},
        {nullptr, nullptr, "uk_UA.UTF-8@modifier", "uk_UA"},
        {"ru_RU", "de_DE", "fr_FR", "ru_RU"},
        {"C", nullptr, "ru_RU.UTF-8", ""},
        {"POSIX", nullptr, nullptr, ""},
        {nullptr, nullptr, "C.UTF-8", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.lcAll ? c.lcAll : "-") + " " +
                     (c.lcCollate ? c.lcCollate : "-") + " " + (c.lang ? c.lang : "-"));
        ScopedEnv a("LC_ALL", c.lcAll), b("LC_COLLATE", c.lcCollate), l("LANG", c.lang);
        EXPECT_EQ(LineCollator::LocaleFromEnvironment(), c.locale);
    }
}

class Collators : public testing::TestWithParam<const char*>
{
};

// Root (the C and POSIX locales) must ignore letter case just as a named locale does.
INSTANTIATE_TEST_SUITE_P(Catalogue, Collators, testing::Values("", "ru_RU", "en_US", "de_DE"));

TEST_P(Collators, IgnoreLetterCaseInOrderAndForDuplicates)
{
    const LineCollator c(GetParam());
    EXPECT_EQ(Sorted(c, {"1@Banana", "1@apple", "1@Cherry"}),
              (std::vector<std::string>{"1@apple", "1@Banana", "1@Cherry"}));
    EXPECT_EQ(Sorted(c, {"1@Tetris@t", "1@TETRIS@t", "1@tetris@T"}),
              (std::vector<std::string>{"1@Tetris@t"}));
    EXPECT_EQ(Sorted(c, {"1@Ёлка", "1@ёлка", "1@ЁЛКА"}), (std::vector<std::string>{"1@Ёлка"}));
    EXPECT_EQ(Sorted(c, {"1@Яблоко", "1@арбуз", "1@Буква"}),
              (std::vector<std::string>{"1@арбуз", "1@Буква", "1@Яблоко"}));
}

TEST_P(Collators, AccentsStillCount)
{
    const LineCollator c(GetParam());
    // Secondary strength: "е" and "ё" are different letters, so both lines stay.
    EXPECT_EQ(Sorted(c, {"1@ёж", "1@еж"}).size(), 2u);
    EXPECT_EQ(Sorted(c, {"1@cafe", "1@café"}).size(), 2u);
}

TEST_P(Collators, EqualsBinaryInsertionOnRandomLines)
{
    const LineCollator c(GetParam());
    // A small alphabet makes ties, case-only twins and shared prefixes common.
    const std::vector<std::string> pieces = {"a", "A", "b", "B", "я", "Я", "ё", "е",
                                             "@", " ", "1", "-", "é", "E", "z"};
    std::mt19937 random(12345);
    for (int round = 0; round < 50; ++round) {
        std::vector<std::string> lines;
        const int n = static_cast<int>(random() % 60);
        for (int i = 0; i < n; ++i) {
            std::string line;
            const int len = static_cast<int>(random() % 5);
            for (int k = 0; k < len; ++k)
                line += pieces[random() % pieces.size()];
            lines.push_back(line);
        }
        ASSERT_EQ(Sorted(c, lines), BinaryInsertion(c, lines)) << "round " << round;
    }
}

TEST_P(Collators, EqualsBinaryInsertionWhenLinesShareLongBeginnings)
{
    // Lines that agree for longer than the part of the key compared first must still be
    // ordered, and told equal or not, by the whole line.
    const LineCollator c(GetParam());
    const std::vector<std::string> heads = {"1@Очень длинное общее начало названия ",
                                            "1@ОЧЕНЬ ДЛИННОЕ ОБЩЕЕ НАЧАЛО НАЗВАНИЯ ",
                                            "1@A very long shared beginning of a title "};
    const std::vector<std::string> tails = {"", "a", "A", "б", "Б", "ё", "е", "@x", " 2", "é"};
    std::mt19937 random(99);
    for (int round = 0; round < 30; ++round) {
        std::vector<std::string> lines;
        const int n = static_cast<int>(random() % 40);
        for (int i = 0; i < n; ++i)
            lines.push_back(heads[random() % heads.size()] + tails[random() % tails.size()] +
                            tails[random() % tails.size()]);
        ASSERT_EQ(Sorted(c, lines), BinaryInsertion(c, lines)) << "round " << round;
    }
}

TEST(CollationTest, BigInputsTakeTheTwoThreadPathAndStillMatch)
{
    const LineCollator c("");
    std::vector<std::string> lines;
    std::mt19937 random(7);
    for (int i = 0; i < 30000; ++i) {
        // Half of them share a beginning longer than the first part of the key.
        std::string s = random() % 2 ? "1@" : "1@The same long beginning for many lines: ";
        for (int k = 0; k < 3; ++k)
            s += static_cast<char>((random() % 2 ? 'a' : 'A') + random() % 4);
        lines.push_back(s);
    }
    std::vector<std::pair<size_t, size_t>> dropped;
    const auto kept = c.SortUnique(Views(lines), &dropped);
    EXPECT_EQ(kept.size() + dropped.size(), lines.size());
    for (size_t i = 1; i < kept.size(); ++i)
        ASSERT_LT(c.Compare(lines[kept[i - 1]], lines[kept[i]]), 0);
    for (auto [d, k] : dropped) {
        ASSERT_LT(k, d) << "the line read first survives";
        ASSERT_EQ(c.Compare(lines[d], lines[k]), 0);
    }
    EXPECT_EQ(kept.size(), 2u * 4 * 4 * 4); // two beginnings, four letters in three places
}
