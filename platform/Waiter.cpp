#include "platform/Waiter.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cmath>

void EventLoopWaiter::wait(double seconds)
{
    const qint64 total = qint64(std::ceil(seconds * 1000.0));
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    // A nested loop may end early (another handler's loop ends first): wait out the rest.
    for (qint64 left = total - clock.elapsed(); left > 0; left = total - clock.elapsed()) {
        timer.start(int(left));
        const int result = loop.exec();
        timer.stop();
        if (result < 0) // the application is quitting: no loop can run any more
            return;
    }
}
