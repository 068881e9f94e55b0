#pragma once

#include "app/Main.h"
#include "support/WindowFixture.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>

// The main window on a temporary program folder, with fake services; open() loads it as the
// program does at start-up.
struct MainFixture : WindowFixture<Main>
{
    Main &open() { return WindowFixture::open([](Main &main) { main.Form_Load(); }); }
    QString text(const QString &label) const { return find<QLabel>(label)->text(); }
    QString info() const { return text("InfoLabel"); }
    void hover(const QString &name) const
    {
        QWidget *w = find(name);
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &move);
    }
    void click(const QString &name) const { QTest::mouseClick(find(name), Qt::LeftButton, {}, QPoint(4, 4)); }
    void menu(int entry) const { click(QStringLiteral("KnopText2_%1").arg(entry)); }
    QWidget *box(int n) const { return find(QStringLiteral("Vak_%1").arg(n)); }
};
