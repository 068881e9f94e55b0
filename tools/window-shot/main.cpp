// Saves a picture of one of the program's windows, to compare it with its layout table, at scale 1
// or at a digibord's scale (2.87 for 1920 x 1080, 5.74 for 3840 x 2160).
// Usage, also without a screen:
//   xvfb-run -a window-shot <program folder> <picture.png> [Main|Tools|Fileform|Afdrukken[1-4]] [scale]
#include "app/Main.h"
#include "core/ProgramState.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"
#include "platform/Random.h"
#include "platform/Scale.h"
#include "platform/Services.h"
#include "platform/Sound.h"
#include "platform/Waiter.h"
#include "import/Fileform.h"
#include "printing/Afdrukken.h"
#include "settings/Tools.h"
#include "testing/Fakes.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(Scale::createStyle());
    Desktop::installFontSubstitutes();
    Desktop::loadDutchTranslations(app);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) {
        std::fputs("usage: window-shot <program folder> <picture.png> [Main|Tools|Fileform|Afdrukken[1-4]] [scale]\n", stderr);
        return 2;
    }
    const QString which = args.value(3, QStringLiteral("Tools"));

    ProgramState state(QDir(args[1]).absolutePath());
    RecordingSound sound;
    EventLoopWaiter waiter;
    QtDialogs dialogs;
    Random random;
    RecordingPrinter printer;
    Services services{sound, waiter, dialogs, random, printer};

    Main main(state, services);
    main.Form_Load();
    Scale::setFactor(args.value(4, QStringLiteral("1")).toDouble());
    QWidget *window = &main;
    std::unique_ptr<QWidget> other;
    if (which == QLatin1String("Tools"))
        other = std::make_unique<Tools>(state, services);
    else if (which == QLatin1String("Fileform"))
        other = std::make_unique<Fileform>(state, services);
    else if (which.startsWith(QLatin1String("Afdrukken"))) { // Afdrukken2: with kind 2 chosen
        auto print = std::make_unique<Afdrukken>(state, services);
        if (which.size() > 9)
            print->ScrollBalk_Change(which.mid(9).toInt());
        other = std::move(print);
    }
    if (other)
        window = other.get();
    window->show();
    waiter.wait(0.3);
    if (!window->grab().save(args[2])) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}
