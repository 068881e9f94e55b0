#include "platform/Widgets.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

void place(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(twips(left), twips(top), twips(width), twips(height));
}

void placeAt(QWidget *widget, int left, int top)
{
    widget->adjustSize();
    widget->move(twips(left), twips(top));
}

namespace {
class HoverFilter : public QObject
{
public:
    HoverFilter(QWidget *widget, std::function<void()> callback)
        : QObject(widget), m_widget(widget), m_callback(std::move(callback))
    {
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_widget)
            return false;
        // Only a real move counts: a window that opens under a resting pointer changes nothing.
        if (event->type() == QEvent::MouseMove) {
            // Moves over a child that ignores them arrive here too: they are not ours.
            const auto *move = static_cast<QMouseEvent *>(event);
            if (!m_widget->childAt(move->position().toPoint()))
                m_callback();
        }
        return false;
    }

private:
    QWidget *m_widget;
    std::function<void()> m_callback;
};
}

void onHover(QWidget *widget, std::function<void()> callback)
{
    widget->setMouseTracking(true);
    widget->installEventFilter(new HoverFilter(widget, std::move(callback)));
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    QLabel::mouseReleaseEvent(event);
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
    QLabel::mouseDoubleClickEvent(event);
}

void useWindowFont(QWidget *window)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8);
    window->setFont(font);
}

void setTextColor(QWidget *widget, int r, int g, int b)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Active, QPalette::WindowText, QColor(r, g, b));
    palette.setColor(QPalette::Inactive, QPalette::WindowText, QColor(r, g, b));
    widget->setPalette(palette);
}

void setBackground(QWidget *widget, int r, int g, int b)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, QColor(r, g, b));
    palette.setColor(QPalette::Base, QColor(r, g, b));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}
