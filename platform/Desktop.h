#pragma once

#include <functional>

class QCoreApplication;
class QObject;

// Desktop integration that every window relies on.
namespace Desktop {

// Arial, Comic Sans MS and MS Sans Serif are drawn with free fonts of the same measures.
void installFontSubstitutes();

// Qt's own texts (Ja, Nee, Annuleren) in Dutch.
void loadDutchTranslations(QCoreApplication &app);

// True when a window system is at hand (a display, or a platform chosen explicitly).
bool displayAvailable();

// Calls back on the event loop, for as long as context lives, when the process is asked to end
// (SIGTERM, SIGHUP, SIGINT), so that the program can save before it goes.
void onTerminationRequest(QObject *context, std::function<void()> callback);

}
