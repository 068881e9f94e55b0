#include "support/PdfTools.h"

#include "platform/Printer.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>

namespace PdfTools {

namespace {
QByteArray runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(10000)) {
        qWarning("%s could not be started (poppler-utils installed?)", qPrintable(program));
        return {};
    }
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}
}

QString text(const QString &pdf)
{
    return QString::fromUtf8(runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}));
}

QList<Word> words(const QString &pdf)
{
    QList<Word> found;
    const QString html = QString::fromUtf8(runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
    const QRegularExpression word(QStringLiteral(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    int page = -1;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        const QPointF from(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF to(m.captured(3).toDouble(), m.captured(4).toDouble());
        QString text = m.captured(5);
        text.replace(QLatin1String("&amp;"), QLatin1String("&")).replace(QLatin1String("&lt;"), QLatin1String("<"));
        found.append({text, QRectF(from, to), page});
    }
    return found;
}

int pages(const QString &pdf)
{
    const QString info = QString::fromUtf8(runTool(QStringLiteral("pdfinfo"), {pdf}));
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)$"), QRegularExpression::MultilineOption).match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QImage renderFirstPage(const QString &pdf, int dpi, const QString &folder)
{
    const QString stem = QDir(folder).filePath(QStringLiteral("page"));
    runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                                         QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                         QStringLiteral("1"), QStringLiteral("-singlefile"), pdf, stem});
    return QImage(stem + QStringLiteral(".png"));
}

QStringList filesIn(const QString &folder)
{
    QStringList files;
    const QFileInfoList found = QDir(folder).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time);
    for (const QFileInfo &file : found)
        files << file.absoluteFilePath();
    return files;
}

bool inOrder(const QString &haystack, const QStringList &texts, QString *missing)
{
    qsizetype from = 0;
    for (const QString &text : texts) {
        const qsizetype at = haystack.indexOf(text, from);
        if (at < 0) {
            *missing = text;
            return false;
        }
        from = at + text.size();
    }
    return true;
}

QImage solid(const QColor &color, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

void printSample(Printer &printer, const QString &mark)
{
    printer.setFontBold(true);
    printer.setFontSize(14);
    printer.setTextColor(QColor(192, 0, 0));
    printer.printLine();
    printer.printLine(QStringLiteral("   Score-lijst ") + mark);
    printer.setY(1200);
    printer.setFontSize(12);
    printer.setFontBold(false);
    printer.setTextColor(QColor(60, 60, 60));
    printer.setX(300);
    printer.printLine(QStringLiteral("Op de 1e plaats staat... jan met") + Printer::number(42) + QStringLiteral("punten."));
    printer.setX(300);
    printer.printLine(QStringLiteral("Op de 2e plaats staat... piet met") + Printer::number(35) + QStringLiteral("punten."));
    printer.drawPicture(solid(QColor(0, 0, 255)), QRect(5760, 4320, 2880, 1440));
    printer.drawLine(QPoint(300, 4000), QPoint(9000, 4000), QColor(0, 160, 0));
}

QStringList sampleTexts()
{
    return {QStringLiteral("Score-lijst"), QStringLiteral("Op de 1e plaats staat... jan met 42 punten."),
            QStringLiteral("Op de 2e plaats staat... piet met 35 punten.")};
}

}
