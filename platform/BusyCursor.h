#pragma once

#include <QCloseEvent>
#include <QGuiApplication>
#include <QWidget>

#include <utility>

// The hourglass for as long as the guard lives; restored on every way out.
class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

// A window at work puts off being closed until the work is done, and then closes.
class BusyWindow
{
public:
    explicit BusyWindow(QWidget &window) : m_window(window) {}
    bool busy() const { return m_depth > 0; }
    // For the window's closeEvent: while it is busy the event is ignored and the close remembered.
    void closeEvent(QCloseEvent &event)
    {
        m_closeWhenDone = busy();
        event.setAccepted(!busy());
    }

    // The window is busy while one lives; when the outermost one ends, a close put off is done.
    class Work
    {
    public:
        explicit Work(BusyWindow &window) : m_owner(window) { ++m_owner.m_depth; }
        ~Work()
        {
            if (--m_owner.m_depth == 0 && std::exchange(m_owner.m_closeWhenDone, false))
                m_owner.m_window.close();
        }
        Work(const Work &) = delete;
        Work &operator=(const Work &) = delete;

    private:
        BusyWindow &m_owner;
    };

private:
    QWidget &m_window;
    int m_depth = 0;
    bool m_closeWhenDone = false;
};
