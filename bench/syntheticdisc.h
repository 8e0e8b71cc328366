#pragma once
// Writes a disc whose catalogue has any number of lines, for measuring the load.

#include <cstddef>
#include <filesystem>

namespace bench {

// The five content files (Windows-1251, CRLF) share `lines` lines: mostly items with Russian
// and Latin titles over all nineteen categories, some case-only duplicates, a few lines of no
// category. The menu and about files are small. The same seed gives the same disc.
void WriteSyntheticDisc(const std::filesystem::path& root, std::size_t lines, unsigned seed = 1);

} // namespace bench
