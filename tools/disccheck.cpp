// disccheck: tells a disc author what is wrong with a disc's catalogue and its files, and
// prints the catalogue as the browser loads it.

#include "catalogue.h"
#include "categories.h"
#include "discchecker.h"
#include "jpegdecoder.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

namespace {

constexpr const char* kUsage =
    "usage: disccheck [--json | --summary] [DISC_DIR]\n"
    "\n"
    "Checks the catalogue (DB/*.mob) of the disc in DISC_DIR (default: the current folder)\n"
    "and the files of its items, printing one line per problem:\n"
    "  PATH[:LINE]: error|warning: MESSAGE\n"
    "and a total. Exit status: 1 if there is an error, 0 otherwise, 2 for a usage error.\n"
    "\n"
    "  --json     print the loaded catalogue as JSON (UTF-8) instead\n"
    "  --summary  only load, and print the number of items in each category\n";

enum class Mode { Report, Json, Summary };

void AppendJsonString(std::string& out, std::string_view s)
{
    out += '"';
    for (unsigned char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c); // the catalogue holds valid UTF-8 only
            }
        }
    }
    out += '"';
}

std::string CatalogueJson(const catalogue::Catalogue& cat)
{
    std::string out = "{\"categories\":[";
    for (int c = 1; c <= catalogue::kCategoryCount; ++c) {
        if (c > 1) out += ',';
        out += "{\"category\":" + std::to_string(c) + ",\"code\":";
        AppendJsonString(out, catalogue::CodeOfCategory(c));
        out += ",\"items\":[";
        for (int i = 1; i <= cat.CategoryItemCount(c); ++i) {
            if (i > 1) out += ',';
            out += "{\"title\":";
            AppendJsonString(out, cat.CategoryTitles(c, i));
            out += ",\"folder\":";
            AppendJsonString(out, cat.CategoryFolders(c, i));
            out += ",\"description\":";
            AppendJsonString(out, cat.CategoryDescriptions(c, i));
            out += '}';
        }
        out += "]}";
    }
    out += "],\"menuLines\":[";
    for (int k = 1; k <= cat.MenuLineCount(); ++k) {
        if (k > 1) out += ',';
        AppendJsonString(out, cat.MenuLines(k));
    }
    out += "],\"aboutManual\":";
    AppendJsonString(out, cat.AboutManualText());
    out += ",\"aboutMidi\":";
    AppendJsonString(out, cat.AboutMidiText());
    out += "}\n";
    return out;
}

std::string Summary(const catalogue::Catalogue& cat)
{
    std::string out;
    int total = 0;
    for (int c = 1; c <= catalogue::kCategoryCount; ++c) {
        const int n = cat.CategoryItemCount(c);
        total += n;
        out += "category " + std::to_string(c) + " (" + std::string(catalogue::CodeOfCategory(c)) +
               "): " + std::to_string(n) + "\n";
    }
    out += "total: " + std::to_string(total) + "\n";
    return out;
}

std::optional<std::string> CheckPicture(const std::filesystem::path& file)
{
    try {
        const auto header = platform::ReadJpegFileHeader(file);
        // The screenshot window decodes it at full size; a picture past the cap never shows.
        platform::CheckDecodedSize(header.width, header.height);
        // The smallest scale still runs the whole entropy decoder, so damage shows.
        platform::DecodeJpegFileScaled(file, 1, 1);
        return std::nullopt;
    } catch (const std::exception& e) {
        return e.what();
    }
}

int Report(const std::filesystem::path& root)
{
    const auto diagnostics = tools::CheckDisc(root, CheckPicture);
    int errors = 0, warnings = 0;
    std::string out;
    for (const auto& d : diagnostics) {
        (d.severity == tools::Severity::Error ? errors : warnings)++;
        out += tools::FormatDiagnostic(d) + "\n";
    }
    const auto plural = [](int n, const char* word) {
        return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
    };
    out += plural(errors, "error") + ", " + plural(warnings, "warning") + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return errors > 0 ? 1 : 0;
}

int Usage(const char* problem)
{
    std::fprintf(stderr, "disccheck: %s\n%s", problem, kUsage);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    Mode mode = Mode::Report;
    bool modeSet = false;
    std::optional<std::filesystem::path> root;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--json" || arg == "--summary") {
            if (modeSet) return Usage("--json and --summary exclude each other");
            mode = arg == "--json" ? Mode::Json : Mode::Summary;
            modeSet = true;
        } else if (arg.starts_with("-") && arg != "-") {
            return Usage(("unknown option " + std::string(arg)).c_str());
        } else {
            if (root) return Usage("only one DISC_DIR may be given");
            root = std::filesystem::path(arg);
        }
    }
    if (!root) root = ".";
    std::error_code ec;
    if (!std::filesystem::is_directory(*root, ec))
        return Usage((root->string() + " is not a folder").c_str());

    try {
        if (mode == Mode::Report) return Report(*root);
        catalogue::Catalogue cat(*root);
        cat.Load();
        const std::string out = mode == Mode::Json ? CatalogueJson(cat) : Summary(cat);
        std::fwrite(out.data(), 1, out.size(), stdout);
        return 0;
    } catch (const catalogue::CatalogueError& e) {
        std::fprintf(stderr, "disccheck: %s: %s\n", e.path().c_str(), e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "disccheck: %s\n", e.what());
        return 1;
    }
}
