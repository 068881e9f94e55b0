#include "platform/Printer.h"

#include "platform/Dialogs.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>

#include <cmath>

bool Printer::endAndReport(Dialogs &dialogs)
{
    if (endDocument())
        return true;
    if (!error().isEmpty())
        dialogs.message(QStringLiteral("Het afdrukken is mislukt: ") + error(), QStringLiteral(" Print"),
                        Dialogs::Icon::Stop, Dialogs::Buttons::Ok);
    return false;
}

QString Printer::number(qint64 value)
{
    return (value < 0 ? QString() : QStringLiteral(" ")) + QString::number(value) + QLatin1Char(' ');
}

LaidOutPrinter::LaidOutPrinter(int pageHeight) : m_pageHeight(pageHeight)
{
}

namespace {
// Fonts are measured on a device of 1440 dots per inch, so one dot is one twip and the layout
// does not depend on the screen or the printer's resolution.
QFontMetricsF twipMetrics(const LaidOutPrinter::Font &font)
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(56693); // 1440 dpi
        image.setDotsPerMeterY(56693);
        return image;
    }();
    QFont f(font.name);
    f.setPointSizeF(font.points);
    f.setBold(font.bold);
    return QFontMetricsF(f, &device);
}
}

int LaidOutPrinter::lineHeight(const Font &font)
{
    return int(std::lround(twipMetrics(font).lineSpacing()));
}

double LaidOutPrinter::ascent(const Font &font)
{
    return twipMetrics(font).ascent();
}

void LaidOutPrinter::printLine(const QString &text)
{
    if (m_documentHeight < 0)
        m_documentHeight = documentPageHeight();
    const int height = lineHeight(m_font);
    if (!m_placed && m_y + height > m_documentHeight && m_y > 0) {
        ++m_page;
        m_y = 0;
    }
    if (!text.isEmpty())
        m_items.push_back(Text{m_page, QPoint(m_x, m_y), m_font, m_color, text});
    m_placed = false;
    m_x = 0;
    m_y += height;
}

void LaidOutPrinter::drawPicture(const QImage &picture, const QRect &target)
{
    m_items.push_back(Picture{m_page, target, picture});
}

void LaidOutPrinter::drawLine(const QPoint &from, const QPoint &to, const QColor &color)
{
    m_items.push_back(Line{m_page, from, to, color});
}

void LaidOutPrinter::newPage()
{
    ++m_page;
    m_x = 0;
    m_y = 0;
    m_placed = false;
}

bool LaidOutPrinter::endDocument()
{
    const int pages = m_page + 1;
    m_error.clear();
    if (m_keepLastOnly)
        m_documents.clear();
    m_documents.push_back(std::move(m_items));
    resetDocument();
    return output(m_documents.back(), pages);
}

void LaidOutPrinter::resetDocument()
{
    m_documentHeight = -1;
    m_items.clear();
    m_font = Font{};
    m_color = Qt::black;
    m_x = 0;
    m_y = 0;
    m_placed = false;
    m_page = 0;
}

std::vector<LaidOutPrinter::Text> LaidOutPrinter::texts(int document) const
{
    std::vector<Text> result;
    if (m_documents.empty())
        return result;
    const auto &items = m_documents.at(document < 0 ? m_documents.size() - 1 : size_t(document));
    for (const Item &item : items)
        if (const auto *text = std::get_if<Text>(&item))
            result.push_back(*text);
    return result;
}
