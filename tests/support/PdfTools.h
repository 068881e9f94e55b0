#pragma once

#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

// Reading printed PDF files back with poppler-utils (pdftotext, pdftoppm).
namespace PdfTools {

// The text of all pages as pdftotext -layout gives it, pages parted by form feeds; empty on failure.
QString text(const QString &pdf);
// A word of a page as pdftotext -bbox finds it, its box in points from the page's top-left.
struct Word
{
    QString text;
    QRectF box;
    int page = 0;
};
QList<Word> words(const QString &pdf);

// Page 1 rendered at the given resolution (a PNG made in the folder), or a null image.
QImage renderFirstPage(const QString &pdf, int dpi, const QString &folder);

}
