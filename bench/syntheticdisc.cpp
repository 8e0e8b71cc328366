#include "syntheticdisc.h"

#include <array>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <unicode/ucnv.h>
#include <vector>

namespace bench {

namespace {

const std::vector<std::string> kWords = {
    "игра",    "Тетрис",   "гонки",   "Космос", "война",  "рыцарь",   "Пираты", "футбол",
    "шахматы", "Лабиринт", "мелодия", "Вальс",  "соната", "классика", "Рок",    "джаз",
    "Nokia",   "Siemens",  "java",    "Sony",   "Quest",  "arcade",   "Puzzle", "racing",
    "ёлка",    "Ёж",       "звезда",  "Море",   "остров", "замок",    "дракон", "Снег",
    "ночь",    "город",    "Тень",    "огонь",  "ветер",  "Легенда",  "сага",   "mobile",
    "3D",      "II",       "2006",    "Deluxe", "pro",    "мастер",   "Битва",  "поход"};

constexpr std::string_view kCodes = "123456789ABCDEFGHIK";

std::string ToWindows1251(const std::string& utf8)
{
    UErrorCode status = U_ZERO_ERROR;
    std::string out(utf8.size() + 1, '\0');
    const int32_t n =
        ucnv_convert("windows-1251", "UTF-8", out.data(), static_cast<int32_t>(out.size()),
                     utf8.data(), static_cast<int32_t>(utf8.size()), &status);
    if (U_FAILURE(status)) throw std::runtime_error("cannot encode the synthetic catalogue");
    out.resize(static_cast<size_t>(n));
    return out;
}

std::string Upper(const std::string& s)
{
    // Enough for the duplicates: swap the case of ASCII letters only.
    std::string u = s;
    for (char& c : u)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return u;
}

} // namespace

void WriteSyntheticDisc(const std::filesystem::path& root, std::size_t lines, unsigned seed)
{
    std::mt19937 random(seed);
    const auto word = [&] { return kWords[random() % kWords.size()]; };
    std::filesystem::create_directories(root / "DB");

    const std::array<const char*, 5> files = {"dbsoft.mob", "dbjava.mob", "dbinstruktion.mob",
                                              "dbMIDI.mob", "dbArticles.mob"};
    std::vector<std::string> recent;
    for (size_t f = 0; f < files.size(); ++f) {
        const size_t count = lines / files.size() + (f < lines % files.size() ? 1 : 0);
        std::string text;
        text.reserve(count * 80);
        for (size_t i = 0; i < count; ++i) {
            std::string line;
            const unsigned roll = random() % 100;
            if (roll < 4 && !recent.empty()) {
                line = Upper(recent[random() % recent.size()]); // a case-only duplicate
            } else if (roll < 5) {
                line = "J@" + word() + "@x@no category";
            } else {
                line.push_back(kCodes[random() % kCodes.size()]);
                line += "@" + word() + " " + word();
                if (random() % 2) line += " " + word();
                line += " " + std::to_string(random() % 1000);
                line += "@folder" + std::to_string(random() % 100000) + "@";
                const int descriptionWords = 3 + static_cast<int>(random() % 6);
                for (int k = 0; k < descriptionWords; ++k)
                    line += (k ? " " : "") + word();
                if (recent.size() < 1000)
                    recent.push_back(line);
                else
                    recent[random() % recent.size()] = line;
            }
            text += line;
            text += "\r\n";
        }
        std::ofstream(root / "DB" / files[f], std::ios::binary) << ToWindows1251(text);
    }

    std::string menu;
    for (int k = 1; k <= 42; ++k)
        menu += "Раздел " + std::to_string(k) + "\r\n";
    std::ofstream(root / "DB" / "Menu.mob", std::ios::binary) << ToWindows1251(menu);
    std::ofstream(root / "DB" / "AboutManual.mob", std::ios::binary)
        << ToWindows1251("Инструкции к телефонам.\r\n");
    std::ofstream(root / "DB" / "AboutMIDI.mob", std::ios::binary)
        << ToWindows1251("Мелодии для телефонов.\r\n");
}

} // namespace bench
