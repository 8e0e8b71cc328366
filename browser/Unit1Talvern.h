#pragma once
// TForm1: the main window. Its handlers keep the names of the events they serve; families of
// controls (the 25 list slots, the 7 sections, the 4 sub-items) are served slot by slot.

#include "listgrid.h"
#include "mainlayout.h"

#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>

class QTimer;
class QWindow;

namespace catalogue {
class Catalogue;
}
namespace platform {
class ErrorReporter;
}

namespace browser {

class TForm1 : public QWidget
{
    Q_OBJECT
public:
    // Works on the disc whose root is `discRoot`; every failure goes to `reporter`.
    TForm1(std::filesystem::path discRoot, platform::ErrorReporter& reporter,
           QWidget* parent = nullptr);
    ~TForm1() override;

    // Windows of the program whose closing hands the focus back here, and so runs the
    // activation again, mark themselves with this property.
    static constexpr const char* kReturnActivatesProperty = "discbrowserReturnActivates";

    const MainControls& Controls() const { return c_; }
    const catalogue::Catalogue& Catalogue() const { return *catalogue_; }

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

    // The item details.
    void ShowSelectedItem();
    void OpenSelectedItem();

    // The frame.
    void Image4Click();
    void Image5Click();

    // The blinking of the sub-item captions.
    void Timer1Timer();
    void Timer2Timer();
    void ppunkt2MouseMove();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // Runs a handler; what it throws goes to the error reporter and ends only that handler.
    void Guard(const std::function<void()>& handler);
    void SelectSlot(int slot);
    void MarkSelectedSlot();
    void LayOutSubItems();
    void FocusReturned(QWindow* now);
    bool DragEvent(QEvent* event);

    std::unique_ptr<catalogue::Catalogue> catalogue_;
    platform::ErrorReporter& reporter_;
    MainControls c_;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    bool shownOnce_ = false;
    QPointer<QWindow> lastFocus_;
    bool dragging_ = false;
    QPoint dragOffset_;
};

} // namespace browser
