#pragma once
// The right-hand side of the window for the selected item: its preview picture or the
// no-picture notice, its description, opening it, its full-size picture and the maker's link.

#include <QSize>
#include <QString>
#include <filesystem>
#include <functional>
#include <string>

namespace platform {
class DiscFiles;
class ErrorReporter;
class Opener;
} // namespace platform

namespace browser {

class TForm1;

class ItemDetails
{
public:
    ItemDetails(TForm1& form, platform::DiscFiles& files, platform::Opener& opener,
                platform::ErrorReporter& reporter);

    void ShowSelectedItem();
    void OpenSelectedItem();
    void ImageShotMouseMove();
    void ImageShotClick();
    void ImageLinkClick();

    // Empties the preview, and forgets which picture it showed, so that the next selection
    // loads its picture even when it has the same path.
    void ClearPreview();
    // The preview's Stretch and Proportional switches (it is always centred).
    void SetScalingSwitches(bool stretch, bool proportional);
    bool Stretch() const { return stretch_; }
    bool Proportional() const { return proportional_; }

    // The path of the preview last decided on; the only picture cache.
    const std::string& ShownPicturePath() const { return shownPicturePath_; }
    // The full-size picture of the item in the grid's current row, as a file, if it exists.
    std::filesystem::path FullPictureFile();

    // Shows the screenshot window for the current full-size picture; the app decides what
    // that window is.
    void SetScreenshotOpener(std::function<void()> open) { openScreenshot_ = std::move(open); }

private:
    // The selected item's number in its category (from 1): the grid's window plus the slot.
    int SelectedItem() const;
    std::string SelectedFolder() const;
    void BuildFullPicturePath();
    void LoadPreview(const std::filesystem::path& file);
    QSize DecodeSizeFor(QSize picture) const;

    TForm1& form_;
    platform::DiscFiles& files_;
    platform::Opener& opener_;
    platform::ErrorReporter& reporter_;
    std::function<void()> openScreenshot_;
    std::string shownPicturePath_;
    std::filesystem::path previewFile_; // the decoded preview's file, to decode it again
    QSize previewSize_;                 // its size at full scale
    bool stretch_ = false;
    bool proportional_ = true;
};

} // namespace browser
