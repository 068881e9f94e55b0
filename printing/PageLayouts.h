#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>

class Printer;

// The four printouts of the print window, each laid out on the printer in twips on a portrait A4
// page. They only draw: the caller ends the document.
namespace PageLayouts {

// Four black lines: (x1, y1)-(x2, y1), (x2, y1)-(x2, y2), (x2, y2)-(x1, y2), (x1, y2)-(x1, y1).
void Kader(Printer &printer, int x1, int y1, int x2, int y2);

// All pictures of a subject, five to a row, eight rows to a page, each captioned with its name
// without the extension in lower case. load gives the picture of a file name; a null picture
// leaves its place empty with the name under it.
void contactSheet(Printer &printer, const QString &onderwerp, const QStringList &files,
                  const std::function<QImage(const QString &)> &load);

// Two Christmas cards one above the other, each with the picture and its decoration.
void christmasCards(Printer &printer, const QImage &picture, const QImage &blue, const QImage &red);

// 45 seal stamps: the frame, the picture, "€ " + value at the top and the text at the foot.
void stamps(Printer &printer, const QImage &picture, const QImage &frame, const QString &text,
            const QString &value, bool blackText);

// The year in large figures, the picture, and the twelve months with their day numbers.
void Jaarkalender(Printer &printer, int year, const QImage &picture);

// The calendar's rules for any year 1..9999 of the Gregorian calendar.
bool isLeapYear(int year);
// The weekday of 1 January: Sunday 0, Monday 1, ..., Saturday 6.
int firstWeekday(int year);

}
