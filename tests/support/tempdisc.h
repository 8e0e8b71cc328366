#pragma once
// A disc in a temporary folder, written file by file by a test and removed afterwards.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace testsupport {

class TempDisc
{
public:
    TempDisc()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "disc-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        root_ = pattern;
    }
    ~TempDisc()
    {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    TempDisc(const TempDisc&) = delete;
    TempDisc& operator=(const TempDisc&) = delete;

    const std::filesystem::path& Root() const { return root_; }

    // `relative` uses "/" separators; the bytes are written as they are.
    void Write(std::string_view relative, std::string_view bytes) const
    {
        const auto path = root_ / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw std::runtime_error("cannot write " + path.string());
    }
    void MakeFolder(std::string_view relative) const
    {
        std::filesystem::create_directories(root_ / relative);
    }
    void Remove(std::string_view relative) const { std::filesystem::remove_all(root_ / relative); }

    // The eight catalogue files, all empty: a disc that loads, with nothing on it.
    void WriteEmptyCatalogue() const
    {
        for (const char* name : {"dbsoft.mob", "dbjava.mob", "dbinstruktion.mob", "dbMIDI.mob",
                                 "dbArticles.mob", "Menu.mob", "AboutManual.mob", "AboutMIDI.mob"})
            Write(std::string("DB/") + name, "");
    }

private:
    std::filesystem::path root_;
};

} // namespace testsupport
