#pragma once

#include <QApplication>
#include <QListWidget>
#include <QTest>
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

// Press, release, double-click, release: the order a real double-click arrives in (QTest's
// double-click alone sends no press before it, and an item view wants one).
inline void doubleClickEntry(QListWidget *list, const QString &text)
{
    QListWidgetItem *item = list->findItems(text, Qt::MatchExactly).value(0);
    QVERIFY(item);
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
}
