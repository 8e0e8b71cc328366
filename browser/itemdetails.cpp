#include "itemdetails.h"

#include "Unit1Talvern.h"
#include "catalogue.h"
#include "categories.h"
#include "desktop.h"
#include "discpath.h"
#include "errorreporter.h"
#include "jpegdecoder.h"
#include "listgridwidget.h"
#include "widgets.h"

#include <QPixmap>
#include <QScrollArea>
#include <cmath>

#ifndef DISCBROWSER_MAKER_URL
#error "the build sets DISCBROWSER_MAKER_URL, the maker's web site"
#endif

namespace browser {

ItemDetails::ItemDetails(TForm1& form, platform::DiscFiles& files, platform::Opener& opener,
                         platform::ErrorReporter& reporter)
    : form_(form), files_(files), opener_(opener), reporter_(reporter)
{
}

int ItemDetails::SelectedItem() const
{
    return form_.Controls().bsSkinStringGrid1->TopRow() + form_.SelectedSlot;
}

std::string ItemDetails::SelectedFolder() const
{
    return std::string(form_.Catalogue().CategoryFolders(form_.CurrentCategory, SelectedItem()));
}

void ItemDetails::ShowSelectedItem()
{
    const MainControls& c = form_.Controls();
    const int category = form_.CurrentCategory;
    const auto& rules = catalogue::PathsOfCategory(category);
    const std::string preview = catalogue::PreviewPath(category, SelectedFolder());

    QString failure;
    if (preview != shownPicturePath_) {
        shownPicturePath_ = preview;
        const auto file = files_.FilePath(preview);
        bool shown = false;
        if (file) {
            try {
                LoadPreview(*file);
                shown = true;
            } catch (const std::exception& e) {
                // A picture that will not decode is shown as a missing one, and the item's
                // description and mark still follow; the error is told once they have.
                failure = QString::fromUtf8(e.what());
            }
        }
        c.ImageShot->setVisible(shown);
        c.LabelPodScreenwotom->setVisible(!shown && rules.noticeWhenNoPreview);
        if (!shown) {
            c.ImageShot->Clear();
            previewFile_.clear();
        }
    }

    const auto& cat = form_.Catalogue();
    c.LabelAbout->SetCaption(rules.showsAboutMidiText
                                 ? Text(cat.AboutMidiText())
                                 : Text(cat.CategoryDescriptions(category, SelectedItem())));
    form_.SyncDescriptionScrollBar();

    form_.MarkSelectedSlot();
    if (!failure.isEmpty()) reporter_.Report(failure);
}

QSize ItemDetails::DecodeSizeFor(QSize picture) const
{
    const QSize frame = form_.Controls().ImageShot->size();
    if (!proportional_ && !stretch_) return picture; // drawn at its own size
    if (stretch_ && !proportional_) return frame.boundedTo(picture);
    const double fit = std::min(double(frame.width()) / picture.width(),
                                double(frame.height()) / picture.height());
    const double scale = stretch_ ? fit : std::min(1.0, fit);
    if (scale >= 1.0) return picture;
    return QSize(int(std::ceil(picture.width() * scale)), int(std::ceil(picture.height() * scale)));
}

void ItemDetails::LoadPreview(const std::filesystem::path& file)
{
    // The header first: the picture is then decoded only as large as the frame will show it.
    const auto header = platform::ReadJpegFileHeader(file);
    const QSize full(header.width, header.height);
    const QImage image = platform::LoadPreview(file, DecodeSizeFor(full));
    previewFile_ = file;
    previewSize_ = full;
    form_.Controls().ImageShot->SetPhoto(QPixmap::fromImage(image), full, stretch_, proportional_);
}

void ItemDetails::ClearPreview()
{
    form_.Controls().ImageShot->Clear();
    previewFile_.clear();
    shownPicturePath_.clear();
}

void ItemDetails::SetScalingSwitches(bool stretch, bool proportional)
{
    if (stretch == stretch_ && proportional == proportional_) return;
    stretch_ = stretch;
    proportional_ = proportional;
    if (previewFile_.empty()) return;
    // The picture on show may now be drawn larger than it was decoded.
    try {
        LoadPreview(previewFile_);
    } catch (const std::exception& e) {
        form_.Controls().ImageShot->Clear();
        previewFile_.clear();
        reporter_.Report(QString::fromUtf8(e.what()));
    }
}

void ItemDetails::OpenSelectedItem()
{
    const int item = SelectedItem();
    // An item that does not exist (Enter in an empty category) opens nothing, not the
    // category's whole base folder.
    if (item < 1 || item > form_.Catalogue().CategoryItemCount(form_.CurrentCategory)) return;
    const std::string folder = SelectedFolder();
    if (catalogue::LeavesDisc(folder)) return;
    if (const auto target = files_.OpenTarget(catalogue::OpenTarget(form_.CurrentCategory, folder)))
        opener_.OpenPath(*target);
}

void ItemDetails::BuildFullPicturePath()
{
    const int row = form_.Controls().bsSkinStringGrid1->Row();
    const auto folder = form_.Catalogue().CategoryFolders(form_.CurrentCategory, row + 1);
    form_.FullPicturePath =
        QString::fromStdString(catalogue::FullPicturePath(form_.CurrentCategory, folder));
}

std::filesystem::path ItemDetails::FullPictureFile()
{
    const std::string path = form_.FullPicturePath.toStdString();
    return files_.FilePath(path).value_or(std::filesystem::path());
}

void ItemDetails::ImageShotMouseMove()
{
    BuildFullPicturePath();
    const bool exists = files_.FileExists(form_.FullPicturePath.toStdString());
    form_.Controls().ImageShot->setCursor(exists ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void ItemDetails::ImageShotClick()
{
    BuildFullPicturePath();
    if (!files_.FileExists(form_.FullPicturePath.toStdString())) return;
    if (openScreenshot_) openScreenshot_();
}

void ItemDetails::ImageLinkClick()
{
    opener_.OpenUrl(QStringLiteral(DISCBROWSER_MAKER_URL));
}

} // namespace browser
