#include "app/Digibord.h"
#include "app/Main.h"
#include "core/Artwork.h"
#include "core/ProgramFolders.h"
#include "core/ProgramState.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/QtPrinter.h"
#include "platform/QtSound.h"
#include "platform/Random.h"
#include "platform/Scale.h"
#include "platform/Services.h"
#include "platform/Touch.h"
#include "platform/Waiter.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (!Desktop::displayAvailable()) {
        std::fputs("Tuurbord heeft een beeldscherm nodig, maar er is er geen (DISPLAY is leeg).\n"
                   "Start het spel op het bureaublad, of zonder beeldscherm met: xvfb-run ",
                   stderr);
        std::fputs(argv[0], stderr);
        std::fputs("\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tuurbord"));
    QGuiApplication::setDesktopFileName(QStringLiteral("nl.tuurbord.Tuurbord"));
    QGuiApplication::setWindowIcon(Artwork::programIcon());
    QApplication::setStyle(Scale::createStyle());
    Touch::acceptLooseDoubleTaps();
    Desktop::installFontSubstitutes();
    Desktop::loadDutchTranslations(app);

    const QString executableDir = QDir(QCoreApplication::applicationDirPath()).absolutePath();
    const ProgramFolders folders =
        ProgramFolders::locate(executableDir, executableDir + QStringLiteral("/" TUURBORD_DATA_FROM_BIN),
                               QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    ProgramState state(folders.data, folders.resources);
    state.keepsFiles = folders.keepsFiles;
    QtSound sound;
    sound.setFolder(state.soundsDir());
    sound.followSwitch(state.GeluidAan);
    EventLoopWaiter waiter;
    QtDialogs dialogs;
    Random random;
    QtPrinter printer(dialogs);
    Services services{sound, waiter, dialogs, random, printer};

    Main window(state, services);
    dialogs.setParent(&window);
    // Every ending saves first; then no window or nested loop may keep the program going.
    bool ended = false;
    QObject::connect(&window, &Main::ended, &app, [&ended] {
        ended = true;
        QCoreApplication::exit(0);
    });
    window.followProcessEndings();
    window.Form_Load();
    // Ended while a start-up message waited, before the event loop that exit() ends had begun.
    if (ended)
        return 0;
    auto *digibord = new Digibord(window, QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
                                              + QStringLiteral("/weergave"));
    digibord->start(QCoreApplication::arguments().contains(QStringLiteral("--digibord")));
    window.show();

    QTimer::singleShot(0, &window, [&sound] {
        sound.preload({QStringLiteral("start.wav"), QStringLiteral("knop.wav"), QStringLiteral("score.wav"),
                       QStringLiteral("camera.wav"), QStringLiteral("goed.wav"), QStringLiteral("fout.wav")});
    });
    return app.exec();
}
