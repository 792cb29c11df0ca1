#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <archive_entry.h>
#include <ctime>

// Writes real ZIP archives for tests, with libarchive.
class ZipBuilder {
public:
    enum class Encryption { None, Traditional, Aes256 };

    // A file; its name is taken as UTF-8 and stored with the UTF-8 flag unless dosNames() is set.
    ZipBuilder& file(const QString& name, const QByteArray& content, std::time_t modified = kModified) {
        return add({name, content, modified, AE_IFREG, {}});
    }
    ZipBuilder& folder(const QString& name) { return add({name, {}, kModified, AE_IFDIR, {}}); }
    ZipBuilder& symlink(const QString& name, const QString& target) {
        return add({name, {}, kModified, AE_IFLNK, target});
    }

    // Every entry stored afterwards is encrypted with the password.
    ZipBuilder& encrypt(Encryption encryption, const QByteArray& password) {
        m_encryption = encryption;
        m_password = password;
        return *this;
    }

    // Entries stored without compression.
    ZipBuilder& store() { return set(m_store); }

    // Names stored in DOS code page 850 without the UTF-8 flag, as older Windows tools wrote them.
    ZipBuilder& dosNames() { return set(m_dosNames); }

    // Names stored in UTF-8 without the UTF-8 flag, as many archivers write them.
    ZipBuilder& utf8NamesWithoutFlag() { return set(m_unflagged); }

    // Writes the archive; false (and a warning) when libarchive fails.
    bool write(const QString& path) const;

    static constexpr std::time_t kModified = 1733400000; // December 2024

private:
    struct Entry {
        QString name;
        QByteArray content;
        std::time_t modified;
        int type;
        QString linkTarget;
    };
    ZipBuilder& add(const Entry& entry) {
        m_entries.append(entry);
        return *this;
    }
    ZipBuilder& set(bool& option) {
        option = true;
        return *this;
    }
    QList<Entry> m_entries;
    Encryption m_encryption = Encryption::None;
    QByteArray m_password;
    bool m_dosNames = false;
    bool m_unflagged = false;
    bool m_store = false;
};

// One archive of the entries of two written ones, the first's before the second's (to mix encrypted and plain
// entries, which libarchive writes only archive by archive).
bool joinArchives(const QString& first, const QString& second, const QString& joined);

// Appends a comment to a written archive's end record.
bool addArchiveComment(const QString& path, const QByteArray& comment);
