#include "platform/Dialogs.h"

#include "platform/Scale.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QScreen>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {
// The lines a text breaks into in a font at a width, as a label wraps it.
QStringList wrapped(const QString &text, const QFont &font, double width)
{
    QStringList lines;
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
        if (paragraph.isEmpty())
            lines << QString();
    }
    return lines;
}

// Qt wraps a message box's text at a width in the screen's pixels, whatever the size of its
// letters: at a larger scale the text would break into more, shorter lines than in the ordinary
// view. This box breaks it where the ordinary box does, and is that box at the scale.
class ScaledMessageBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent *event) override
    {
        m_text = text();
        QMessageBox::showEvent(event);
        wrapAtTheScale();
    }

    // Qt sizes the box again at every change of its layout, as after a change of scale.
    bool event(QEvent *event) override
    {
        const bool done = QMessageBox::event(event);
        if (event->type() == QEvent::LayoutRequest && isVisible())
            wrapAtTheScale();
        return done;
    }

private:
    void wrapAtTheScale()
    {
        auto *label = findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        if (!label || !layout())
            return;
        const double scale = Scale::factorOf(this);
        if (scale == 1) {
            // Back in the ordinary view, Qt's own wrapping.
            if (label->text() != m_text)
                setText(m_text);
            return;
        }
        const QSize screen = this->screen()->availableGeometry().size();
        // Qt's limit for the ordinary box: half the screen, at most 500 pixels.
        const int limit = std::min(screen.width() / 2, 500);
        const auto needed = [this] {
            layout()->activate();
            return layout()->totalMinimumSize().width();
        };
        label->setWordWrap(false);
        label->setText(m_text);
        int width = needed();
        if (width > limit * scale) {
            QFont ordinary = label->font();
            ordinary.setPointSizeF(ordinary.pointSizeF() / scale);
            // Around the text: the margins and the icon, at the scale, and Qt's indent, in pixels.
            int indent = 0;
            for (int i = 0; i < layout()->count(); ++i)
                if (QSpacerItem *spacer = layout()->itemAt(i)->spacerItem())
                    indent = std::max(indent, spacer->sizeHint().width());
            const double around = (needed() - label->sizeHint().width() - indent) / scale + indent;
            label->setText(wrapped(m_text, ordinary, limit - around).join(QLatin1Char('\n')));
            width = std::max(int(std::lround(limit * scale)), needed());
        }
        width = std::min(width, screen.width());
        const int height = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width) : layout()->totalMinimumSize().height();
        // Over the middle of the window it belongs to, as Qt places it.
        const QWidget *over = parentWidget() ? parentWidget()->window() : nullptr;
        const QPoint centre = over ? over->geometry().center() : geometry().center();
        setFixedSize(width, height);
        move(centre - QPoint(width / 2, height / 2));
        // What these changes asked for is done.
        QCoreApplication::removePostedEvents(this, QEvent::LayoutRequest);
    }

    QString m_text;
};
}

QWidget *QtDialogs::parentWidget() const
{
    if (QWidget *active = QApplication::activeModalWidget())
        return active;
    return m_parent;
}

Dialogs::Answer QtDialogs::message(const QString &text, const QString &title, Icon icon, Buttons buttons)
{
    ScaledMessageBox box(icon == Icon::Stop ? QMessageBox::Critical : QMessageBox::NoIcon, title, text,
                    QMessageBox::NoButton, parentWidget());
    Scale::openWithoutTitleBar(&box);
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int result = box.exec();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

QString QtDialogs::input(const QString &prompt, const QString &title)
{
    QInputDialog dialog(parentWidget());
    Scale::openWithoutTitleBar(&dialog);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(QString());
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.textValue();
}

QString QtDialogs::saveFileName(const QString &title, const QString &proposal, const QString &filter)
{
    return QFileDialog::getSaveFileName(parentWidget(), title, proposal, filter);
}
