#include "app/Digibord.h"

#include "platform/Files.h"
#include "platform/Scale.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>

Digibord::Digibord(QWidget &main, QString viewFile)
    : QObject(&main), m_main(main), m_viewFile(std::move(viewFile)), m_ordinary(main.size() / Scale::factor())
{
    // F11 from every window of the program, also while one is open in front of the main window,
    // which would block a shortcut of the main window.
    qApp->installEventFilter(this);
}

bool Digibord::eventFilter(QObject *, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_F11 || key->modifiers() != Qt::NoModifier)
        return false;
    if (!key->isAutoRepeat())
        setOn(!m_on);
    return true;
}

double Digibord::scaleFor(QSize screen) const
{
    return std::min(double(screen.width()) / m_ordinary.width(), double(screen.height()) / m_ordinary.height());
}

void Digibord::start(bool asked)
{
    const std::optional<QByteArray> kept = Files::read(m_viewFile, 64);
    if (asked || (kept && kept->trimmed() == "digibord"))
        setOn(true);
}

void Digibord::setOn(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    if (on) {
        const QRect screen = m_main.screen()->geometry();
        Scale::setFactor(scaleFor(screen.size()));
        m_windowSize = m_main.size();
        m_offset = QPoint((screen.width() - m_windowSize.width()) / 2, (screen.height() - m_windowSize.height()) / 2);
        shiftLayout(m_offset);
        // The window manager takes the title bar away; without one, the window covers the screen itself.
        m_main.setFixedSize(screen.size());
        m_main.move(screen.topLeft());
        m_main.showFullScreen();
    } else {
        shiftLayout(-m_offset);
        m_main.setFixedSize(m_windowSize);
        if (m_main.isVisible())
            m_main.showNormal();
        else
            m_main.setWindowState(Qt::WindowNoState);
        Scale::setFactor(1);
    }
    centreWindows();
    keep();
}

void Digibord::shiftLayout(QPoint by)
{
    const QWidgetList controls = m_main.findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *control : controls)
        if (!control->isWindow())
            control->move(control->pos() + by);
}

void Digibord::centreWindows()
{
    // Each open window over the one it was opened from, those nearer the main window first.
    QWidgetList windows;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window != &m_main && window->isVisible() && window->parentWidget())
            windows << window;
    const auto depth = [](const QWidget *window) {
        int steps = 0;
        for (; window->parentWidget(); window = window->parentWidget()->window())
            ++steps;
        return steps;
    };
    std::sort(windows.begin(), windows.end(), [&](QWidget *a, QWidget *b) { return depth(a) < depth(b); });
    for (QWidget *window : windows) {
        const QRect under = window->parentWidget()->window()->geometry();
        window->move(under.center() - QPoint(window->width() / 2, window->height() / 2));
    }
}

void Digibord::keep() const
{
    // A view that cannot be kept is no reason to trouble anyone: the next start asks again.
    QDir().mkpath(QFileInfo(m_viewFile).absolutePath());
    Files::writeAtomically(m_viewFile, m_on ? QByteArrayLiteral("digibord\n") : QByteArrayLiteral("venster\n"));
}
