#include "ZipBuilder.h"

#include "SampleIssue.h"

#include <QFile>
#include <QtDebug>
#include <archive.h>
#include <archive_entry.h>
#include <clocale>
#include <sys/stat.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

quint32 le(const QByteArray& bytes, qsizetype at, int size) {
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<uchar>(bytes[at + i]);
    return value;
}

void putLe(QByteArray& bytes, qsizetype at, int size, quint32 value) {
    for (int i = 0; i < size; ++i, value >>= 8)
        bytes[at + i] = static_cast<char>(value & 0xFF);
}

struct Parts {
    QByteArray locals, central;
    quint32 entries = 0;
};

Parts partsOf(const QByteArray& zip) {
    const qsizetype end = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
    const auto directory = static_cast<qsizetype>(le(zip, end + 16, 4));
    return {zip.left(directory), zip.mid(directory, end - directory), le(zip, end + 10, 2)};
}

} // namespace

bool joinArchives(const QString& first, const QString& second, const QString& joined) {
    const Parts a = partsOf(readAll(first)), b = partsOf(readAll(second));
    QByteArray central = b.central;
    for (qsizetype at = 0; at + 46 <= central.size();
         at += 46 + le(central, at + 28, 2) + le(central, at + 30, 2) + le(central, at + 32, 2))
        putLe(central, at + 42, 4, le(central, at + 42, 4) + static_cast<quint32>(a.locals.size()));
    QByteArray end("PK\x05\x06", 4);
    end += QByteArray(18, '\0');
    const quint32 entries = a.entries + b.entries;
    putLe(end, 8, 2, entries);
    putLe(end, 10, 2, entries);
    putLe(end, 12, 4, static_cast<quint32>(a.central.size() + central.size()));
    putLe(end, 16, 4, static_cast<quint32>(a.locals.size() + b.locals.size()));
    return writeAll(joined, a.locals + b.locals + a.central + central + end);
}

// Clears the UTF-8 flag (bit 11 of the flags) in every local and central header of a written archive.
bool clearUtf8Flags(const QString& path) {
    QByteArray bytes = readAll(path);
    for (const auto& [signature, flagsAt] :
         {std::pair{QByteArray("PK\x03\x04", 4), 6}, std::pair{QByteArray("PK\x01\x02", 4), 8}}) {
        for (qsizetype at = bytes.indexOf(signature); at >= 0; at = bytes.indexOf(signature, at + 4))
            bytes[at + flagsAt + 1] = static_cast<char>(bytes[at + flagsAt + 1] & ~0x08);
    }
    return writeAll(path, bytes);
}

// A name in code page 850, the DOS page of ZIP archives without the UTF-8 flag, for the letters Italian needs.
QByteArray cp850(const QString& name) {
    static const QString upper = QStringLiteral("àèéìòùÀÈÉÌÒÙ");
    static const char codes[] = "\x85\x8a\x82\x8d\x95\x97\xb7\xd4\x90\xde\xe3\xeb";
    QByteArray bytes;
    for (const QChar c : name)
        bytes += c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : codes[std::max<qsizetype>(0, upper.indexOf(c))];
    return bytes;
}

// Puts the DOS names in place of the same-length ASCII stand-ins they were written under, in every header.
bool putDosNames(const QString& path, const QList<QPair<QByteArray, QByteArray>>& names) {
    QByteArray bytes = readAll(path);
    for (const auto& [standIn, dos] : names)
        bytes.replace(standIn, dos);
    return writeAll(path, bytes);
}

bool ZipBuilder::write(const QString& path) const {
    std::setlocale(LC_CTYPE, "C.UTF-8"); // names are handed over as UTF-8
    archive* zip = archive_write_new();
    archive_write_set_format_zip(zip);
    if (m_store)
        archive_write_set_options(zip, "zip:compression=store");
    archive_write_set_options(zip, "zip:hdrcharset=UTF-8"); // as given, whatever the system's code page
    if (m_encryption != Encryption::None) {
        archive_write_set_options(zip, m_encryption == Encryption::Aes256 ? "zip:encryption=aes256"
                                                                          : "zip:encryption=traditional");
        archive_write_set_passphrase(zip, m_password.constData());
    }
    bool ok = SampleIssue::openForWriting(zip, path);
    QList<QPair<QByteArray, QByteArray>> dosNames;
    for (const Entry& e : m_entries) {
        if (!ok)
            break;
        archive_entry* entry = archive_entry_new();
        QByteArray name = e.name.toUtf8();
        if (m_dosNames) { // written under an ASCII stand-in of the DOS name's length, put in place after
            const QByteArray dos = cp850(e.name);
            name = dos;
            for (char& c : name)
                c = static_cast<unsigned char>(c) >= 0x80 ? '~' : c;
            dosNames.append({name, dos});
        }
#ifdef Q_OS_WIN // libarchive's zip writer on Windows takes names in UTF-16 only
        archive_entry_copy_pathname_w(entry, QString::fromUtf8(name).toStdWString().c_str());
#else
        archive_entry_set_pathname_utf8(entry, name.constData());
#endif
        archive_entry_set_filetype(entry, static_cast<unsigned>(e.type));
        archive_entry_set_perm(entry, e.type == AE_IFDIR ? 0755 : 0644);
        archive_entry_set_mtime(entry, e.modified, 0);
#ifdef Q_OS_WIN
        if (e.type == AE_IFLNK)
            archive_entry_copy_symlink_w(entry, e.linkTarget.toStdWString().c_str());
#else
        if (e.type == AE_IFLNK)
            archive_entry_set_symlink_utf8(entry, e.linkTarget.toUtf8().constData());
#endif
        archive_entry_set_size(entry, e.content.size());
        ok = archive_write_header(zip, entry) == ARCHIVE_OK &&
             (e.content.isEmpty() ||
              archive_write_data(zip, e.content.constData(), e.content.size()) == e.content.size());
        archive_entry_free(entry);
    }
    if (!ok)
        qWarning() << "ZipBuilder:" << archive_error_string(zip);
    ok = archive_write_close(zip) == ARCHIVE_OK && ok;
    archive_write_free(zip);
    return ok && (!m_unflagged || clearUtf8Flags(path)) && putDosNames(path, dosNames);
}

bool addArchiveComment(const QString& path, const QByteArray& comment) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = file.readAll();
    const qsizetype end = bytes.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (end < 0 || end + 22 != bytes.size())
        return false;
    bytes[end + 20] = static_cast<char>(comment.size() & 0xFF);
    bytes[end + 21] = static_cast<char>(comment.size() >> 8);
    bytes += comment;
    file.seek(0);
    return file.write(bytes) == bytes.size();
}
