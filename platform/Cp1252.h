#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The 8-bit code page of the stored text files (Windows-1252, the "ANSI" page of Western Windows systems).
namespace Cp1252 {

QString decode(QByteArrayView bytes);

// The text without its line ends (LF, or CR LF; a lone CR stays), decoded in one pass: lines joined with nothing
// between them.
QString decodeJoiningLines(QByteArrayView bytes);

// Characters the code page cannot hold become '?', as the Windows conversion did.
QByteArray encode(QStringView text);

} // namespace Cp1252
