#include "ZipBuilder.h"

#include <QFile>
#include <QtDebug>
#include <archive.h>
#include <archive_entry.h>
#include <clocale>
#include <sys/stat.h>

ZipBuilder& ZipBuilder::file(const QString& name, const QByteArray& content, std::time_t modified) {
    m_entries.append({name, content, modified, AE_IFREG, {}});
    return *this;
}

ZipBuilder& ZipBuilder::folder(const QString& name) {
    m_entries.append({name, {}, kModified, AE_IFDIR, {}});
    return *this;
}

ZipBuilder& ZipBuilder::symlink(const QString& name, const QString& target) {
    m_entries.append({name, {}, kModified, AE_IFLNK, target});
    return *this;
}

ZipBuilder& ZipBuilder::encrypt(Encryption encryption, const QByteArray& password) {
    m_encryption = encryption;
    m_password = password;
    return *this;
}

ZipBuilder& ZipBuilder::store() {
    m_store = true;
    return *this;
}

ZipBuilder& ZipBuilder::dosNames() {
    m_dosNames = true;
    return *this;
}

bool ZipBuilder::write(const QString& path) const {
    std::setlocale(LC_CTYPE, "C.UTF-8"); // names are handed over as UTF-8
    archive* zip = archive_write_new();
    archive_write_set_format_zip(zip);
    if (m_store)
        archive_write_set_options(zip, "zip:compression=store");
    if (m_dosNames)
        archive_write_set_options(zip, "zip:hdrcharset=CP850");
    if (m_encryption != Encryption::None) {
        archive_write_set_options(zip, m_encryption == Encryption::Aes256 ? "zip:encryption=aes256"
                                                                          : "zip:encryption=traditional");
        archive_write_set_passphrase(zip, m_password.constData());
    }
    bool ok = archive_write_open_filename(zip, QFile::encodeName(path).constData()) == ARCHIVE_OK;
    for (const Entry& e : m_entries) {
        if (!ok)
            break;
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname_utf8(entry, e.name.toUtf8().constData());
        archive_entry_set_filetype(entry, static_cast<unsigned>(e.type));
        archive_entry_set_perm(entry, e.type == AE_IFDIR ? 0755 : 0644);
        archive_entry_set_mtime(entry, e.modified, 0);
        if (e.type == AE_IFLNK)
            archive_entry_set_symlink_utf8(entry, e.linkTarget.toUtf8().constData());
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
    return ok;
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
