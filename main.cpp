#include "game/Main.h"
#include "game/ProgramState.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/QtPrinter.h"
#include "platform/QtSound.h"
#include "platform/Random.h"
#include "platform/Services.h"
#include "platform/Waiter.h"

#include <QApplication>
#include <QDir>
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
    QApplication::setStyle(QStringLiteral("Fusion"));
    Desktop::installFontSubstitutes();
    Desktop::loadDutchTranslations(app);

    ProgramState state(QDir(QCoreApplication::applicationDirPath()).absolutePath());
    QtSound sound;
    EventLoopWaiter waiter;
    QtDialogs dialogs;
    Random random;
    QtPrinter printer(dialogs);
    Services services{sound, waiter, dialogs, random, printer};

    Main window(state, services);
    dialogs.setParent(&window);
    // Asked to end (log-out, shutdown, kill): save as "Stoppen" does.
    Desktop::onTerminationRequest([&window] {
        window.close(); // saves
        QCoreApplication::quit();
    });
    window.Form_Load();
    window.show();

    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, [&window] { window.saveFiles(); });
    QTimer::singleShot(0, &window, [&sound, &state] {
        QStringList paths;
        for (const char *file : {"start.wav", "knop.wav", "score.wav", "camera.wav", "goed.wav", "fout.wav"})
            paths << state.soundPath(QString::fromLatin1(file));
        sound.preload(paths);
    });
    return app.exec();
}
