#include "navigation.h"

#include "Unit1Talvern.h"
#include "catalogue.h"
#include "categories.h"
#include "listgridwidget.h"
#include "widgets.h"

#include <QScrollArea>
#include <QTimer>

namespace browser {

namespace {

// The sub-item captions a section shows: how many come from its block of menu lines (the rest
// are emptied), the category its press selects, and which sub-item the press clicks.
struct Section
{
    int captions;
    int category;
    int defaultSubItem;
};
constexpr std::array<Section, 7> kSections = {{
    {4, 1, 1},
    {4, 4, 1},
    {4, 8, 2}, // its fourth caption is read, then emptied again
    {4, 10, 2},
    {2, 12, 1},
    {3, 14, 1},
    {3, 16, 1},
}};

// What a sub-item click does, by section and sub-item.
struct Cell
{
    int category = 0;             // 0: the category stays as it is
    bool wide = false;            // the wide list layout instead of the details layout
    const char* folder = nullptr; // opens this folder instead of showing a list
    bool bothScalingSwitches = false;
    const char* noPictureCaption = nullptr;
    bool hideNoPictureNotice = false;
};
const std::array<std::array<Cell, 4>, 7>& Cells()
{
    static const std::array<std::array<Cell, 4>, 7> cells = {{
        {{{1}, {2}, {3, true}, {3}}},
        {{{4, false, nullptr, true, "Нет изображения"},
          {5, false, nullptr, false, "Нет изображения"},
          {6},
          {7, true}}},
        {{{0, false, catalogue::kPicturesFolder.data()}, {8}, {9, true}, {9}}},
        {{{0, false, catalogue::kVideoFolder.data()}, {10}, {11, true}, {11}}},
        {{{12, false, nullptr, false, nullptr, true}, {13}, {0}, {13}}},
        {{{14}, {19}, {15, true}, {15}}},
        {{{16}, {17}, {18, true}, {18}}},
    }};
    return cells;
}

} // namespace

Navigation::Navigation(TForm1& form) : form_(form)
{
    // Both blink timers run from the window's creation.
    Timer1 = new QTimer(&form);
    Timer2 = new QTimer(&form);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer2->setObjectName(QStringLiteral("Timer2"));
    for (QTimer* t : {Timer1, Timer2})
        t->setInterval(500);
    QObject::connect(Timer1, &QTimer::timeout, &form, [this] { Timer1Timer(); });
    QObject::connect(Timer2, &QTimer::timeout, &form, [this] { Timer2Timer(); });
    Timer1->start();
    Timer2->start();
}

void Navigation::MenuMouseDown(int section)
{
    const MainControls& c = form_.Controls();
    const auto& cat = form_.Catalogue();
    form_.CurrentSection = section;

    c.LabelAboutText->setVisible(section == 5);
    if (section == 5) c.LabelAboutText->SetCaption(Text(cat.AboutManualText()));
    HideMarkersExcept(section);

    const Section& s = kSections[static_cast<size_t>(section - 1)];
    const int firstLine = 6 * (section - 1) + 2;
    for (int k = 0; k < 4; ++k)
        c.ppunkt[k]->SetCaption(k < s.captions ? Text(cat.MenuLines(firstLine + k)) : QString());
    LayOutSubItems(true);
    if (section == 3) c.ppunkt[3]->SetCaption(QString());

    form_.CurrentCategory = s.category;
    ppunktClick(s.defaultSubItem);
}

void Navigation::LayOutSubItems(bool narrowEmpty)
{
    const MainControls& c = form_.Controls();
    if (narrowEmpty)
        for (int k = 1; k < 4; ++k)
            if (c.ppunkt[k]->text().isEmpty()) c.ppunkt[k]->resize(0, c.ppunkt[k]->height());
    for (int k = 1; k < 4; ++k) {
        const ClickLabel* before = c.ppunkt[k - 1];
        c.ppunkt[k]->move(before->x() + before->width() + 20, c.ppunkt[k]->y());
    }
}

void Navigation::ppunktClick(int subItem)
{
    const MainControls& c = form_.Controls();
    const int section = form_.CurrentSection;
    const bool opensFolder = subItem == 1 && (section == 3 || section == 4);

    if (subItem == 1) form_.SetScalingSwitches(false, false);
    if (!opensFolder) ApplyDetailsLayout();

    const Cell& cell = Cells()[static_cast<size_t>(section - 1)][static_cast<size_t>(subItem - 1)];
    if (cell.category) form_.CurrentCategory = cell.category;
    if (cell.wide) ApplyWideListLayout();
    if (cell.bothScalingSwitches) form_.SetScalingSwitches(true, true);
    if (cell.noPictureCaption)
        c.LabelPodScreenwotom->setText(QString::fromUtf8(cell.noPictureCaption));
    if (cell.hideNoPictureNotice) c.LabelPodScreenwotom->hide();

    if (cell.folder) {
        // The folder opens in the file manager; the list, the layout and the underline stay.
        form_.OpenDiscFolder(cell.folder);
        return;
    }

    for (int k = 0; k < 4; ++k)
        c.ppunkt[k]->SetBold(true, k == subItem - 1);
    if (subItem == 4) form_.ClearPreview();
    form_.SetListCursors();
    form_.FillCategoryList();
    c.bsSkinStringGrid1->setEnabled(true);
    c.bsSkinStringGrid1->setFocus();
}

void Navigation::ApplyDetailsLayout()
{
    ApplyLayout(false);
}

void Navigation::ApplyWideListLayout()
{
    ApplyLayout(true);
}

void Navigation::ApplyLayout(bool wide)
{
    // The two fixed settings of the right-hand side: the list beside the preview and the
    // description, or the list across the whole width.
    const MainControls& c = form_.Controls();
    const std::array<QWidget*, 5> details = {c.ImageShot, c.Shape2, c.ScrollBox1, c.LabelAbout,
                                             c.Shape3};
    for (QWidget* w : details)
        w->setVisible(!wide);
    c.LabelPodScreenwotom->setText(wide ? QString() : QStringLiteral("Нет скриншота"));
    c.Shape1->resize(wide ? 604 : 296, c.Shape1->height());
    c.bsSkinStringGrid1->resize(0, c.bsSkinStringGrid1->height());
    form_.SyncDescriptionScrollBar();
}

void Navigation::Menu1MouseMove(int section)
{
    form_.Controls().punkt[section - 1]->show();
}

void Navigation::Image2MouseMove()
{
    HideMarkersExcept(form_.CurrentSection);
}

void Navigation::HideMarkersExcept(int section)
{
    const MainControls& c = form_.Controls();
    for (int k = 1; k <= 7; ++k)
        if (k != section) c.punkt[k - 1]->hide();
}

void Navigation::Timer1Timer()
{
    for (auto* p : form_.Controls().ppunkt)
        p->SetFontColour(colours::kSubItemLight);
    if (!Timer2->isActive()) Timer2->start();
    Timer1->stop();
}

void Navigation::Timer2Timer()
{
    for (auto* p : form_.Controls().ppunkt)
        p->SetFontColour(colours::kSubItemBlue);
    if (!Timer1->isActive()) Timer1->start();
    Timer2->stop();
}

void Navigation::ppunkt2MouseMove()
{
    Timer1->stop();
    Timer2->stop();
    for (auto* p : form_.Controls().ppunkt)
        p->SetFontColour(colours::kSubItemBlue);
}

void Navigation::EnableTimer1()
{
    if (!Timer1->isActive()) Timer1->start();
}

} // namespace browser
