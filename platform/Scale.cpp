#include "platform/Scale.h"

#include "platform/Widgets.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QHash>
#include <QLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QPixmapCache>
#include <QPointer>
#include <QProxyStyle>
#include <QRadioButton>
#include <QScreen>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolTip>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <vector>

using namespace Widgets;

namespace Scale {
namespace {
double s_factor = 1.0;

// What a control shows at scale 1, with what it was given at the last change of scale: as long as
// it still shows that, the value at scale 1 is taken again, so that going back and forth never
// drifts by a rounded pixel or point.
const char *const kGeometry = "tuurbord.geometry";
const char *const kPoints = "tuurbord.points";
const char *const kLines = "tuurbord.lines";
// A window's own scale, where it differs from the program's.
const char *const kWindowFactor = "tuurbord.windowFactor";

template<typename AtOne, typename Shown>
AtOne keptAtOne(const QWidget *widget, const char *key, const Shown &now, const AtOne &nowAtOne)
{
    const QVariantList kept = widget->property(key).toList();
    return kept.size() == 2 && kept[1].value<Shown>() == now ? kept[0].value<AtOne>() : nowAtOne;
}

template<typename AtOne, typename Shown>
void keep(QWidget *widget, const char *key, const AtOne &atOne, const Shown &shown)
{
    widget->setProperty(key, QVariantList{QVariant::fromValue(atOne), QVariant::fromValue(shown)});
}

struct Listener
{
    QPointer<QObject> context;
    std::function<void()> callback;
};

std::vector<Listener> &listeners()
{
    static std::vector<Listener> list;
    return list;
}

QHash<qint64, std::function<QImage(QSize)>> &sharpSources()
{
    static auto *sources = new QHash<qint64, std::function<QImage(QSize)>>;
    return *sources;
}

int scaled(double value, double s)
{
    return int(std::lround(value * s));
}

// Edges are rounded, not sizes, so that controls that meet at scale 1 still meet.
QRect scaledRect(const QRectF &unit, double s)
{
    const int left = scaled(unit.left(), s);
    const int top = scaled(unit.top(), s);
    return {left, top, scaled(unit.right(), s) - left, scaled(unit.bottom(), s) - top};
}

QFont withScale(QFont font, double s)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * s);
    else if (font.pixelSize() > 0)
        font.setPixelSize(scaled(font.pixelSize(), s));
    return font;
}

bool fixedSize(const QWidget *widget)
{
    return widget->minimumSize() == widget->maximumSize();
}

// A control the program placed itself by its layout table: it carries its layout name, and
// neither it nor its container is managed by a Qt layout (Qt's own dialogs and the inner parts
// of Qt's controls are). A window of the program has a fixed size or is the main window.
bool placedByProgram(const QWidget *widget)
{
    const QString name = widget->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || widget->layout())
        return false;
    if (widget->isWindow())
        return fixedSize(widget) || !widget->parentWidget();
    const QWidget *parent = widget->parentWidget();
    return parent && !parent->layout();
}

double rescaleFont(QWidget *widget, double from, double to)
{
    // The style sheet engine would keep the font such a control had: it takes its container's.
    if (!widget->styleSheet().isEmpty() && widget->parentWidget()) {
        widget->setFont(widget->parentWidget()->font());
        return 0;
    }
    if (!widget->testAttribute(Qt::WA_SetFont) || widget->font().pointSizeF() <= 0)
        return 0;
    QFont font = widget->font();
    const double atOne = keptAtOne(widget, kPoints, font.pointSizeF(), font.pointSizeF() / from);
    font.setPointSizeF(atOne * to);
    widget->setFont(font);
    return atOne;
}

QPointF rescaleFrame(QFrame *frame, double from, double to)
{
    const QPoint now(frame->lineWidth(), frame->midLineWidth());
    const QPointF atOne = keptAtOne(frame, kLines, now, QPointF(now) / from);
    // A line never vanishes.
    frame->setLineWidth(atOne.x() > 0 ? std::max(1, scaled(atOne.x(), to)) : 0);
    frame->setMidLineWidth(atOne.y() > 0 ? std::max(1, scaled(atOne.y(), to)) : 0);
    return atOne;
}

QRectF rescaleGeometry(QWidget *widget, double from, double to)
{
    // A window keeps its place on the screen; only its size follows the scale.
    const QRect now = widget->isWindow() ? QRect(QPoint(), widget->size()) : widget->geometry();
    const QRectF atOne = keptAtOne(widget, kGeometry, now, QRectF(now.x() / from, now.y() / from, now.width() / from, now.height() / from));
    const QRect target = scaledRect(atOne, to);
    // A window whose size is not its layout's (the digibord's full screen) keeps it.
    if (fixedSize(widget))
        widget->setFixedSize(target.size());
    if (!widget->isWindow())
        widget->setGeometry(target);
    return atOne;
}

// Text does not grow exactly with its font: a label or check box that had room for its text keeps
// room for it, and the texts fitted to their rectangles are fitted again.
void fitTextAgain(QWidget *widget, bool widthByText, bool heightByText)
{
    const QSize needed = widget->sizeHint();
    widget->resize(widthByText ? std::max(widget->width(), needed.width()) : widget->width(),
                   heightByText ? std::max(widget->height(), needed.height()) : widget->height());
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        if (label->property(kShrinks).toBool())
            shrinkToFit(label);
        if (label->property(kFits).toBool())
            fitText(label);
    }
}

void rescale(QWidget *widget, double from, double to)
{
    // A wrapped text has the room its rectangle gives it; a picture is no text.
    const auto *label = qobject_cast<QLabel *>(widget);
    const bool text = (label && !label->wordWrap() && label->pixmap().isNull()) || qobject_cast<QCheckBox *>(widget)
        || qobject_cast<QRadioButton *>(widget);
    const QSize needed = text ? widget->sizeHint() : QSize();
    const bool widthByText = text && !widget->isWindow() && widget->width() >= needed.width();
    const bool heightByText = text && !widget->isWindow() && widget->height() >= needed.height();

    const double points = rescaleFont(widget, from, to);
    auto *frame = qobject_cast<QFrame *>(widget);
    const QPointF lines = frame ? rescaleFrame(frame, from, to) : QPointF();
    const QRectF geometry = rescaleGeometry(widget, from, to);
    if (!widget->isWindow())
        fitTextAgain(widget, widthByText, heightByText);

    if (points > 0)
        keep(widget, kPoints, points, widget->font().pointSizeF());
    if (frame)
        keep(widget, kLines, lines, QPoint(frame->lineWidth(), frame->midLineWidth()));
    keep(widget, kGeometry, geometry, widget->isWindow() ? QRect(QPoint(), widget->size()) : widget->geometry());
}

// Lays a text document out for a screen with more dots to the inch: its sizes in points and
// pixels (the help page's) grow with the scale, as a printer's page would.
class DenserScreen : public QPaintDevice
{
public:
    explicit DenserScreen(double factor) : m_factor(factor) {}
    QPaintEngine *paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        const QScreen *screen = QGuiApplication::primaryScreen();
        const double dpi = (screen ? screen->logicalDotsPerInchY() : 96.0) * m_factor;
        switch (metric) {
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return int(std::lround(dpi));
        case PdmWidth:
        case PdmHeight:
            return 10000;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    double m_factor;
};

QPaintDevice *denserScreen(double factor)
{
    // A handful of scales in a program's life: the board's, and those of windows drawn smaller.
    static std::map<double, std::unique_ptr<DenserScreen>> screens;
    auto &screen = screens[factor];
    if (!screen)
        screen = std::make_unique<DenserScreen>(factor);
    return screen.get();
}

void rescaleDocument(QTextEdit *edit, double to)
{
    QTextDocument *document = edit->document();
    // The denser screen enlarges the document's own default font as well.
    QFont font = edit->font();
    font.setPointSizeF(font.pointSizeF() / to);
    document->documentLayout()->setPaintDevice(to == 1 ? nullptr : denserScreen(to));
    document->setDefaultFont(font);
    document->markContentsDirty(0, document->characterCount());
}

void walk(QWidget *widget, double from, double to)
{
    const bool ours = placedByProgram(widget);
    if (ours)
        rescale(widget, from, to);
    for (QObject *child : widget->children())
        if (auto *control = qobject_cast<QWidget *>(child); control && !control->isWindow())
            walk(control, from, to);
    // After the fonts of its containers, which it takes over.
    if (auto *edit = qobject_cast<QTextEdit *>(widget); ours && edit)
        rescaleDocument(edit, to);
}

QPixmap atSize(const QPixmap &pixmap, QSize device)
{
    const QString key = QStringLiteral("tuurbord-scale:%1:%2x%3").arg(pixmap.cacheKey()).arg(device.width()).arg(device.height());
    QPixmap made;
    if (QPixmapCache::find(key, &made))
        return made;
    const auto source = sharpSources().constFind(pixmap.cacheKey());
    made = QPixmap::fromImage(source != sharpSources().cend()
                                  ? (*source)(device)
                                  : pixmap.toImage().scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    QPixmapCache::insert(key, made);
    return made;
}

class ScaledStyle : public QProxyStyle
{
public:
    ScaledStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        return value <= 0 ? value : scaled(value, factorOf(widget));
    }

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget, QStyleHintReturn *data) const override
    {
        if (hint == SH_RequestSoftwareInputPanel)
            return RSIP_OnMouseClick;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }

    // Fusion sizes the arrows of scroll bars and combo boxes by the dots to the inch of the
    // control's font: they get those of a screen that many times denser.
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const override
    {
        const double factor = factorOf(widget);
        if (factor != 1 && (control == CC_ScrollBar || control == CC_ComboBox)) {
            const QFont font = widget ? widget->font() : QApplication::font();
            if (const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option)) {
                QStyleOptionSlider denserBar(*bar);
                denserBar.fontMetrics = QFontMetrics(font, denserScreen(factor));
                QProxyStyle::drawComplexControl(control, &denserBar, painter, widget);
                return;
            }
            if (const auto *box = qstyleoption_cast<const QStyleOptionComboBox *>(option)) {
                QStyleOptionComboBox denserBox(*box);
                denserBox.fontMetrics = QFontMetrics(font, denserScreen(factor));
                QProxyStyle::drawComplexControl(control, &denserBox, painter, widget);
                return;
            }
        }
        QProxyStyle::drawComplexControl(control, option, painter, widget);
    }

    // An arrow drawn alone, as a style sheet's drop-down draws it, likewise.
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        const double factor = factorOf(widget);
        if (factor != 1 && element >= PE_IndicatorArrowDown && element <= PE_IndicatorArrowUp) {
            QStyleOption denser(*option);
            denser.fontMetrics = QFontMetrics(widget ? widget->font() : QApplication::font(), denserScreen(factor));
            QProxyStyle::drawPrimitive(element, &denser, painter, widget);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    void drawItemPixmap(QPainter *painter, const QRect &rect, int alignment, const QPixmap &pixmap) const override
    {
        const double factor = factorOf(dynamic_cast<const QWidget *>(painter->device()));
        if (factor == 1 || pixmap.isNull()) {
            QProxyStyle::drawItemPixmap(painter, rect, alignment, pixmap);
            return;
        }
        const QSizeF shown = pixmap.deviceIndependentSize() * factor;
        const QSize device = (shown * painter->device()->devicePixelRatio()).toSize();
        const QPixmap drawn = device == pixmap.size() ? pixmap : atSize(pixmap, device);
        const QRect aligned = alignedRect(QGuiApplication::layoutDirection(), Qt::Alignment(alignment), shown.toSize(), rect);
        painter->drawPixmap(QRectF(aligned.topLeft(), shown), drawn, QRectF(drawn.rect()));
    }
};
}

namespace {
// Qt's controls take the style's new measures.
void restyle(const QWidgetList &widgets)
{
    for (QWidget *widget : widgets) {
        QEvent change(QEvent::StyleChange);
        QCoreApplication::sendEvent(widget, &change);
    }
}

void tellListeners()
{
    auto &list = listeners();
    list.erase(std::remove_if(list.begin(), list.end(), [](const Listener &l) { return !l.context; }), list.end());
    for (const Listener &listener : std::vector<Listener>(list))
        if (listener.context)
            listener.callback();
}
}

double factor()
{
    return s_factor;
}

double factorOf(const QWidget *widget)
{
    if (!widget)
        return s_factor;
    const QVariant own = widget->window()->property(kWindowFactor);
    return own.isValid() ? own.toDouble() : s_factor;
}

void setFactor(double factor)
{
    if (factor <= 0 || factor == s_factor)
        return;
    const double from = s_factor;
    s_factor = factor;
    if (!dynamic_cast<ScaledStyle *>(QApplication::style()))
        QApplication::setStyle(createStyle());
    // Qt's own windows (message boxes, input boxes, tooltips) take the application's fonts.
    static const QFont application = QApplication::font();
    static const QFont toolTip = QToolTip::font();
    QApplication::setFont(withScale(application, factor));
    QToolTip::setFont(withScale(toolTip, factor));
    // Room for the pictures of a board of the largest screens.
    if (factor > 1)
        QPixmapCache::setCacheLimit(std::max(QPixmapCache::cacheLimit(), 64 * 1024));

    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        const QVariant own = window->property(kWindowFactor);
        window->setProperty(kWindowFactor, QVariant());
        walk(window, own.isValid() ? own.toDouble() : from, factor);
    }
    restyle(QApplication::allWidgets());
    for (QWidget *window : windows)
        if (window->isVisible() && window->layout())
            window->adjustSize();
    tellListeners();
}

void setWindowFactor(QWidget *window, double factor)
{
    const double from = factorOf(window);
    if (factor <= 0 || factor == from)
        return;
    window->setProperty(kWindowFactor, factor == s_factor ? QVariant() : QVariant(factor));
    walk(window, from, factor);
    restyle(window->findChildren<QWidget *>() << window);
    if (window->isVisible() && window->layout())
        window->adjustSize();
    tellListeners();
}


void onChange(QObject *context, std::function<void()> callback)
{
    listeners().push_back({context, std::move(callback)});
}

void openWithoutTitleBar(QWidget *window)
{
    if (s_factor != 1 && !window->isVisible())
        window->setWindowFlag(Qt::FramelessWindowHint);
}

QPixmap asPainted(QPixmap pixmap, const QWidget *shownIn)
{
    pixmap.setDevicePixelRatio(factorOf(shownIn));
    return pixmap;
}

void setSharpSource(const QPixmap &pixmap, std::function<QImage(QSize)> render)
{
    sharpSources().insert(pixmap.cacheKey(), std::move(render));
}

QStyle *createStyle()
{
    return new ScaledStyle;
}

}
