#include "platform/Desktop.h"

#include <QCoreApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QSocketNotifier>
#include <QTranslator>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace Desktop {

void installFontSubstitutes()
{
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

void loadDutchTranslations(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Dutch, QLocale::Netherlands), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
}

bool displayAvailable()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

namespace {
// The signal handler may only write a byte; the event loop reads it and calls back.
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[0], &byte, 1);
}

QSocketNotifier *signalNotifier()
{
    static QSocketNotifier *notifier = [] () -> QSocketNotifier * {
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
            return nullptr;
        auto *n = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, QCoreApplication::instance());
        QObject::connect(n, &QSocketNotifier::activated, n, [] {
            char byte;
            [[maybe_unused]] const auto got = ::read(signalPipe[1], &byte, 1);
        });
        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (int sig : {SIGTERM, SIGHUP, SIGINT})
            sigaction(sig, &action, nullptr);
        return n;
    }();
    return notifier;
}
}

void onTerminationRequest(QObject *context, std::function<void()> callback)
{
    if (QSocketNotifier *notifier = signalNotifier())
        QObject::connect(notifier, &QSocketNotifier::activated, context, std::move(callback));
}

}
