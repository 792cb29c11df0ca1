#include "TextFile.h"

#include "Cp1252.h"
#include "FailureReason.h"
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

// Fails with the reason of the call that just failed on the file; its code is read before anything else runs.
[[noreturn]] void failOn(const QString& what, const QFileDevice& file) {
    const int code = lastSystemError();
    fail(what, file.fileName(), failureReason(file, code));
}

// A write of all the bytes, or a failure with its reason.
void writeAll(QFileDevice& file, const QByteArray& bytes, const QString& what) {
    setSystemError(0);
    const qint64 written = file.write(bytes);
    if (written == bytes.size())
        return;
    const int code = lastSystemError();
    fail(what, file.fileName(), written >= 0 && code == 0 ? shortWriteReason() : failureReason(file, code));
}

bool openFile(QFile& file, QIODevice::OpenMode mode, TextFile::Access access) {
    if (const auto permissions = creationPermissions(access))
        return file.open(mode, *permissions);
    return file.open(mode);
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        failOn(QStringLiteral("Impossibile aprire il file"), file);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        failOn(QStringLiteral("Impossibile leggere il file"), file);
    return bytes;
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
    return splitLines(Cp1252::decode(readBytes(path)));
}

QString readJoinedLines(const QString& path) {
    return Cp1252::decodeJoiningLines(readBytes(path));
}

QStringList readLinesCreatingIfMissing(const QString& path, Access access) {
    if (!QFile::exists(path)) {
        QFile file(path);
        if (!openFile(file, QIODevice::WriteOnly | QIODevice::NewOnly, access))
            failOn(QStringLiteral("Impossibile creare il file"), file);
    }
    return readLines(path);
}

void appendLine(const QString& path, const QString& line, Access access) {
    QFile file(path);
    if (!openFile(file, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered, access))
        failOn(QStringLiteral("Impossibile aprire il file"), file);
    const qint64 before = file.size();
    try {
        writeAll(file, lineBytes(line), QStringLiteral("Impossibile scrivere il file"));
    } catch (const FileError&) {
        file.resize(before); // no torn line: the last whole line stays the last line
        throw;
    }
}

void replaceWithLine(const QString& path, const QString& line, Access access) {
    // Unbuffered, so that a short write (a full disk) is seen here: a buffered one can be lost inside commit().
    QSaveFile file(path);
    const QString what = QStringLiteral("Impossibile scrivere il file");
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        failOn(what, file);
    if (const auto permissions = creationPermissions(access))
        file.setPermissions(*permissions);
    try {
        writeAll(file, lineBytes(line), what);
    } catch (const FileError&) {
        file.cancelWriting(); // the old file stays as it was
        throw;
    }
    if (!file.commit())
        failOn(what, file);
}

} // namespace TextFile
