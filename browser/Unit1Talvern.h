#pragma once
// TForm1: the main window. It owns the controls and the shared state, runs the activation and
// the item list, and hands the sections and the item details to helpers of its own. Handlers
// keep the names of the events they serve; families of controls (the 25 list slots, the 7
// sections, the 4 sub-items) are served slot by slot.

#include "listgrid.h"
#include "mainlayout.h"

#include <QPoint>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>

class QWindow;

namespace catalogue {
class Catalogue;
}
namespace platform {
class DiscFiles;
class ErrorReporter;
class Opener;
} // namespace platform

namespace browser {

class ItemDetails;
class Navigation;

class TForm1 : public QWidget
{
    Q_OBJECT
public:
    // Works on the disc whose root is `discRoot`; failures go to `reporter`, folders and web
    // addresses to `opener`.
    TForm1(std::filesystem::path discRoot, platform::ErrorReporter& reporter,
           platform::Opener& opener, QWidget* parent = nullptr);
    ~TForm1() override;

    const MainControls& Controls() const { return c_; }
    const catalogue::Catalogue& Catalogue() const { return *catalogue_; }
    ItemDetails& Details() { return *details_; }
    Navigation& Sections() { return *navigation_; }

    // Shared state of the window.
    int CurrentSection = 1;
    int CurrentCategory = 1;
    int SelectedSlot = 0;
    QString FullPicturePath;

    // The activation sequence: reload the catalogue, section 1, category 1.
    void FormActivate();

    // The item list.
    void ShowListWindow();
    void FillCategoryList();
    void SetListCursors();
    void ClearListHighlight();
    void LabelClick(int slot);
    void LabelDblClick(int slot);
    void bsSkinStringGrid1Click();
    void bsSkinStringGrid1TopLeftChanged();
    void bsSkinStringGrid1KeyDown(catalogue::ListGrid::Key key);
    // The closing steps of showing an item: the mark on its slot, the grid's row set to it.
    void MarkSelectedSlot();

    // Asked for by the helpers.
    void ShowSelectedItem();
    void OpenSelectedItem();
    void ClearPreview();
    void SetScalingSwitches(bool stretch, bool proportional);
    void OpenDiscFolder(const char* windowsPath);
    void SyncDescriptionScrollBar();

    // The frame.
    void Image4Click();
    void Image5Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // Runs a handler; what it throws goes to the error reporter and ends only that handler.
    void Guard(const std::function<void()>& handler);
    void SelectSlot(int slot);
    void FocusReturned(QWindow* now);
    bool DragEvent(QEvent* event);
    bool SlotShowsAnItem(int slot) const;
    // The slot (1..25) that shows the grid's current row; 0 when the row is out of sight.
    int SlotOfRow() const;
    // The grid's cells: the titles of `category`.
    void SetGridTitles(int category);

    std::unique_ptr<catalogue::Catalogue> catalogue_;
    std::unique_ptr<platform::DiscFiles> files_;
    platform::ErrorReporter& reporter_;
    platform::Opener& opener_;
    MainControls c_;
    std::unique_ptr<ItemDetails> details_;
    std::unique_ptr<Navigation> navigation_;
    bool shownOnce_ = false;
    bool returnActivates_ = false; // the focus was last in a window whose closing activates

    bool dragging_ = false;
    QPoint dragOffset_;
};

} // namespace browser
