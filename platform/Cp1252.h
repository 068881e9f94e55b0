#pragma once

#include <QByteArray>
#include <QString>

// The single-byte code page of the program's text files. Every byte decodes to one character
// and encodes back to the same byte; characters the code page lacks are written as '?'.
namespace Cp1252 {
QString decode(const QByteArray &bytes);
QByteArray encode(const QString &text);
}
