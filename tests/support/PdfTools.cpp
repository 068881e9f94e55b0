#include "support/PdfTools.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>

namespace PdfTools {

namespace {
QString runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        qWarning("%s could not be started (poppler-utils installed?)", qPrintable(program));
    else if (process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return QString::fromUtf8(process.readAllStandardOutput());
    return {};
}
}

QString text(const QString &pdf)
{
    return runTool("pdftotext", {"-layout", pdf, "-"});
}

QList<Word> words(const QString &pdf)
{
    QList<Word> found;
    const QRegularExpression word(R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    int page = -1;
    for (auto it = word.globalMatch(runTool("pdftotext", {"-bbox", pdf, "-"})); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const auto at = [&](int x, int y) { return QPointF(m.captured(x).toDouble(), m.captured(y).toDouble()); };
        if (m.captured(0).startsWith("<page"))
            ++page;
        else
            found.append({m.captured(5).replace("&lt;", "<").replace("&amp;", "&"), QRectF(at(1, 2), at(3, 4)), page});
    }
    return found;
}

QImage renderFirstPage(const QString &pdf, int dpi, const QString &folder)
{
    const QString stem = QDir(folder).filePath("page");
    runTool("pdftoppm", {"-r", QString::number(dpi), "-png", "-f", "1", "-l", "1", "-singlefile", pdf, stem});
    return QImage(stem + ".png");
}

}
