// makedemodisc: assembles the demo disc from demo/disc (the catalogue and the autorun script)
// and the pictures and placeholder files that only code makes.
//
//   makedemodisc SOURCE OUTPUT
//
// OUTPUT is emptied and built anew: SOURCE copied into it, then, for every item the catalogue
// lists, the item's folder with a readme (and a .jad or a .mid where the category calls for
// one), its preview and its full-size picture at the places the browser looks for them, and
// the Data\Pictures and Data\Video folders that two sub-items open whole.
//
// Which items get which pictures is decided here, on purpose, so that the demo shows every
// case the browser handles; see PicturesOf() and demo/README.md.

#include "catalogue.h"
#include "categories.h"
#include "demoart.h"
#include "discpath.h"
#include "jpegwriter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace {

enum class PictureSet { Both, PreviewOnly, FullOnly, None };

// What a category's items get unless kExceptions says otherwise.
PictureSet DefaultPictures(int category)
{
    switch (category) {
    case 4:
    case 5:
        // The melodies' previews are sleeves; their full-size pictures would sit directly under
        // Data\ (these categories look for them there), so only a few items have one.
        return PictureSet::PreviewOnly;
    case 7:
        // The hit list is only ever shown as the wide list, where a found preview would be
        // drawn over the list itself: its items carry no pictures.
        return PictureSet::None;
    default:
        return PictureSet::Both;
    }
}

struct Exception
{
    int category;
    std::string_view folder; // as the catalogue writes it
    PictureSet pictures;
};

// Items that deliberately differ from their category's default, so that the demo shows a
// missing preview (the "no screenshot" notice, or none at all in the manuals), a preview
// without a full-size picture (no hand cursor, a click does nothing) and a full-size picture
// without a preview (hidden behind the notice, so unreachable, as on a real disc).
constexpr Exception kExceptions[] = {
    {1, "shashki", PictureSet::None},
    {1, "sudoku", PictureSet::None},
    {1, "durak", PictureSet::None},
    {1, "saper", PictureSet::PreviewOnly},
    {1, "mahjong", PictureSet::PreviewOnly},
    {1, "pauk", PictureSet::PreviewOnly},
    {1, "chess2", PictureSet::FullOnly},
    {1, "fishing_lake", PictureSet::FullOnly},
    {2, "flashlight", PictureSet::None},
    {2, "stopwatch", PictureSet::PreviewOnly},
    {2, "holidays", PictureSet::FullOnly},
    {3, "Java\\Sborniki\\board", PictureSet::None},
    {4, "vivaldi_spring", PictureSet::Both},
    {4, "grieg_king", PictureSet::Both},
    {4, "pachelbel_canon", PictureSet::None},
    {5, "kalinka", PictureSet::Both},
    {5, "pryakha", PictureSet::None},
    {8, "theme_editor", PictureSet::PreviewOnly},
    {11, "Video\\Clips\\priboy", PictureSet::PreviewOnly},
    {12, "altair_a12", PictureSet::PreviewOnly},
    {12, "vega_v3", PictureSet::PreviewOnly},
    {12, "kvarts_k9", PictureSet::PreviewOnly},
    {12, "polaris_p310", PictureSet::None},
    {12, "headset_bt20", PictureSet::None},
    {13, "Manual\\Service\\sbros", PictureSet::None},
    {15, "Soft\\Utils\\irda", PictureSet::PreviewOnly},
    {16, "Articles\\Reviews\\best_of_year", PictureSet::FullOnly},
    {19, "Drivers\\cardreader", PictureSet::None},
};

PictureSet PicturesOf(int category, std::string_view folder)
{
    for (const Exception& e : kExceptions)
        if (e.category == category && e.folder == folder) return e.pictures;
    return DefaultPictures(category);
}

demo::ArtStyle StyleOf(int category)
{
    using demo::ArtStyle;
    switch (category) {
    case 1:
    case 2:
    case 3:
        return ArtStyle::GameScreen;
    case 4:
    case 5:
        return ArtStyle::Cover;
    case 8:
        return ArtStyle::ThemeScreen;
    case 9:
        return ArtStyle::Landscape;
    case 11:
        return ArtStyle::FilmFrame;
    case 12:
    case 13:
        return ArtStyle::Page;
    case 16:
    case 17:
    case 18:
        return ArtStyle::Magazine;
    default:
        return ArtStyle::Emblem;
    }
}

struct Size
{
    int w, h;
};

template <size_t N> Size Pick(demo::Dice& dice, const Size (&sizes)[N])
{
    return sizes[static_cast<size_t>(dice.Range(0, static_cast<int>(N) - 1))];
}

// Preview sizes are those of phone screens and sleeves; about one in six is larger than the
// 292 x 217 preview frame, so the scaling switches have something to do.
Size PreviewSize(demo::ArtStyle style, demo::Dice& dice)
{
    using demo::ArtStyle;
    const bool large = dice.OneIn(6);
    switch (style) {
    case ArtStyle::Cover: {
        static constexpr Size small[] = {{96, 96}, {128, 128}, {150, 150}, {200, 200}};
        static constexpr Size big[] = {{300, 300}, {400, 400}};
        return large ? Pick(dice, big) : Pick(dice, small);
    }
    case ArtStyle::Page:
    case ArtStyle::Magazine: {
        static constexpr Size small[] = {{120, 170}, {150, 212}, {140, 200}};
        static constexpr Size big[] = {{212, 300}, {300, 424}};
        return large ? Pick(dice, big) : Pick(dice, small);
    }
    case ArtStyle::FilmFrame:
    case ArtStyle::Landscape: {
        static constexpr Size small[] = {{176, 144}, {128, 96}, {220, 176}, {176, 208}};
        static constexpr Size big[] = {{320, 240}, {400, 300}};
        return large ? Pick(dice, big) : Pick(dice, small);
    }
    default: {
        static constexpr Size small[] = {{176, 208}, {128, 160}, {176, 220},
                                         {132, 176}, {128, 128}, {208, 208}};
        static constexpr Size big[] = {{400, 300}, {240, 320}, {352, 416}};
        return large ? Pick(dice, big) : Pick(dice, small);
    }
    }
}

Size FullSize(demo::ArtStyle style, demo::Dice& dice)
{
    using demo::ArtStyle;
    if (style == ArtStyle::Page || style == ArtStyle::Magazine) {
        static constexpr Size pages[] = {{360, 510}, {420, 594}, {340, 480}};
        return Pick(dice, pages);
    }
    static constexpr Size screens[] = {{240, 320}, {320, 240}, {352, 416},
                                       {400, 300}, {480, 360}, {640, 480}};
    return Pick(dice, screens);
}

fs::path OnDisc(const fs::path& root, std::string_view windowsPath)
{
    if (catalogue::LeavesDisc(windowsPath))
        throw std::runtime_error("path leaves the disc: " + std::string(windowsPath));
    return root / fs::path(catalogue::DisplayPath(windowsPath));
}

void WriteText(const fs::path& path, const std::string& text)
{
    demo::WriteBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

void WritePicture(const fs::path& path, demo::ArtStyle style, Size size, std::uint64_t seed)
{
    demo::Dice dice(seed ^ 0x5a17);
    demo::JpegWriteOptions options;
    options.quality = dice.Range(78, 92);
    // A few progressive files and a few grey manual scans, as real discs mix them.
    options.progressive = dice.OneIn(5);
    options.grayscale = style == demo::ArtStyle::Page && dice.OneIn(4);
    demo::WriteBytes(path, demo::EncodeJpeg(demo::Paint(style, size.w, size.h, seed), options));
}

void Append(std::vector<std::uint8_t>& bytes, std::initializer_list<std::uint8_t> more)
{
    for (std::uint8_t b : more)
        bytes.push_back(b);
}

// A short, valid Standard MIDI File: a random walk on a pentatonic scale, so the melody
// folders hold something a player accepts without carrying anybody's tune.
std::vector<std::uint8_t> MakeMelody(std::uint64_t seed, int program)
{
    demo::Dice dice(seed);
    std::vector<std::uint8_t> track = {0x00, 0xFF, 0x51,
                                       0x03, 0x07, 0xA1,
                                       0x20, // 500 ms a beat
                                       0x00, 0xC0, static_cast<std::uint8_t>(program)};
    static constexpr int kScale[] = {0, 2, 4, 7, 9, 12, 14, 16};
    const int root = 60 + dice.Range(-5, 5);
    int step = dice.Range(0, 4);
    for (int i = 0, notes = dice.Range(12, 24); i < notes; ++i) {
        step = std::clamp(step + dice.Range(-2, 2), 0, 7);
        const auto note = static_cast<std::uint8_t>(root + kScale[step]);
        const int ticks = 48 * dice.Range(1, 3); // eighths to dotted quarters at 96 a beat
        Append(track, {0x00, 0x90, note, 0x64});
        if (ticks >= 128) track.push_back(static_cast<std::uint8_t>(0x80 | (ticks >> 7)));
        Append(track, {static_cast<std::uint8_t>(ticks & 0x7F), 0x80, note, 0x40});
    }
    Append(track, {0x00, 0xFF, 0x2F, 0x00});
    std::vector<std::uint8_t> file;
    Append(file, {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k'});
    const auto n = static_cast<std::uint32_t>(track.size());
    Append(file, {static_cast<std::uint8_t>(n >> 24), static_cast<std::uint8_t>(n >> 16),
                  static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)});
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

std::string LastStep(const std::string& displayPath)
{
    const auto slash = displayPath.rfind('/');
    return slash == std::string::npos ? displayPath : displayPath.substr(slash + 1);
}

// The small files an item's folder holds in place of the real program, melody or document.
void WriteItemFiles(const fs::path& folder, int category, const std::string& name,
                    const std::string& title, const std::string& description)
{
    WriteText(folder / "readme.txt", title + "\n\n" + description +
                                         "\n\nДемонстрационный диск: здесь лежал бы сам файл. "
                                         "Demo disc: the real file would be here.\n");
    if (category == 1 || category == 2) {
        // A descriptor of the kind phones read before fetching a game; the JAR it names is
        // not on the demo disc.
        WriteText(folder / (name + ".jad"), "MIDlet-Name: " + title +
                                                "\nMIDlet-Vendor: Demo disc\n"
                                                "MIDlet-Version: 1.0.0\n"
                                                "MIDlet-Jar-URL: " +
                                                name +
                                                ".jar\n"
                                                "MIDlet-Jar-Size: 0\n"
                                                "MicroEdition-Profile: MIDP-2.0\n"
                                                "MicroEdition-Configuration: CLDC-1.0\n");
    } else if (category == 4 || category == 5 || category == 7) {
        // General MIDI programs: piano for the classics, accordion for the folk tunes,
        // a lead synthesiser for the hits.
        const int program = category == 4 ? 0 : category == 5 ? 21 : 80;
        demo::WriteBytes(folder / (name + ".mid"), MakeMelody(demo::SeedOf(title), program));
    }
}

struct Tally
{
    int items = 0;
    int previews = 0;
    int fullPictures = 0;
    int other = 0;
};

void RefuseForeignOutput(const fs::path& out)
{
    // The output is wiped before each build; make sure it is ours to wipe.
    if (!fs::exists(out)) return;
    if (!fs::is_directory(out) ||
        (!fs::is_empty(out) && !fs::exists(out / "DB") && !fs::exists(out / "Data")))
        throw std::runtime_error(out.string() + " exists and does not look like a demo disc");
}

void CopySource(const fs::path& source, const fs::path& out)
{
    fs::copy(source, out, fs::copy_options::recursive);
    // The desktop runs only an executable autorun; a checkout on a file system without
    // permission bits would have lost the bit.
    const fs::path autorun = out / "autorun";
    if (fs::exists(autorun))
        fs::permissions(autorun,
                        fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                        fs::perm_options::add);
}

void MakeItems(const fs::path& out, Tally& tally, std::vector<int>& perCategory)
{
    catalogue::Catalogue cat(out);
    cat.Load();
    std::set<std::string> folders;
    for (int c = 1; c <= catalogue::kCategoryCount; ++c) {
        perCategory.push_back(cat.CategoryItemCount(c));
        const demo::ArtStyle style = StyleOf(c);
        for (int i = 1; i <= cat.CategoryItemCount(c); ++i) {
            const std::string title(cat.CategoryTitles(c, i));
            const std::string folder(cat.CategoryFolders(c, i));
            const std::string target = catalogue::DisplayPath(catalogue::OpenTarget(c, folder));
            if (!folders.insert(target).second)
                throw std::runtime_error("two items share the folder " + target);
            const fs::path dir = OnDisc(out, catalogue::OpenTarget(c, folder));
            fs::create_directories(dir);
            WriteItemFiles(dir, c, LastStep(target), title, std::string(cat.CategoryDescriptions(c, i)));
            ++tally.items;

            const std::uint64_t seed = demo::SeedOf(title + "@" + folder);
            demo::Dice sizes(seed);
            const PictureSet pictures = PicturesOf(c, folder);
            const Size previewSize = PreviewSize(style, sizes);
            const Size fullSize = FullSize(style, sizes);
            if (pictures == PictureSet::Both || pictures == PictureSet::PreviewOnly) {
                WritePicture(OnDisc(out, catalogue::PreviewPath(c, folder)), style, previewSize,
                             seed);
                ++tally.previews;
            }
            // The full-size picture is another screen of the same item: the same style, a
            // seed of its own.
            if (pictures == PictureSet::Both || pictures == PictureSet::FullOnly) {
                WritePicture(OnDisc(out, catalogue::FullPicturePath(c, folder)), style, fullSize,
                             seed * 31 + 7);
                ++tally.fullPictures;
            }
        }
    }
}

void MakeWholeFolders(const fs::path& out, Tally& tally)
{
    const fs::path pictures = OnDisc(out, catalogue::kPicturesFolder);
    static constexpr Size kWallpapers[] = {{128, 160}, {176, 208}, {176, 220}, {240, 320},
                                           {320, 240}, {132, 176}, {352, 416}, {640, 480}};
    int n = 0;
    for (const Size& size : kWallpapers) {
        char name[32];
        std::snprintf(name, sizeof name, "oboi_%02d_%dx%d.jpg", ++n, size.w, size.h);
        const auto style = n % 3 == 0 ? demo::ArtStyle::Emblem : demo::ArtStyle::Landscape;
        WritePicture(pictures / name, style, size, demo::SeedOf(name));
        ++tally.other;
    }
    WriteText(pictures / "readme.txt",
              "Обои для телефона: выберите картинку по размеру экрана (он указан в имени "
              "файла) и скопируйте её в телефон.\n");
    WriteText(OnDisc(out, catalogue::kVideoFolder) / "readme.txt",
              "Видеоролики демонстрационного диска лежат в папке Clips, по одному в папке. "
              "Самих роликов на демонстрационном диске нет.\n"
              "The demo disc's clips are in Clips, one folder each; the video files themselves "
              "are not included.\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: makedemodisc SOURCE OUTPUT\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    try {
        const fs::path source = argv[1], out = argv[2];
        RefuseForeignOutput(out);
        fs::remove_all(out);
        CopySource(source, out);

        Tally tally;
        std::vector<int> perCategory;
        MakeItems(out, tally, perCategory);
        MakeWholeFolders(out, tally);

        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::string counts;
        for (size_t c = 0; c < perCategory.size(); ++c)
            counts += (c ? " " : "") +
                      std::string(catalogue::CodeOfCategory(static_cast<int>(c) + 1)) + ":" +
                      std::to_string(perCategory[c]);
        std::printf("demo disc in %s: %d items (%s), %d previews, %d full-size pictures, "
                    "%d wallpapers, %.2f s\n",
                    out.string().c_str(), tally.items, counts.c_str(), tally.previews,
                    tally.fullPictures, tally.other, seconds);
    } catch (const catalogue::CatalogueError& e) {
        std::fprintf(stderr, "makedemodisc: %s: %s\n", e.path().c_str(), e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "makedemodisc: %s\n", e.what());
        return 1;
    }
    return 0;
}
