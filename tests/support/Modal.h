#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Acts on the next modal window with the given title as soon as it is shown; for windows that
// the code under test opens with exec().
inline void whenModal(const QString &title, std::function<void(QWidget *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(1);
    QObject::connect(timer, &QTimer::timeout, [timer, title, act = std::move(act)] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal->windowTitle() != title || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
}
