#include "app/Digibord.h"

#include "platform/Files.h"
#include "platform/Scale.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {
// Room above a window for the title bar a window manager gives it.
constexpr int kTitleBar = 40;

bool fixedSize(const QWidget *window)
{
    return window->minimumSize() == window->maximumSize();
}
}

Digibord::Digibord(QWidget &main, QString viewFile)
    : QObject(&main), m_main(main), m_viewFile(std::move(viewFile)), m_ordinary(main.size() / Scale::factor())
{
    // F11 from every window of the program, also while one is open in front of the main window,
    // which would block a shortcut of the main window; and every window that opens or closes.
    qApp->installEventFilter(this);
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
    // The window the user is in stays in front and keeps the keys, whatever the main window does.
    const QPointer<QWidget> active = QApplication::activeWindow();
    if (on) {
        // Where the ordinary window stood, to stand there again.
        if (m_main.isVisible())
            m_place = m_main.geometry().topLeft();
        // The window's size now follows the screen, not the scale.
        m_main.setMinimumSize(0, 0);
        m_main.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        layOut(scaleFor(m_main.screen()->geometry().size()));
        // Without a window manager the window covers the screen itself; with one, it takes the
        // title bar away. A geometry set after the request would end the full screen again.
        m_main.setGeometry(m_main.screen()->geometry());
        m_main.showFullScreen();
        centreWindows();
    } else {
        layOut(1);
        if (m_main.isVisible())
            m_main.showNormal();
        else
            m_main.setWindowState(Qt::WindowNoState);
        m_main.setFixedSize(m_ordinary);
        // Where it stood before, or, started on the digibord, in the middle of the screen.
        const QRect screen = m_main.screen()->availableGeometry();
        // The window's own area, not its frame: the frame may not be back yet.
        m_main.setGeometry(QRect(m_place.value_or(screen.center() - QPoint(m_ordinary.width() / 2, m_ordinary.height() / 2)), m_ordinary));
        centreWindows();
    }
    if (active && active != &m_main) {
        active->raise();
        active->activateWindow();
    }
    keep();
}

void Digibord::fitWindow(QWidget *window) const
{
    // The score list and the import window are taller than the main window: such a window alone is
    // drawn at the scale at which it fits the screen, and the board behind it stays as it is.
    const QSize screen = m_main.screen()->geometry().size();
    const double own = Scale::factorOf(window);
    const QSizeF atOne(qRound(window->width() / own), qRound(window->height() / own));
    const int titleBar = window->windowFlags() & Qt::FramelessWindowHint ? 0 : kTitleBar;
    Scale::setWindowFactor(window, std::min({Scale::factor(), screen.width() / atOne.width(),
                                             (screen.height() - titleBar) / atOne.height()}));
}

void Digibord::layOut(double scale)
{
    // The layout goes back to the window's corner, where the scale finds it, and then to the middle.
    shiftLayout(-m_offset);
    m_offset = QPoint();
    Scale::setFactor(scale);
    if (m_on) {
        const QSize screen = m_main.screen()->geometry().size();
        const QSize layout = (QSizeF(m_ordinary) * scale).toSize();
        m_offset = QPoint((screen.width() - layout.width()) / 2, (screen.height() - layout.height()) / 2);
        shiftLayout(m_offset);
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window != &m_main && window->isVisible() && fixedSize(window))
                fitWindow(window);
    }
}

bool Digibord::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_F11 || key->modifiers() != Qt::NoModifier)
            return false;
        if (!key->isAutoRepeat())
            setOn(!m_on);
        return true;
    }
    if (m_on && event->type() == QEvent::Show) {
        auto *window = qobject_cast<QWidget *>(watched);
        if (window && window->isWindow() && window != &m_main && fixedSize(window)) {
            fitWindow(window);
            centreWindows();
        }
    }
    return false;
}

void Digibord::shiftLayout(QPoint by)
{
    if (by.isNull())
        return;
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
        const QWidget *parent = window->parentWidget()->window();
        // A window manager may not have made the main window full-screen yet.
        const QRect under = m_on && parent == &m_main ? m_main.screen()->geometry() : parent->geometry();
        window->move(under.center() - QPoint(window->width() / 2, window->height() / 2));
    }
}

void Digibord::keep() const
{
    // A view that cannot be kept is no reason to trouble anyone: the next start asks again.
    QDir().mkpath(QFileInfo(m_viewFile).absolutePath());
    Files::writeAtomically(m_viewFile, m_on ? QByteArrayLiteral("digibord\n") : QByteArrayLiteral("venster\n"));
}
