#include "platform/QtPrinter.h"

#include "platform/Dialogs.h"
#include "platform/Files.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>

#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr double twipsPerMillimetre = 1440 / 25.4;

// A PDF file has no hardware margins: its printable area is the whole page.
QPageLayout fallbackLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
}

int printableHeight(const QPageLayout &layout)
{
    // In millimetres: in points, Qt rounds the page to whole points and A4 would grow a twip or two.
    return int(std::lround(layout.paintRect(QPageLayout::Millimeter).height() * twipsPerMillimetre));
}

QPrinterInfo printerFor(const QtPrinter::Destination &destination)
{
    using Kind = QtPrinter::Destination::Kind;
    switch (destination.kind()) {
    case Kind::DefaultPrinter:
        // Ask first: a QPrinter made without any printer quietly turns into a PDF printer
        // without a file, and its painter then fails to begin.
        return QPrinterInfo::defaultPrinter();
    case Kind::Queue:
        return destination.name().isEmpty() ? QPrinterInfo() : QPrinterInfo::printerInfo(destination.name());
    case Kind::PdfFile:
    case Kind::NoPrinter:
        break;
    }
    return QPrinterInfo();
}

void prepare(QPrinter &printer, const QPageLayout &layout)
{
    printer.setDocName(QStringLiteral("Tuurbord"));
    printer.setFullPage(false);
    printer.setColorMode(QPrinter::Color);
    // A printer that cannot take this layout still prints A4 portrait from its printable area.
    if (!printer.setPageLayout(layout)) {
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setPageMargins(printer.pageLayout().minimumMargins());
    }
}

}

QtPrinter::QtPrinter(Dialogs &dialogs, const Destination &destination)
    : RecordingPrinter(printableHeight(fallbackLayout())), m_dialogs(dialogs), m_destination(destination)
{
    // Pictures make documents big; once printed, nobody reads them again.
    keepLastDocumentOnly();
}

QPageLayout QtPrinter::layoutFor(const Destination &destination)
{
    const QPrinterInfo info = printerFor(destination);
    if (info.isNull())
        return fallbackLayout();
    QPrinter probe(info, QPrinter::HighResolution);
    probe.setPageSize(QPageSize(QPageSize::A4));
    probe.setPageOrientation(QPageLayout::Portrait);
    // Qt gives every page a default margin of its own; the printable area is what the printer states.
    QPageLayout layout = probe.pageLayout();
    if (!layout.isValid() || layout.pageSize().id() != QPageSize::A4)
        return fallbackLayout();
    layout.setMargins(layout.minimumMargins());
    return layout;
}

const QPageLayout &QtPrinter::pageLayout() const
{
    if (!m_layout)
        m_layout = layoutFor(m_destination);
    return *m_layout;
}

int QtPrinter::documentPageHeight()
{
    m_layout = layoutFor(m_destination);
    return printableHeight(*m_layout);
}

QString QtPrinter::noPrinterText()
{
    return QStringLiteral("Geen printer aanwezig / of staat niet aan...(");
}

QString QtPrinter::pdfProposal()
{
    return QDir::home().filePath(QStringLiteral("Tuurbord-afdruk.pdf"));
}

bool QtPrinter::output(const std::vector<Item> &items, int pages)
{
    const bool printed = deliver(items, pages);
    m_layout.reset(); // the next document asks the printer again
    return printed;
}

bool QtPrinter::deliver(const std::vector<Item> &items, int pages)
{
    if (m_destination.kind() == Destination::Kind::PdfFile)
        return printToPdf(items, pages, m_destination.name());
    if (printToPrinter(items, pages))
        return true;

    m_dialogs.message(noPrinterText(), QStringLiteral(" Print"), Dialogs::Icon::None, Dialogs::Buttons::Ok);
    QString path = m_dialogs.saveFileName(QStringLiteral(" Afdruk bewaren als PDF"), pdfProposal(),
                                          QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    return printToPdf(items, pages, path);
}

bool QtPrinter::printToPrinter(const std::vector<Item> &items, int pages)
{
    const QPrinterInfo info = printerFor(m_destination);
    if (info.isNull())
        return false;
    QPrinter printer(info, QPrinter::HighResolution);
    if (printer.outputFormat() != QPrinter::NativeFormat)
        return false;
    prepare(printer, pageLayout());
    return paint(printer, items, pages).isEmpty();
}

bool QtPrinter::printToPdf(const std::vector<Item> &items, int pages, const QString &path)
{
    // The printer writes into whatever its file name points at: it prints into a file of our own,
    // which is then written in the place of the chosen name as every file of the program is.
    QTemporaryFile printed(QDir::tempPath() + QStringLiteral("/tuurbord-XXXXXX.pdf"));
    QString error;
    if (printed.open()) {
        printed.close();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed.fileName());
        prepare(printer, fallbackLayout());
        error = paint(printer, items, pages);
    } else {
        error = QStringLiteral("het bestand kan niet worden geschreven");
    }
    if (error.isEmpty()) {
        const auto bytes = Files::read(printed.fileName(), std::numeric_limits<qint64>::max());
        Files::Outcome saved{Files::Outcome::Reason::Other, printed.fileName() + QStringLiteral(": not read back")};
        if (bytes)
            saved = Files::writeAtomically(path, *bytes);
        if (!saved.ok()) {
            qWarning("%s: %s", qPrintable(path), qPrintable(saved.error));
            error = saved.reasonText();
        }
    }
    if (!error.isEmpty())
        setError(error + QStringLiteral(" (") + path + QLatin1Char(')'));
    return error.isEmpty();
}

QString QtPrinter::paint(QPrinter &printer, const std::vector<Item> &items, int pages) const
{
    QPainter painter;
    if (!painter.begin(&printer))
        return QStringLiteral("het bestand kan niet worden geschreven");
    // Fonts take their size from the device's resolution and the painter's scale shrinks them
    // once more, so each size is divided by that scale to come out at its true height.
    const double dotsPerTwip = printer.resolution() / 1440.0;
    painter.scale(dotsPerTwip, dotsPerTwip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    int page = 0;
    bool turned = true; // a page that will not turn would put the rest on the wrong page
    auto turnTo = [&](int target) {
        for (; turned && page < target; ++page)
            turned = printer.newPage();
    };
    // Paper is white: a picture with transparency is laid on white first. Transparency makes the
    // printing system flatten the whole page into a picture, its texts included. Each picture is
    // laid once, so that a picture drawn many times is still sent once.
    QHash<qint64, QImage> flattened;
    auto onPaper = [&flattened](const QImage &image) -> QImage {
        if (!image.hasAlphaChannel())
            return image;
        auto it = flattened.find(image.cacheKey());
        if (it == flattened.end()) {
            QImage white(image.size(), QImage::Format_RGB32);
            white.fill(Qt::white);
            QPainter(&white).drawImage(0, 0, image);
            it = flattened.insert(image.cacheKey(), white);
        }
        return it.value();
    };
    std::optional<Font> current;
    double ascent = 0;
    for (const Item &item : items) {
        if (!turned)
            break;
        if (const auto *text = std::get_if<Text>(&item)) {
            turnTo(text->page);
            if (current != text->font) {
                current = text->font;
                QFont font(text->font.name);
                font.setPointSizeF(text->font.points / dotsPerTwip);
                font.setBold(text->font.bold);
                painter.setFont(font);
                ascent = RecordingPrinter::ascent(text->font);
            }
            painter.setPen(text->color);
            painter.drawText(QPointF(text->at.x(), text->at.y() + ascent), text->text);
        } else if (const auto *picture = std::get_if<Picture>(&item)) {
            turnTo(picture->page);
            painter.drawImage(picture->target, onPaper(picture->picture));
        } else if (const auto *line = std::get_if<Line>(&item)) {
            turnTo(line->page);
            QPen pen(line->color);
            pen.setCosmetic(true);
            painter.setPen(pen);
            painter.drawLine(line->from, line->to);
        }
    }
    turnTo(pages - 1);
    const bool ended = painter.end();
    if (!turned)
        return QStringLiteral("er kon geen nieuwe bladzijde worden begonnen");
    if (!ended || printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        return QStringLiteral("de afdruk kon niet worden afgemaakt");
    return QString();
}
