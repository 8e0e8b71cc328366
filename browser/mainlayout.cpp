#include "mainlayout.h"

#include "artwork.h"
#include "listgridwidget.h"
#include "widgets.h"

#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <map>
#include <string_view>
#include <vector>

namespace browser {

namespace {

// Tops of the families, in slot order.
constexpr std::array<int, 7> kSectionTops = {42, 74, 106, 138, 170, 202, 234};
constexpr std::array<int, 7> kMenuTops = {47, 79, 111, 143, 175, 207, 239};
constexpr std::array<int, 4> kSubItemLefts = {192, 360, 480, 600};
constexpr std::array<int, 25> kSlotTops = {46,  63,  80,  97,  114, 131, 149, 166, 183,
                                           200, 217, 234, 251, 268, 285, 302, 319, 336,
                                           354, 371, 388, 405, 422, 439, 456};

// The font of the list slots and most texts of the working area.
constexpr int kPanelFontPx = 13;

enum class Kind { Picture, HotSpot, Panel, Shape, BarShape, Label, Grid, ScrollBar, ScrollBox };

// One row of the layout. Families (Image6..Image12, Label1..Label25, …) are one row whose
// `count` members take their tops or lefts from the arrays above.
struct Row
{
    const char* name; // for a family: the name with %1 for the member's number
    int first;        // the number of the family's first member
    int count;
    Kind kind;
    const char* parent;
    int x, y, w, h;
    const char* artwork = nullptr;
    int fontPx = 11;
    bool bold = false;
    QColor colour = QColor(); // invalid: the window text colour
    const char* text = nullptr;
    bool visible = true;
    const int* tops = nullptr;  // per member, for families laid out vertically
    const int* lefts = nullptr; // per member, for families laid out horizontally
    QRect band = {};            // the part of the artwork left in sight by the controls above
};

// Positions are within the parent's client area. Later rows are drawn above earlier ones.
const std::vector<Row>& Table()
{
    // clang-format off
    static const std::vector<Row> rows = {
        // Only the top band shows: Panel1 covers the rest.
        {.name = "Image1", .first = 0, .count = 1, .kind = Kind::Picture, .parent = "client",
         .x = 0, .y = 0, .w = 800, .h = 600, .artwork = ":/resources/image1.svg",
         .band = QRect(0, 0, 800, 109)},
        {"Panel1", 0, 1, Kind::Panel, "client", 0, 109, 800, 491},
        {"Panel2", 0, 1, Kind::Panel, "client", 748, 0, 52, 41},
        {"Image3", 0, 1, Kind::Picture, "Panel2", 0, 0, 52, 41, ":/resources/image3.svg"},
        {"Image4", 0, 1, Kind::HotSpot, "Panel2", 8, 11, 14, 13},
        {"Image5", 0, 1, Kind::HotSpot, "Panel2", 27, 11, 14, 13},
        {"Image2", 0, 1, Kind::Picture, "Panel1", 0, 0, 800, 491, ":/resources/image2.svg"},
        {"Shape4", 0, 1, Kind::BarShape, "Panel1", 184, 17, 604, 23},
        {.name = "Image%1", .first = 6, .count = 7, .kind = Kind::Picture, .parent = "Panel1",
         .x = 5, .y = 0, .w = 174, .h = 31, .artwork = ":/resources/section.svg",
         .tops = kSectionTops.data()},
        {.name = "punkt%1a", .first = 1, .count = 7, .kind = Kind::Picture, .parent = "Panel1",
         .x = 5, .y = 0, .w = 27, .h = 31, .artwork = ":/resources/section-lit.svg",
         .visible = false, .tops = kSectionTops.data()},
        {.name = "Menu%1", .first = 1, .count = 7, .kind = Kind::Label, .parent = "Panel1",
         .x = 35, .y = 0, .w = 55, .h = 20, .fontPx = 16, .bold = true,
         .colour = colours::kSectionBlue, .text = "Menu%1", .tops = kMenuTops.data()},
        {.name = "ppunkt%1", .first = 1, .count = 4, .kind = Kind::Label, .parent = "Panel1",
         .x = 0, .y = 20, .w = 55, .h = 16, .fontPx = 13, .bold = true,
         .colour = colours::kSubItemBlue, .text = "ppunkt%1", .lefts = kSubItemLefts.data()},
        {"Shape1", 0, 1, Kind::Shape, "Panel1", 184, 43, 296, 436},
        {"Shape2", 0, 1, Kind::Shape, "Panel1", 492, 43, 296, 221},
        {"Shape3", 0, 1, Kind::Shape, "Panel1", 492, 275, 296, 204},
        {.name = "LabelPodScreenwotom", .first = 0, .count = 1, .kind = Kind::Label,
         .parent = "Panel1", .x = 594, .y = 135, .w = 92, .h = 34, .fontPx = 13,
         .text = "Нет скриншота"},
        {"ImageShot", 0, 1, Kind::HotSpot, "Panel1", 494, 45, 292, 217},
        {.name = "Label%1", .first = 1, .count = 25, .kind = Kind::Label, .parent = "Panel1",
         .x = kSlotLeft, .y = 0, .w = 41, .h = 16, .fontPx = 13, .text = "Label1",
         .tops = kSlotTops.data()},
        {.name = "LabelAboutText", .first = 0, .count = 1, .kind = Kind::Label,
         .parent = "Panel1", .x = 498, .y = 47, .w = 281, .h = 13, .visible = false},
        {"ImageLink", 0, 1, Kind::HotSpot, "Panel1", 17, 456, 105, 15},
        // The controls with windows of their own lie above every drawn control.
        {"bsSkinStringGrid1", 0, 1, Kind::Grid, "Panel1", 457, 45, 6, 432},
        {.name = "bsSkinScrollBar1", .first = 0, .count = 1, .kind = Kind::ScrollBar,
         .parent = "Panel1", .x = 464, .y = 45, .w = 15, .h = 432, .visible = false},
        {"ScrollBox1", 0, 1, Kind::ScrollBox, "Panel1", 494, 277, 277, 200},
        {"LabelAbout", 0, 1, Kind::Label, "ScrollBox1", 6, 5, 267, 13},
        {.name = "bsSkinScrollBar2", .first = 0, .count = 1, .kind = Kind::ScrollBar,
         .parent = "Panel1", .x = 771, .y = 277, .w = 15, .h = 200, .visible = false},
    };
    // clang-format on
    return rows;
}

// Gives `control` its style sheet as it is first shown.
void SkinOnFirstShow(QWidget* control, const QString& sheet)
{
    class Skinner : public QObject
    {
    public:
        Skinner(QWidget* control, QString sheet) : QObject(control), sheet_(std::move(sheet))
        {
            control->installEventFilter(this);
        }
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Show) {
                watched->removeEventFilter(this);
                static_cast<QWidget*>(watched)->setStyleSheet(sheet_);
                deleteLater();
            }
            return false;
        }

    private:
        QString sheet_;
    };
    new Skinner(control, sheet);
}

} // namespace

QFont WindowFont(int pixelSize, bool bold)
{
    // The project installs DejaVu Sans, and the program's own font configuration
    // (platform/fontconfiguration.h) keeps local rules from putting another face in its place.
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    // Unhinted outlines, and no OpenType shaping, which Cyrillic and Latin do not need: a
    // text's width then comes from the font's own advances and kerning pairs alone, the same
    // under every FreeType, and measuring a caption runs no hinting program and no shaper,
    // which together made up most of the window's start.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

std::vector<artwork::Request> ArtworkRequests()
{
    std::vector<artwork::Request> pictures;
    for (const Row& row : Table())
        if (row.artwork)
            pictures.push_back({QString::fromLatin1(row.artwork), QSize(row.w, row.h), row.band});
    return pictures;
}

std::vector<QString> SkinPictures()
{
    return {QStringLiteral(":/resources/arrow-up.svg"),
            QStringLiteral(":/resources/arrow-down.svg"), QStringLiteral(":/resources/grip.svg")};
}

MainControls BuildMainLayout(QWidget* form)
{
    // The artwork is made, and the image plugins the skin's pictures need are loaded, on two
    // more threads while the controls are made.
    const QScreen* screen = QGuiApplication::primaryScreen();
    artwork::Prefetch(ArtworkRequests(), screen ? screen->devicePixelRatio() : 1.0);
    artwork::LoadImagePluginsAhead();

    MainControls c;
    c.client = new QWidget(form);
    c.client->setObjectName(QStringLiteral("client"));
    c.client->setGeometry(kBorder, kBorder, kWindowWidth - 2 * kBorder,
                          kWindowHeight - 2 * kBorder);

    std::map<QString, QWidget*> parents{{QStringLiteral("client"), c.client}};
    std::map<QString, QWidget*> made;
    for (const Row& row : Table()) {
        for (int k = 0; k < row.count; ++k) {
            const int number = row.first + k;
            const QString name = row.count > 1 || row.first > 0
                                     ? QString::fromLatin1(row.name).arg(number)
                                     : QString::fromLatin1(row.name);
            QWidget* parent = parents.at(QString::fromLatin1(row.parent));
            const int x = row.lefts ? row.lefts[k] : row.x;
            const int y = row.tops ? row.tops[k] : row.y;

            QWidget* w = nullptr;
            switch (row.kind) {
            case Kind::Picture:
            case Kind::HotSpot: {
                auto* p = new PictureBox(parent);
                if (row.artwork) p->SetArtwork(QString::fromLatin1(row.artwork), row.band);
                p->SetClickable(row.kind == Kind::HotSpot);
                w = p;
                break;
            }
            case Kind::Panel:
                w = new QWidget(parent);
                parents[name] = w;
                if (name == QLatin1String("Panel1")) {
                    c.Panel1 = w;
                    w->setFont(WindowFont(kPanelFontPx));
                }
                break;
            case Kind::Shape:
                w = new ShapeBox(parent, colours::kTeal, colours::kDarkBlue, 2);
                break;
            case Kind::BarShape:
                w = new ShapeBox(parent, colours::kAmber, colours::kDarkBlue, 2);
                break;
            case Kind::Label: {
                auto* l = new ClickLabel(parent);
                // Most labels take the list's font from Panel1; only the others get their own.
                if (parent != c.Panel1 || row.fontPx != kPanelFontPx || row.bold)
                    l->setFont(WindowFont(row.fontPx, row.bold));
                if (row.colour.isValid()) l->SetFontColour(row.colour);
                if (row.text) {
                    const QString text = QString::fromUtf8(row.text);
                    l->setText(text.contains(QLatin1String("%1")) ? text.arg(number) : text);
                }
                w = l;
                break;
            }
            case Kind::Grid:
                w = new ListGridWidget(parent);
                break;
            case Kind::ScrollBar: {
                auto* bar = new QScrollBar(Qt::Vertical, parent);
                bar->setFocusPolicy(Qt::NoFocus);
                bar->setCursor(Qt::PointingHandCursor);
                bar->setRange(0, 0);
                bar->setSingleStep(1);
                bar->setPageStep(1);
                w = bar;
                break;
            }
            case Kind::ScrollBox: {
                auto* area = new QScrollArea(parent);
                area->setFrameShape(QFrame::NoFrame);
                area->setFocusPolicy(Qt::NoFocus);
                area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                // Its own bar stays hidden; bsSkinScrollBar2 beside it does the scrolling.
                area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                auto* content = new QWidget;
                content->setObjectName(QStringLiteral("ScrollBox1Content"));
                content->resize(row.w, row.h);
                area->setWidget(content);
                area->setWidgetResizable(false);
                // setWidget() makes the content paint its background; the teal frame beneath
                // should show instead.
                content->setAutoFillBackground(false);
                area->viewport()->setAutoFillBackground(false);
                w = area;
                parents[name] = content;
                break;
            }
            }
            w->setObjectName(name);
            w->setGeometry(x, y, row.w, row.h);
            if (!row.visible) w->hide();
            made[name] = w;
        }
    }

    const auto get = [&](const char* n) { return made.at(QString::fromLatin1(n)); };
    c.Image1 = static_cast<PictureBox*>(get("Image1"));
    c.Panel2 = get("Panel2");
    c.Image3 = static_cast<PictureBox*>(get("Image3"));
    c.Image4 = static_cast<PictureBox*>(get("Image4"));
    c.Image5 = static_cast<PictureBox*>(get("Image5"));
    c.Image2 = static_cast<PictureBox*>(get("Image2"));
    c.Shape4 = static_cast<ShapeBox*>(get("Shape4"));
    for (int k = 0; k < 7; ++k) {
        c.sectionImages[k] =
            static_cast<PictureBox*>(made.at(QStringLiteral("Image%1").arg(k + 6)));
        c.punkt[k] = static_cast<PictureBox*>(made.at(QStringLiteral("punkt%1a").arg(k + 1)));
        c.Menu[k] = static_cast<ClickLabel*>(made.at(QStringLiteral("Menu%1").arg(k + 1)));
    }
    for (int k = 0; k < 4; ++k)
        c.ppunkt[k] = static_cast<ClickLabel*>(made.at(QStringLiteral("ppunkt%1").arg(k + 1)));
    c.Shape1 = static_cast<ShapeBox*>(get("Shape1"));
    c.Shape2 = static_cast<ShapeBox*>(get("Shape2"));
    c.Shape3 = static_cast<ShapeBox*>(get("Shape3"));
    c.LabelPodScreenwotom = static_cast<ClickLabel*>(get("LabelPodScreenwotom"));
    c.ImageShot = static_cast<PictureBox*>(get("ImageShot"));
    for (int k = 0; k < kListSlots; ++k)
        c.Label[k] = static_cast<ClickLabel*>(made.at(QStringLiteral("Label%1").arg(k + 1)));
    c.LabelAboutText = static_cast<ClickLabel*>(get("LabelAboutText"));
    c.ImageLink = static_cast<PictureBox*>(get("ImageLink"));
    c.bsSkinStringGrid1 = static_cast<ListGridWidget*>(get("bsSkinStringGrid1"));
    c.bsSkinScrollBar1 = static_cast<QScrollBar*>(get("bsSkinScrollBar1"));
    c.ScrollBox1 = static_cast<QScrollArea*>(get("ScrollBox1"));
    c.LabelAbout = static_cast<ClickLabel*>(get("LabelAbout"));
    c.bsSkinScrollBar2 = static_cast<QScrollBar*>(get("bsSkinScrollBar2"));

    // Looks the table's columns do not hold.
    c.Image1->setAttribute(Qt::WA_TransparentForMouseEvents); // presses reach the form: a drag
    for (auto* hot : {c.Image4, c.Image5, c.ImageLink})
        hot->setCursor(Qt::PointingHandCursor);
    for (auto* m : c.Menu) {
        m->setCursor(Qt::PointingHandCursor);
        m->setMouseTracking(true);
        m->SetAutoSize(true);
    }
    for (auto* p : c.ppunkt) {
        p->setCursor(Qt::PointingHandCursor);
        p->setMouseTracking(true);
        p->SetAutoSize(true);
    }
    c.ppunkt[0]->SetBold(true, true);
    c.punkt[0]->show();
    for (auto* l : c.Label)
        l->SetAutoSize(true, kSlotMaxWidth);
    c.Label[0]->SetFontColour(Qt::black);
    c.LabelPodScreenwotom->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    c.LabelPodScreenwotom->setWordWrap(true);
    // The about text and the description wrap at their fixed widths and grow downwards.
    for (auto* wrapped : {c.LabelAboutText, c.LabelAbout}) {
        wrapped->setWordWrap(true);
        wrapped->SetAutoSize(true);
    }
    c.Image2->setMouseTracking(true);
    for (auto* s : c.sectionImages)
        s->setMouseTracking(true);
    c.ImageShot->setMouseTracking(true);

    // The skin of the scroll bars and the description box, each sheet set on its controls
    // alone: a style sheet on the whole window would route every label through the style sheet
    // machinery. Each control parses the whole sheet it is given, so the description's bar,
    // hidden until a description overflows, gets its sheet only when it first shows.
    const auto sheet = [](const char* resource) {
        QFile file(QString::fromLatin1(resource));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    const QString scrollBar = sheet(":/resources/scrollbar.qss");
    c.bsSkinScrollBar1->setStyleSheet(scrollBar);
    SkinOnFirstShow(c.bsSkinScrollBar2, scrollBar);
    c.ScrollBox1->setStyleSheet(sheet(":/resources/descriptionpane.qss"));
    return c;
}

} // namespace browser
