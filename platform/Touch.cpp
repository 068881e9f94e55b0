#include "platform/Touch.h"

#include "platform/Widgets.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QStyleHints>
#include <QWidget>

using namespace Widgets;

namespace Touch {
namespace {
class LooseDoubleTaps : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::MouseButtonPress)
            return false;
        auto *press = static_cast<QMouseEvent *>(event);
        auto *widget = qobject_cast<QWidget *>(watched);
        // A press a control ignores goes on to its container: it is the same tap.
        if (!widget || press->button() != Qt::LeftButton || press->timestamp() == m_stamp
            || press->pointingDevice()->type() != QInputDevice::DeviceType::TouchScreen)
            return false;
        const QStyleHints *hints = QGuiApplication::styleHints();
        const qreal apart = (press->globalPosition() - m_at).manhattanLength();
        const bool second = widget == m_widget && press->timestamp() - m_stamp <= ulong(hints->mouseDoubleClickInterval());
        m_widget = widget;
        m_stamp = press->timestamp();
        m_at = press->globalPosition();
        // Nearer together, Qt makes the double click itself.
        if (second && apart > hints->touchDoubleTapDistance() && apart <= twips(240)) {
            m_widget = nullptr; // a third tap begins anew
            QCoreApplication::postEvent(widget, new QMouseEvent(QEvent::MouseButtonDblClick, press->position(),
                                                                press->scenePosition(), press->globalPosition(),
                                                                Qt::LeftButton, Qt::LeftButton, press->modifiers(),
                                                                press->pointingDevice()));
        }
        return false;
    }

private:
    QPointer<QWidget> m_widget;
    ulong m_stamp = 0;
    QPointF m_at;
};
}

void acceptLooseDoubleTaps()
{
    qApp->installEventFilter(new LooseDoubleTaps(qApp));
}

}
