// discbrowser [DISC_DIR]: the start-up browser of a content disc. It works on the current
// folder, which is the disc's root when the disc starts it, or on DISC_DIR.

#include "Unit1Talvern.h"
#include "Unit2Talvern.h"
#include "catalogue.h"
#include "desktop.h"
#include "errorreporter.h"
#include "fontconfiguration.h"
#include "itemdetails.h"

#include <QApplication>
#include <QPointer>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <thread>

int main(int argc, char** argv)
{
    // The collation and the catalogue files the first load needs are prepared on a second
    // thread while the application object starts. Qt's own options are not taken off the
    // command line yet, so this guesses the disc only from its plain forms; with any other,
    // the load does all the work itself.
    std::jthread warmUp;
    if (argc == 1 || (argc == 2 && argv[1][0] != '-'))
        warmUp = std::jthread(catalogue::WarmUp, std::filesystem::path(argc == 2 ? argv[1] : "."));
    // Before the application object, which may already ask fontconfig for a font.
    platform::UseOwnFontConfiguration();
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() > 2) {
        std::fprintf(stderr, "usage: discbrowser [DISC_DIR]\n");
        return 2;
    }
    if (args.size() == 2) {
        std::error_code ec;
        std::filesystem::current_path(args[1].toStdString(), ec);
        if (ec) {
            std::fprintf(stderr, "discbrowser: %s: %s\n", qPrintable(args[1]),
                         ec.message().c_str());
            return 2;
        }
    }

    const QString title = platform::ApplicationTitle(args.value(0));
    platform::MessageBoxReporter reporter(title);
    platform::DesktopOpener opener;
    browser::TForm1 Form1(".", reporter, opener);
    // The taskbar shows the window's title: the application title, as the desktop expects.
    Form1.setWindowTitle(title);
    reporter.SetParent(&Form1);
    // The screenshot window made at start stays hidden; each preview click makes its own,
    // which loads the full-size picture of Form1's current item when it is activated and is
    // released once it closes.
    auto Form2 = std::make_unique<viewer::TForm2>();
    Form1.Details().SetScreenshotOpener([&Form1, &reporter] {
        QPointer<viewer::TForm2> screenshot = new viewer::TForm2(
            [&Form1]() -> std::optional<std::filesystem::path> {
                const auto file = Form1.Details().FullPictureFile();
                if (file.empty()) return std::nullopt;
                return file;
            },
            reporter);
        screenshot->ShowModal();
    });
    Form1.show();
    return app.exec();
}
