#pragma once
// The main window's controls, built from one table of names, kinds, places and looks.

#include "artwork.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <array>
#include <string_view>
#include <vector>

class QScrollArea;
class QScrollBar;
class QWidget;

namespace browser {

class ClickLabel;
class ListGridWidget;
class PictureBox;
class ShapeBox;

// Colours of the window's texts and shapes.
namespace colours {
inline const QColor kAmber(251, 197, 6);   // the selection mark and the sub-item bar
inline const QColor kDarkBlue(0, 73, 142); // the frames' pens
inline const QColor kTeal(0, 158, 172);    // the frames' fill
inline const QColor kSectionBlue(43, 113, 196);
inline const QColor kSubItemBlue(17, 108, 193);
inline const QColor kSubItemLight(169, 196, 224); // the light phase of the blinking
inline const QColor kSlot(26, 0, 0);              // an unselected list slot
} // namespace colours

struct MainControls
{
    QWidget* client = nullptr; // the client area, inside the 1-pixel border
    PictureBox* Image1 = nullptr;
    QWidget* Panel1 = nullptr;
    QWidget* Panel2 = nullptr;
    PictureBox* Image3 = nullptr;
    PictureBox* Image4 = nullptr; // minimise hot spot
    PictureBox* Image5 = nullptr; // close hot spot
    PictureBox* Image2 = nullptr;
    ShapeBox* Shape4 = nullptr;
    std::array<PictureBox*, 7> sectionImages{}; // Image6 .. Image12
    std::array<PictureBox*, 7> punkt{};         // punkt1a .. punkt7a
    std::array<ClickLabel*, 7> Menu{};          // Menu1 .. Menu7
    std::array<ClickLabel*, 4> ppunkt{};        // ppunkt1 .. ppunkt4
    ShapeBox* Shape1 = nullptr;
    ShapeBox* Shape2 = nullptr;
    ShapeBox* Shape3 = nullptr;
    ClickLabel* LabelPodScreenwotom = nullptr;
    PictureBox* ImageShot = nullptr;
    std::array<ClickLabel*, 25> Label{}; // Label1 .. Label25
    ClickLabel* LabelAboutText = nullptr;
    PictureBox* ImageLink = nullptr;
    ListGridWidget* bsSkinStringGrid1 = nullptr;
    QScrollBar* bsSkinScrollBar1 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    ClickLabel* LabelAbout = nullptr;
    QScrollBar* bsSkinScrollBar2 = nullptr;
};

inline constexpr int kWindowWidth = 800;
inline constexpr int kWindowHeight = 600;
inline constexpr int kBorder = 1;
inline constexpr int kListSlots = 25;
inline constexpr int kSlotLeft = 192;
inline constexpr int kSlotMaxWidth = 590;

// Every picture of the layout's artwork, once for each size and band it is shown at.
std::vector<artwork::Request> ArtworkRequests();

// The SVG pictures the skin's style sheet shows (arrows, grip). The build rasterises each to
// :/baked/<name>.png and <name>@2x.png, which the style sheet names: a PNG needs no plugin
// to load, an SVG would load two.
std::vector<QString> SkinPictures();

// Builds every control under `form`, named after it (objectName), in the order that puts later
// ones above earlier ones.
MainControls BuildMainLayout(QWidget* form);

// The window's one font at a pixel size: the same on every machine.
QFont WindowFont(int pixelSize, bool bold = false);

// A catalogue text (UTF-8) for a control.
inline QString Text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace browser
