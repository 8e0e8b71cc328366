#pragma once
// The disc author's checks: everything about a disc's catalogue and its files that would make
// the browser show less than the author meant.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tools {

enum class Severity { Warning, Error };

struct Diagnostic
{
    std::string path; // relative to the disc root, "/" separators
    int line = 0;     // 0 when no line applies
    Severity severity = Severity::Warning;
    std::string message;
};

// Returns why the file is no decodable picture, or nothing when it decodes.
using PictureCheck = std::function<std::optional<std::string>(const std::filesystem::path&)>;

// Loads the catalogue as the window does and checks it and the items' files. The collator's
// locale comes from the environment, as in the window.
std::vector<Diagnostic> CheckDisc(const std::filesystem::path& root, const PictureCheck& picture);

// "DB/dbsoft.mob:12: error: message"
std::string FormatDiagnostic(const Diagnostic& d);

} // namespace tools
