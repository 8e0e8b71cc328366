#include "Unit1Talvern.h"

#include "catalogue.h"
#include "desktop.h"
#include "errorreporter.h"
#include "itemdetails.h"
#include "listgridwidget.h"
#include "navigation.h"
#include "widgets.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QWindow>

namespace browser {

namespace {

// Menu lines of the section captions: the first line of each six-line block.
constexpr std::array<int, 7> kSectionCaptionLines = {1, 7, 13, 19, 25, 31, 37};

} // namespace

TForm1::TForm1(std::filesystem::path discRoot, platform::ErrorReporter& reporter,
               platform::Opener& opener, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      catalogue_(std::make_unique<catalogue::Catalogue>(discRoot)),
      files_(std::make_unique<platform::DiscFiles>(discRoot)), reporter_(reporter), opener_(opener)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    setFixedSize(kWindowWidth, kWindowHeight);
    move(110, 105);
    // The 1-pixel border around the client area shows the window's own colour.
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Shadow));
    setPalette(p);
    setAutoFillBackground(true);
    setFont(WindowFont(11));

    c_ = BuildMainLayout(this);
    c_.client->installEventFilter(this);

    auto* grid = c_.bsSkinStringGrid1;
    grid->LinkScrollBar(c_.bsSkinScrollBar1);
    // An error inside the grid's events ends the whole action that moved the grid, as it
    // would without the nesting; the action's outermost handler reports it.
    grid->SetGuard([this](const std::function<void()>& action) { Guard(action); });
    catalogue::ListGrid::Events events;
    events.onClick = [this] { bsSkinStringGrid1Click(); };
    events.onTopLeftChanged = [this] { bsSkinStringGrid1TopLeftChanged(); };
    events.onKeyDown = [this](catalogue::ListGrid::Key key, bool) {
        bsSkinStringGrid1KeyDown(key);
    };
    grid->SetEvents(std::move(events));
    setFocusProxy(grid);

    for (int k = 0; k < kListSlots; ++k) {
        connect(c_.Label[k], &ClickLabel::clicked, this,
                [this, k] { Guard([this, k] { LabelClick(k + 1); }); });
        connect(c_.Label[k], &ClickLabel::doubleClicked, this,
                [this, k] { Guard([this, k] { LabelDblClick(k + 1); }); });
    }
    details_ = std::make_unique<ItemDetails>(*this, *files_, opener_, reporter_);
    navigation_ = std::make_unique<Navigation>(*this);
    Navigation& nav = *navigation_;
    for (int k = 0; k < 7; ++k) {
        connect(c_.Menu[k], &ClickLabel::pressed, this,
                [this, &nav, k] { Guard([&nav, k] { nav.MenuMouseDown(k + 1); }); });
        connect(c_.Menu[k], &ClickLabel::moved, this, [&nav, k] { nav.Menu1MouseMove(k + 1); });
    }
    for (int k = 0; k < 4; ++k) {
        connect(c_.ppunkt[k], &ClickLabel::clicked, this,
                [this, &nav, k] { Guard([&nav, k] { nav.ppunktClick(k + 1); }); });
        connect(c_.ppunkt[k], &ClickLabel::moved, this, [&nav] { nav.ppunkt2MouseMove(); });
    }
    connect(c_.Image2, &PictureBox::moved, this, [&nav] { nav.Image2MouseMove(); });
    for (auto* background : c_.sectionImages)
        connect(background, &PictureBox::moved, this, [&nav] { nav.Image2MouseMove(); });
    connect(c_.ImageShot, &PictureBox::moved, this,
            [this] { Guard([this] { details_->ImageShotMouseMove(); }); });
    connect(c_.ImageShot, &PictureBox::clicked, this,
            [this] { Guard([this] { details_->ImageShotClick(); }); });
    connect(c_.ImageLink, &PictureBox::clicked, this,
            [this] { Guard([this] { details_->ImageLinkClick(); }); });
    connect(c_.Image4, &PictureBox::clicked, this, [this] { Image4Click(); });
    connect(c_.Image5, &PictureBox::clicked, this, [this] { Image5Click(); });
    connect(c_.bsSkinScrollBar2, &QScrollBar::valueChanged, this,
            [this](int v) { c_.ScrollBox1->verticalScrollBar()->setValue(v); });

    connect(qApp, &QGuiApplication::focusWindowChanged, this,
            [this](QWindow* now) { FocusReturned(now); });
    // Every wheel notch over the window goes to the list, as the focused control.
    qApp->installEventFilter(this);
}

TForm1::~TForm1()
{
    qApp->removeEventFilter(this);
}

void TForm1::Guard(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& e) {
        reporter_.Report(QString::fromUtf8(e.what()));
    }
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    // The first activation runs before the window reaches the screen, so that its first
    // frame already shows the catalogue. An error is told once the window is there, over
    // it, rather than in a box standing alone on an empty screen.
    try {
        FormActivate();
    } catch (const std::exception& e) {
        const QString message = QString::fromUtf8(e.what());
        QTimer::singleShot(0, this, [this, message] { reporter_.Report(message); });
    }
}

void TForm1::FocusReturned(QWindow* now)
{
    // Activation follows the focus coming back from another window of the program (the
    // screenshot window), not from the error box, and not from another application. The
    // screenshot window is gone by the time the focus arrives here under a window manager,
    // so what counts is where the focus was last seen inside the program.
    if (!now) return; // the focus went to another application, or nowhere yet
    if (now == windowHandle()) {
        const bool activate = returnActivates_;
        returnActivates_ = false;
        if (activate) Guard([this] { FormActivate(); });
        return;
    }
    returnActivates_ = false;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowHandle() == now)
            returnActivates_ = w->property(platform::kReturnActivatesProperty).toBool();
}

void TForm1::FormActivate()
{
    catalogue::ContentPool pool = catalogue_->ReadContentFiles();
    catalogue_->ReadMenuAndAboutFiles();
    for (int k = 0; k < 7; ++k)
        c_.Menu[k]->SetCaption(Text(catalogue_->MenuLines(kSectionCaptionLines[k])));
    catalogue_->SortAndDistribute(std::move(pool));

    // The grid prepared for category 1; its events already run, nested, as in every move.
    auto* grid = c_.bsSkinStringGrid1;
    grid->SetRowCount(catalogue_->CategoryItemCount(1));
    grid->SetRow(0);
    SetGridTitles(1);
    grid->resize(0, grid->height());

    CurrentSection = 1;
    CurrentCategory = 1;
    // The disc may have changed while another window was in front.
    files_->Invalidate();
    ClearPreview();
    SetListCursors();
    FillCategoryList();
    grid->setEnabled(true);
    grid->setFocus();
    FillCategoryList();

    for (int k = 0; k < 4; ++k)
        c_.ppunkt[k]->SetCaption(Text(catalogue_->MenuLines(2 + k)));
    // Unlike a section press, the activation leaves an empty sub-item its one-blank width.
    navigation_->LayOutSubItems(false);
    navigation_->EnableTimer1();
}

void TForm1::ShowListWindow()
{
    const int top = c_.bsSkinStringGrid1->TopRow();
    for (int k = 0; k < kListSlots; ++k)
        c_.Label[k]->SetCaption(Text(c_.bsSkinStringGrid1->Cell(top + k)));
}

void TForm1::FillCategoryList()
{
    auto* grid = c_.bsSkinStringGrid1;
    grid->SetRow(0);
    grid->ClearCells();
    if (CurrentCategory < 1 || CurrentCategory > catalogue::kCategoryCount) return;
    grid->SetRowCount(catalogue_->CategoryItemCount(CurrentCategory));
    SetGridTitles(CurrentCategory);
    ShowListWindow();
    bsSkinStringGrid1Click();
}

void TForm1::SetGridTitles(int category)
{
    const int n = catalogue_->CategoryItemCount(category);
    for (int r = 0; r < n; ++r)
        c_.bsSkinStringGrid1->SetCell(r, std::string(catalogue_->CategoryTitles(category, r + 1)));
}

void TForm1::SetListCursors()
{
    for (auto* l : c_.Label)
        l->setCursor(Qt::PointingHandCursor);
}

void TForm1::ClearListHighlight()
{
    for (auto* l : c_.Label)
        l->SetFontColour(colours::kSlot);
    for (auto* l : c_.Label)
        l->SetBold(false);
}

void TForm1::SelectSlot(int slot)
{
    SelectedSlot = slot;
    ShowSelectedItem();
    c_.Label[slot - 1]->SetBold(true);
}

bool TForm1::SlotShowsAnItem(int slot) const
{
    return c_.bsSkinStringGrid1->TopRow() + slot <= catalogue_->CategoryItemCount(CurrentCategory);
}

void TForm1::LabelClick(int slot)
{
    // A click on blank space below the last title changes nothing: there is no item there to
    // select, mark or open later.
    if (SlotShowsAnItem(slot)) SelectSlot(slot);
}

void TForm1::LabelDblClick(int slot)
{
    if (SlotShowsAnItem(slot)) OpenSelectedItem();
}

int TForm1::SlotOfRow() const
{
    const int k = c_.bsSkinStringGrid1->Row() - c_.bsSkinStringGrid1->TopRow() + 1;
    return k >= 1 && k <= kListSlots ? k : 0;
}

void TForm1::bsSkinStringGrid1Click()
{
    if (const int k = SlotOfRow()) SelectSlot(k);
}

void TForm1::bsSkinStringGrid1TopLeftChanged()
{
    ShowListWindow();
    if (const int k = SlotOfRow())
        SelectSlot(k);
    else
        ClearListHighlight();
}

void TForm1::bsSkinStringGrid1KeyDown(catalogue::ListGrid::Key key)
{
    if (key != catalogue::ListGrid::Key::Enter) return;
    if (const int k = SlotOfRow()) LabelDblClick(k);
}

void TForm1::ShowSelectedItem()
{
    details_->ShowSelectedItem();
}

void TForm1::MarkSelectedSlot()
{
    ClearListHighlight();
    ClickLabel* slot = c_.Label[SelectedSlot - 1];
    slot->SetFontColour(colours::kAmber);
    slot->SetBold(true);
    c_.bsSkinStringGrid1->SetRow(c_.bsSkinStringGrid1->TopRow() + SelectedSlot - 1);
}

void TForm1::OpenSelectedItem()
{
    details_->OpenSelectedItem();
}

void TForm1::ClearPreview()
{
    details_->ClearPreview();
}

void TForm1::SetScalingSwitches(bool stretch, bool proportional)
{
    details_->SetScalingSwitches(stretch, proportional);
}

void TForm1::OpenDiscFolder(const char* windowsPath)
{
    if (const auto target = files_->OpenTarget(windowsPath)) opener_.OpenPath(*target);
}

void TForm1::SyncDescriptionScrollBar()
{
    // The description label wraps at its fixed width and grows downwards; the box beside
    // it scrolls it with its own skinned bar.
    const ClickLabel* about = c_.LabelAbout; // it sizes itself to its wrapped text
    QWidget* content = c_.ScrollBox1->widget();
    const int viewport = c_.ScrollBox1->height();
    content->resize(c_.ScrollBox1->width(), std::max(viewport, about->y() + about->height() + 5));
    QScrollBar* bar = c_.bsSkinScrollBar2;
    bar->setRange(0, content->height() - viewport);
    bar->setPageStep(viewport);
    bar->setSingleStep(13);
    bar->setValue(0);
    c_.ScrollBox1->verticalScrollBar()->setValue(0);
    bar->setVisible(c_.ScrollBox1->isVisibleTo(this) && bar->maximum() > 0);
}

void TForm1::Image4Click()
{
    showMinimized();
}

void TForm1::Image5Click()
{
    close();
}

bool TForm1::focusNextPrevChild(bool)
{
    // The list's grid is the window's only tab stop: Tab goes nowhere.
    return true;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == this && w != c_.bsSkinStringGrid1) {
            c_.bsSkinStringGrid1->TakeWheel(static_cast<QWheelEvent*>(event));
            return true;
        }
        return false;
    }
    if (watched == c_.client) return DragEvent(event);
    return false;
}

bool TForm1::DragEvent(QEvent* event)
{
    // The top band (what the panels leave of the window's own area) moves the window: the
    // window manager's move where there is one, our own where it declines.
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton) return false;
        if (windowHandle() && windowHandle()->startSystemMove()) return true;
        dragging_ = true;
        dragOffset_ = e->globalPosition().toPoint() - pos();
        return true;
    }
    case QEvent::MouseMove:
        if (!dragging_) return false;
        move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - dragOffset_);
        return true;
    case QEvent::MouseButtonRelease:
        if (!dragging_) return false;
        dragging_ = false;
        return true;
    default:
        return false;
    }
}

} // namespace browser
