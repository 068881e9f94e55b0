#include "platform/Widgets.h"

#include "platform/Files.h"
#include "platform/Scale.h"

#include <algorithm>
#include <cmath>

#include <QDialog>
#include <QEvent>
#include <QFileInfo>
#include <QHash>
#include <QFrame>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextBlock>
#include <QTextDocument>
#include <QPushButton>
#include <QMouseEvent>
#include <QWidget>

namespace Widgets {

namespace {
int twipsAt(double scale, int value)
{
    return scale == 1 ? value / 15 : int(std::lround(value * scale / 15));
}

QRect twipsRectAt(double scale, int left, int top, int width, int height)
{
    const int x = twipsAt(scale, left);
    const int y = twipsAt(scale, top);
    return {x, y, twipsAt(scale, left + width) - x, twipsAt(scale, top + height) - y};
}
}

int twips(int value)
{
    return twipsAt(Scale::factor(), value);
}

QRect twipsRect(int left, int top, int width, int height)
{
    return twipsRectAt(Scale::factor(), left, top, width, height);
}

// A control is placed at the scale of its window, which may be drawn smaller than the others.
void place(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(twipsRectAt(Scale::factorOf(widget), left, top, width, height));
}

void placeAt(QWidget *widget, int left, int top)
{
    const double scale = Scale::factorOf(widget);
    widget->adjustSize();
    // The style draws a label's picture at the scale; the label's own size hint knows only the picture.
    if (auto *label = qobject_cast<QLabel *>(widget); label && !label->pixmap().isNull() && scale != 1) {
        const int frame = 2 * label->frameWidth();
        label->resize((label->pixmap().deviceIndependentSize() * scale).toSize() + QSize(frame, frame));
    }
    widget->move(twipsAt(scale, left), twipsAt(scale, top));
}

void placeRow(QWidget *widget, const Placement &row)
{
    if (row.width > 0 && row.height > 0) {
        place(widget, row.left, row.top, row.width, row.height);
        return;
    }
    placeAt(widget, row.left, row.top);
    const double scale = Scale::factorOf(widget);
    if (row.width > 0)
        widget->resize(twipsAt(scale, row.width), widget->height());
    if (row.height > 0)
        widget->resize(widget->width(), twipsAt(scale, row.height));
}

void placeAll(QWidget *window, std::span<const Placement> table)
{
    for (const Placement &row : table) {
        QWidget *widget = window->findChild<QWidget *>(QString::fromLatin1(row.name));
        if (!widget) // a misspelled name in a layout table, in every build
            qFatal("placeAll: no control named %s", row.name);
        placeRow(widget, row);
    }
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
        // Only a real move counts: a window that opens under a resting pointer changes nothing. A
        // finger's touch comes as a move there and a press.
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

}

void ClickLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT pressed();
    QLabel::mousePressEvent(event);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        Q_EMIT released();
        if (rect().contains(event->position().toPoint()))
            Q_EMIT clicked();
    }
    QLabel::mouseReleaseEvent(event);
}

namespace {
// The pictures on a page by their full address, with the size the page gives them (none: 0 x 0).
QHash<QUrl, QSizeF> picturesOn(const QTextDocument &page)
{
    QHash<QUrl, QSizeF> pictures;
    for (QTextBlock block = page.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (const QTextImageFormat image = it.fragment().charFormat().toImageFormat(); image.isValid())
                pictures.insert(page.baseUrl().resolved(QUrl(image.name())), QSizeF(image.width(), image.height()));
    return pictures;
}
}

PageBrowser::PageBrowser(QWidget *parent) : QTextBrowser(parent)
{
    // The pictures drawn for the last scale are drawn again for the new one.
    Scale::onChange(this, [this] {
        QTextDocument *page = document();
        const QHash<QUrl, QSizeF> pictures = picturesOn(*page);
        for (auto it = pictures.cbegin(); it != pictures.cend(); ++it)
            if (const QImage sharp = fromVectorSource(it.key(), *it); !sharp.isNull())
                page->addResource(QTextDocument::ImageResource, it.key(), sharp);
        page->markContentsDirty(0, page->characterCount());
    });
}

QVariant PageBrowser::loadResource(int type, const QUrl &name)
{
    // Empty bytes, not an empty answer: for that the document would open the file itself.
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.isLocalFile() && !Files::isRegularFile(url.toLocalFile()))
        return QByteArray();
    if (type == QTextDocument::ImageResource)
        if (const QImage sharp = fromVectorSource(url, picturesOn(*document()).value(url)); !sharp.isNull())
            return sharp;
    return QTextBrowser::loadResource(type, name);
}

QImage PageBrowser::fromVectorSource(const QUrl &url, QSizeF shown) const
{
    if (!url.isLocalFile())
        return {};
    const QFileInfo picture(url.toLocalFile());
    const QString vector = picture.path() + QLatin1Char('/') + picture.completeBaseName() + QStringLiteral(".svg");
    if (!Files::isRegularFile(vector))
        return {};
    const std::optional<QByteArray> drawing = Files::read(vector, 1 << 20);
    QSvgRenderer renderer(drawing.value_or(QByteArray()));
    if (!renderer.isValid())
        return {};
    // The size the page gives it, else the drawing's own, at the scale.
    if (shown.width() <= 0 || shown.height() <= 0)
        shown = renderer.defaultSize();
    QImage sharp((shown * Scale::factorOf(this)).toSize(), QImage::Format_ARGB32_Premultiplied);
    sharp.fill(Qt::transparent);
    QPainter painter(&sharp);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    return sharp;
}

namespace Widgets {

void fitText(QLabel *label)
{
    label->setProperty(kFits, true);
    const QWidget *room = label->parentWidget();
    if (label->wordWrap()) {
        const int needed = label->heightForWidth(label->width());
        if (needed > label->height())
            label->resize(label->width(), std::min(needed, room->height() - label->y()));
    } else {
        const int needed = label->sizeHint().width();
        if (needed > label->width())
            label->resize(std::min(needed, room->width() - label->x()), label->height());
    }
}

void shrinkToFit(QLabel *label)
{
    label->setProperty(kShrinks, true);
    QFont font = label->font();
    while (label->heightForWidth(label->width()) > label->height() && font.pointSizeF() > 6) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
        label->setFont(font);
    }
}

void useWindowFont(QWidget *window)
{
    window->setFont(makeFont("MS Sans Serif", 8));
}

void setUpWindow(QWidget *window, const char *name, const QString &title, int outerWidth, int outerHeight)
{
    window->setObjectName(QString::fromLatin1(name));
    window->setWindowTitle(title);
    window->setFixedSize(twips(outerWidth - 8 * 15), twips(outerHeight - 30 * 15));
    if (auto *dialog = qobject_cast<QDialog *>(window)) {
        dialog->setModal(true);
        Scale::openWithoutTitleBar(dialog);
    }
    useWindowFont(window);
}

QFrame *makeFrame(QWidget *parent, const char *name)
{
    auto *frame = make<QFrame>(parent, name);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setLineWidth(twips(15));
    return frame;
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *label = make<QLabel>(parent, name);
    label->setText(text);
    return label;
}

QLabel *blackBorder(QWidget *parent, const char *name)
{
    auto *label = make<QLabel>(parent, name);
    setBackground(label, 0, 0, 0);
    return label;
}

QPushButton *makeButton(QWidget *parent, const char *name, const char *text)
{
    auto *button = make<QPushButton>(parent, name);
    button->setText(QString::fromUtf8(text));
    button->setAutoDefault(false);
    return button;
}

QFont makeFont(const char *family, qreal points, bool bold)
{
    QFont font(QString::fromLatin1(family));
    font.setPointSizeF(points * Scale::factor());
    font.setBold(bold);
    return font;
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

}
