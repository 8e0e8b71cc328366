// Sections, sub-items and the item details on a disc with items in all nineteen categories.

#include "categories.h"
#include "itemdetails.h"
#include "jpegwriter.h"
#include "navigation.h"
#include "windowfixture.h"

#include <QScrollArea>
#include <QTimer>

using testsupport::TempDisc;

namespace {

void WritePicture(const TempDisc& disc, const std::string& relative, int w, int h)
{
    demo::RgbImage image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.Set(x, y, 200, 40, 40);
    const auto bytes = demo::EncodeJpeg(image);
    disc.Write(relative,
               std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// Two items in every category, folders "c<category>a" and "c<category>b", each folder made
// under its category's base; category 1's first item has both pictures.
void WriteFullDisc(const TempDisc& disc)
{
    disc.WriteEmptyCatalogue();
    std::string lines;
    for (int c = 1; c <= 19; ++c) {
        const std::string code(catalogue::CodeOfCategory(c));
        for (const char* item : {"a", "b"}) {
            const std::string folder = "c" + std::to_string(c) + item;
            lines += code + "@Item " + folder + "@" + folder + "@About " + folder + "\n";
            disc.MakeFolder(catalogue::DisplayPath(catalogue::OpenTarget(c, folder)));
        }
    }
    disc.Write("DB/dbsoft.mob", lines);
    std::string menu;
    for (int k = 1; k <= 42; ++k)
        menu += "m" + std::to_string(k) + "\n";
    disc.Write("DB/Menu.mob", menu);
    disc.Write("DB/AboutManual.mob", "Manual about text");
    disc.Write("DB/AboutMIDI.mob", "MIDI about text");
    disc.MakeFolder("Data/Pictures");
    disc.MakeFolder("Data/Video");
    WritePicture(disc, "Data/Java/Data/c1a/pic1.jpg", 400, 300);
    WritePicture(disc, "Data/Java/Data/c1a/foto.jpg", 64, 48);
}

struct Window : testsupport::Window
{
    Window() : testsupport::Window(WriteFullDisc) {}
    browser::Navigation& Nav() const { return form->Sections(); }
    browser::ItemDetails& Details() const { return form->Details(); }
    void PressSection(int s, Qt::MouseButton button = Qt::LeftButton) const
    {
        QTest::mousePress(c().Menu[s - 1], button, Qt::NoModifier, QPoint(3, 3));
        QTest::mouseRelease(c().Menu[s - 1], button, Qt::NoModifier, QPoint(3, 3));
    }
    int Underlined() const
    {
        int u = 0;
        for (int k = 1; k <= 4; ++k)
            if (c().ppunkt[k - 1]->font().underline()) u = u ? -1 : k;
        return u;
    }
    QString Path(const std::string& relative) const
    {
        return QString::fromStdString(
            (std::filesystem::canonical(disc.Root()) / relative).string());
    }
};

} // namespace

class NavigationTest : public QObject
{
    Q_OBJECT
private slots:
    void everySubItemOfEverySection_data();
    void everySubItemOfEverySection();
    void sectionCaptionsAndEmptySubItems();
    void anyMouseButtonPressesASection();
    void hoverHighlightFollowsTheMouse();
    void blinkingStopsOnceTheMouseIsOverASubItem();
    void previewShownOrNoticeByCategory();
    void previewCacheComparesPathsExactly();
    void undecodablePreviewIsShownAsMissingThenReported();
    void trickyPicturesThroughThePreview_data();
    void trickyPicturesThroughThePreview();
    void itemsSharingAFolderShareThePreviewState();
    void activationForgetsTheShownPicture();
    void openingTheSelectedItem();
    void fullSizePictureCursorAndClick();
    void linkOpensTheMakersSite();
};

void NavigationTest::everySubItemOfEverySection_data()
{
    QTest::addColumn<int>("section");
    QTest::addColumn<int>("subItem");
    QTest::addColumn<int>("category");
    QTest::addColumn<bool>("wide");
    QTest::addColumn<int>("underlined");
    QTest::addColumn<bool>("stretch");
    QTest::addColumn<bool>("proportional");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<bool>("aboutText");

    struct Row
    {
        int s, k, category;
        bool wide;
        int underlined;
        bool stretch, proportional;
        const char* opened;
        bool about;
    };
    // Each row: a fresh window, a press of the section, then a click of the sub-item.
    const Row rows[] = {
        {1, 1, 1, false, 1, false, false, "", false},
        {1, 2, 2, false, 2, false, false, "", false},
        {1, 3, 3, true, 3, false, false, "", false},
        {1, 4, 3, false, 4, false, false, "", false},
        {2, 1, 4, false, 1, true, true, "", false},
        {2, 2, 5, false, 2, true, true, "", false},
        {2, 3, 6, false, 3, true, true, "", false},
        {2, 4, 7, true, 4, true, true, "", false},
        {3, 1, 8, false, 2, false, false, "Data/Pictures", false},
        {3, 2, 8, false, 2, false, true, "", false},
        {3, 3, 9, true, 3, false, true, "", false},
        {3, 4, 9, false, 4, false, true, "", false},
        {4, 1, 10, false, 2, false, false, "Data/Video", false},
        {4, 2, 10, false, 2, false, true, "", false},
        {4, 3, 11, true, 3, false, true, "", false},
        {4, 4, 11, false, 4, false, true, "", false},
        {5, 1, 12, false, 1, false, false, "", true},
        {5, 2, 13, false, 2, false, false, "", true},
        {5, 3, 12, false, 3, false, false, "", true}, // the category stays as the press set it
        {5, 4, 13, false, 4, false, false, "", true},
        {6, 1, 14, false, 1, false, false, "", false},
        {6, 2, 19, false, 2, false, false, "", false},
        {6, 3, 15, true, 3, false, false, "", false},
        {6, 4, 15, false, 4, false, false, "", false},
        {7, 1, 16, false, 1, false, false, "", false},
        {7, 2, 17, false, 2, false, false, "", false},
        {7, 3, 18, true, 3, false, false, "", false},
        {7, 4, 18, false, 4, false, false, "", false},
    };
    for (const Row& r : rows)
        QTest::addRow("section %d, sub-item %d", r.s, r.k)
            << r.s << r.k << r.category << r.wide << r.underlined << r.stretch << r.proportional
            << QString::fromLatin1(r.opened) << r.about;
}

void NavigationTest::everySubItemOfEverySection()
{
    QFETCH(int, section);
    QFETCH(int, subItem);
    QFETCH(int, category);
    QFETCH(bool, wide);
    QFETCH(int, underlined);
    QFETCH(bool, stretch);
    QFETCH(bool, proportional);
    QFETCH(QString, opened);
    QFETCH(bool, aboutText);

    Window w;
    w.PressSection(section);
    w.Nav().ppunktClick(subItem);
    QCOMPARE(w.form->CurrentSection, section);
    QCOMPARE(w.form->CurrentCategory, category);
    QCOMPARE(w.c().Shape1->width(), wide ? 604 : 296);
    QCOMPARE(w.c().ScrollBox1->isVisibleTo(w.form.get()), !wide);
    QCOMPARE(w.c().Shape2->isVisibleTo(w.form.get()), !wide);
    QCOMPARE(w.Underlined(), underlined);
    QCOMPARE(w.Details().Stretch(), stretch);
    QCOMPARE(w.Details().Proportional(), proportional);
    QCOMPARE(w.opener.opened,
             opened.isEmpty() ? QStringList() : QStringList{w.Path(opened.toStdString())});
    QCOMPARE(w.c().LabelAboutText->isVisibleTo(w.form.get()), aboutText);
    if (aboutText) QCOMPARE(w.c().LabelAboutText->text(), QStringLiteral("Manual about text"));
    // The list shows the category's titles, from the top, first slot marked.
    QCOMPARE(w.Slot(1)->text(), QStringLiteral("Item c%1a").arg(category));
    QCOMPARE(w.MarkedSlot(), 1);
    QVERIFY(w.reporter.messages.isEmpty());
}

void NavigationTest::sectionCaptionsAndEmptySubItems()
{
    Window w;
    w.PressSection(3);
    const auto& p = w.c().ppunkt;
    QCOMPARE(p[0]->text(), QStringLiteral("m14"));
    QCOMPARE(p[2]->text(), QStringLiteral("m16"));
    QCOMPARE(p[3]->text(), QString()); // line 17 is read, then emptied
    w.PressSection(5);
    QCOMPARE(p[1]->text(), QStringLiteral("m27"));
    QCOMPARE(p[2]->text(), QString());
    QCOMPARE(p[2]->width(), 0);
    QCOMPARE(p[3]->width(), 0);
    QCOMPARE(p[2]->x(), p[1]->x() + p[1]->width() + 20);
    QCOMPARE(p[3]->x(), p[2]->x() + 20);
    w.PressSection(1);
    QVERIFY(!w.c().LabelAboutText->isVisibleTo(w.form.get()));
}

void NavigationTest::anyMouseButtonPressesASection()
{
    for (Qt::MouseButton b : {Qt::RightButton, Qt::MiddleButton}) {
        Window w;
        w.PressSection(6, b);
        QCOMPARE(w.form->CurrentSection, 6);
        QCOMPARE(w.form->CurrentCategory, 14);
    }
}

void NavigationTest::hoverHighlightFollowsTheMouse()
{
    Window w;
    QTest::mouseMove(w.c().Menu[3], QPoint(3, 3));
    QVERIFY(w.c().punkt[3]->isVisibleTo(w.form.get()));
    QVERIFY(w.c().punkt[0]->isVisibleTo(w.form.get()));
    QTest::mouseMove(w.Slot(3), QPoint(2, 2)); // over the list: the highlight stays
    QVERIFY(w.c().punkt[3]->isVisibleTo(w.form.get()));
    w.Nav().Image2MouseMove(); // over a background: only the current section's stays
    QVERIFY(!w.c().punkt[3]->isVisibleTo(w.form.get()));
    QVERIFY(w.c().punkt[0]->isVisibleTo(w.form.get()));
}

void NavigationTest::blinkingStopsOnceTheMouseIsOverASubItem()
{
    Window w;
    auto* t1 = w.form->findChild<QTimer*>(QStringLiteral("Timer1"));
    auto* t2 = w.form->findChild<QTimer*>(QStringLiteral("Timer2"));
    QVERIFY(t1 && t2);
    QVERIFY(t1->isActive() || t2->isActive());
    w.Nav().Timer1Timer();
    QCOMPARE(w.c().ppunkt[2]->FontColour(), browser::colours::kSubItemLight);
    QTest::mouseMove(w.c().ppunkt[0], QPoint(3, 3));
    QVERIFY(!t1->isActive() && !t2->isActive());
    QCOMPARE(w.c().ppunkt[2]->FontColour(), browser::colours::kSubItemBlue);
    w.PressSection(2); // a press does not start it again
    QVERIFY(!t1->isActive() && !t2->isActive());
}

void NavigationTest::previewShownOrNoticeByCategory()
{
    Window w;
    // Category 1, item 1 has its preview.
    QVERIFY(w.c().ImageShot->isVisibleTo(w.form.get()));
    QVERIFY(w.c().ImageShot->HasPicture());
    QVERIFY(!w.c().LabelPodScreenwotom->isVisibleTo(w.form.get()));
    QCOMPARE(w.c().LabelAbout->text(), QStringLiteral("About c1a"));
    // Item 2 has none: the notice.
    w.Key(Qt::Key_Down);
    QVERIFY(!w.c().ImageShot->isVisibleTo(w.form.get()));
    QVERIFY(w.c().LabelPodScreenwotom->isVisibleTo(w.form.get()));
    QCOMPARE(w.c().LabelAbout->text(), QStringLiteral("About c1b"));
    // Categories 12 and 13 show neither.
    w.PressSection(5);
    w.Key(Qt::Key_Down);
    QCOMPARE(w.form->CurrentCategory, 12);
    QVERIFY(!w.c().ImageShot->isVisibleTo(w.form.get()));
    QVERIFY(!w.c().LabelPodScreenwotom->isVisibleTo(w.form.get()));
    // Categories 4 and 5 show the MIDI about text.
    w.PressSection(2);
    QCOMPARE(w.c().LabelAbout->text(), QStringLiteral("MIDI about text"));
}

void NavigationTest::previewCacheComparesPathsExactly()
{
    Window w;
    QCOMPARE(w.Details().ShownPicturePath(), std::string(".\\Data\\Java\\Data\\c1a\\pic1.jpg"));
    // The same item again: nothing reloaded, visibility left alone even if changed meanwhile.
    w.c().ImageShot->hide();
    w.form->LabelClick(1);
    QVERIFY(!w.c().ImageShot->isVisibleTo(w.form.get()));
    w.c().ImageShot->show();
    // An empty folder entry puts the base straight before the file name.
    Window e;
    e.disc.Write("DB/dbsoft.mob", "1@Empty@@d\n");
    e.form->FormActivate();
    QCOMPARE(e.Details().ShownPicturePath(), std::string(".\\Data\\Java\\Data\\\\pic1.jpg"));
    // A folder named like the preview is no file: the notice.
    Window f;
    f.disc.MakeFolder("Data/Java/Data/c1b/pic1.jpg");
    f.Key(Qt::Key_Down);
    QVERIFY(f.c().LabelPodScreenwotom->isVisibleTo(f.form.get()));
    // Letter case matters to the cache, not to finding the file.
    Window g;
    g.disc.Write("DB/dbsoft.mob", "1@A@c1a@d\n1@B@C1A@d\n");
    g.form->FormActivate();
    g.Key(Qt::Key_Down);
    QCOMPARE(g.Details().ShownPicturePath(), std::string(".\\Data\\Java\\Data\\C1A\\pic1.jpg"));
    QVERIFY(g.c().ImageShot->isVisibleTo(g.form.get()));
}

void NavigationTest::undecodablePreviewIsShownAsMissingThenReported()
{
    Window w;
    w.disc.Write("Data/Java/Data/c1b/pic1.jpg", "not a picture at all");
    w.Key(Qt::Key_Down);
    QVERIFY(!w.c().ImageShot->isVisibleTo(w.form.get()));
    QVERIFY(w.c().LabelPodScreenwotom->isVisibleTo(w.form.get()));
    QCOMPARE(w.c().LabelAbout->text(), QStringLiteral("About c1b"));
    QCOMPARE(w.MarkedSlot(), 2);
    QCOMPARE(w.reporter.messages.size(), 1);
    QVERIFY(w.reporter.messages[0].contains(QLatin1String("pic1.jpg")));
}

void NavigationTest::trickyPicturesThroughThePreview_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("shown");
    for (const char* good : {"baseline", "progressive", "arithmetic", "progressive-arithmetic",
                             "grayscale", "cmyk", "extraneous-bytes-before-sof"})
        QTest::newRow(good) << QString::fromLatin1(good) << true;
    for (const char* bad : {"truncated", "truncated-progressive", "corrupt-entropy", "12bit-header",
                            "lossless-sof3", "60000x60000-header", "not-a-jpeg", "empty"})
        QTest::newRow(bad) << QString::fromLatin1(bad) << false;
}

void NavigationTest::trickyPicturesThroughThePreview()
{
    QFETCH(QString, file);
    QFETCH(bool, shown);
    QFile source(QStringLiteral(TEST_DATA_DIR "/%1.jpg").arg(file));
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    Window w;
    w.disc.Write("Data/Java/Data/c1b/pic1.jpg", std::string_view(bytes.constData(), bytes.size()));
    w.Key(Qt::Key_Down);
    QCOMPARE(w.c().ImageShot->isVisibleTo(w.form.get()), shown);
    QCOMPARE(w.c().LabelPodScreenwotom->isVisibleTo(w.form.get()), !shown);
    QCOMPARE(w.reporter.messages.size(), shown ? 0 : 1);
    QCOMPARE(w.MarkedSlot(), 2);
    QCOMPARE(w.c().LabelAbout->text(), QStringLiteral("About c1b"));
}

void NavigationTest::itemsSharingAFolderShareThePreviewState()
{
    Window w;
    w.disc.Write("DB/dbsoft.mob", "1@First@c1a@one\n1@Second@c1a@two\n");
    w.form->FormActivate();
    w.c().ImageShot->Clear(); // what the second item would show if it loaded anything
    w.Key(Qt::Key_Down);
    QVERIFY(!w.c().ImageShot->HasPicture()); // same path: nothing loaded
    QCOMPARE(w.c().LabelAbout->text(), QStringLiteral("two"));
}

void NavigationTest::activationForgetsTheShownPicture()
{
    Window w;
    w.form->FormActivate();
    QVERIFY(w.c().ImageShot->HasPicture());
    QVERIFY(w.c().ImageShot->isVisibleTo(w.form.get()));
    w.Nav().ppunktClick(4); // clears the picture too
    w.PressSection(1);
    QVERIFY(w.c().ImageShot->HasPicture());
}

void NavigationTest::openingTheSelectedItem()
{
    Window w;
    // A double click: the first click selects, the second press opens.
    QTest::mouseClick(w.Slot(2), Qt::LeftButton, Qt::NoModifier, QPoint(2, 5));
    QTest::mouseDClick(w.Slot(2), Qt::LeftButton, Qt::NoModifier, QPoint(2, 5));
    w.Key(Qt::Key_Return);
    QCOMPARE(w.opener.opened,
             (QStringList{w.Path("Data/Java/Data/c1b"), w.Path("Data/Java/Data/c1b")}));

    // Enter in an empty category opens nothing; an entry that leaves the disc neither.
    Window e;
    e.disc.Write("DB/dbsoft.mob", "2@Out@..\\..\\etc@d\n");
    e.form->FormActivate();
    e.Key(Qt::Key_Return);
    e.form->CurrentCategory = 2;
    e.form->FillCategoryList();
    e.Key(Qt::Key_Return);
    QCOMPARE(e.opener.opened, QStringList());
}

void NavigationTest::fullSizePictureCursorAndClick()
{
    Window w;
    int shown = 0;
    w.Details().SetScreenshotOpener([&] { ++shown; });
    QMouseEvent move(QEvent::MouseMove, QPointF(50, 50),
                     w.c().ImageShot->mapToGlobal(QPointF(50, 50)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w.c().ImageShot, &move);
    QCOMPARE(w.c().ImageShot->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(w.form->FullPicturePath, QStringLiteral(".\\Data\\Java\\Data\\c1a\\foto.jpg"));
    QTest::mouseClick(w.c().ImageShot, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    QCOMPARE(shown, 1);
    // Category 4 looks under Data itself, where there is none.
    w.PressSection(2);
    w.Details().ImageShotMouseMove();
    QCOMPARE(w.form->FullPicturePath, QStringLiteral(".\\Data\\c4a\\foto.jpg"));
    QCOMPARE(w.c().ImageShot->cursor().shape(), Qt::ArrowCursor);
    w.Details().ImageShotClick();
    QCOMPARE(shown, 1);
}

void NavigationTest::linkOpensTheMakersSite()
{
    Window w;
    QTest::mouseClick(w.c().ImageLink, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(w.opener.opened.size(), 1);
    QVERIFY(w.opener.opened[0].startsWith(QLatin1String("http")));
}

QTEST_MAIN(NavigationTest)
#include "navigation_test.moc"
