#include "TextFile.h"

#include "Cp1252.h"
#include "FileError.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <optional>

namespace {

std::optional<QFile::Permissions> creationPermissions(TextFile::Access access) {
    if (access == TextFile::Access::OwnerOnly)
        return QFile::ReadOwner | QFile::WriteOwner;
    return std::nullopt;
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

[[noreturn]] void fail(const QString& what, const QString& path, const QString& why) {
    throw FileError(QStringLiteral("%1 «%2»: %3.").arg(what, shown(path), why));
}

bool openFile(QFile& file, QIODevice::OpenMode mode, TextFile::Access access) {
    if (const auto permissions = creationPermissions(access))
        return file.open(mode, *permissions);
    return file.open(mode);
}

QByteArray lineBytes(const QString& line) {
    return Cp1252::encode(line) + "\r\n";
}

} // namespace

namespace TextFile {

QStringList splitLines(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast(); // the end of the last line, or an empty text
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

QStringList readLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("Impossibile aprire il file"), path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        fail(QStringLiteral("Impossibile leggere il file"), path, file.errorString());
    return splitLines(Cp1252::decode(bytes));
}

QStringList readLinesCreatingIfMissing(const QString& path, Access access) {
    if (!QFile::exists(path)) {
        QFile file(path);
        if (!openFile(file, QIODevice::WriteOnly | QIODevice::NewOnly, access))
            fail(QStringLiteral("Impossibile creare il file"), path, file.errorString());
    }
    return readLines(path);
}

void appendLine(const QString& path, const QString& line, Access access) {
    QFile file(path);
    if (!openFile(file, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered, access))
        fail(QStringLiteral("Impossibile aprire il file"), path, file.errorString());
    const QByteArray bytes = lineBytes(line);
    if (file.write(bytes) != bytes.size())
        fail(QStringLiteral("Impossibile scrivere il file"), path, file.errorString());
}

void replaceWithLine(const QString& path, const QString& line, Access access) {
    // Unbuffered, so that a short write (a full disk) is seen here: a buffered one can be lost inside commit().
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail(QStringLiteral("Impossibile scrivere il file"), path, file.errorString());
    if (const auto permissions = creationPermissions(access))
        file.setPermissions(*permissions);
    const QByteArray bytes = lineBytes(line);
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        fail(QStringLiteral("Impossibile scrivere il file"), path, why);
    }
    if (!file.commit())
        fail(QStringLiteral("Impossibile scrivere il file"), path, file.errorString());
}

} // namespace TextFile
