#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QIODevice;

// A ZIP archive written entry by entry to a device, as EPUB wants it: names in UTF-8, no extra fields, an entry
// stored as it is or deflated, each with its size and CRC in its local header (no data descriptors). Sizes are
// those of ZIP without its 64-bit extension: an archive under 4 GB.
class ZipWriter {
public:
    enum class Method { Stored, Deflated };

    explicit ZipWriter(QIODevice& device);

    bool add(const QString& name, const QByteArray& data, Method method = Method::Deflated);
    // Writes the central directory; the archive is whole once this returns true.
    bool finish();

private:
    struct Entry {
        QByteArray name;
        quint32 crc;
        quint32 compressedSize;
        quint32 size;
        quint16 method;
        quint32 offset;
    };
    static void putDescription(QByteArray& out, const Entry& entry);

    QIODevice& m_device;
    QList<Entry> m_entries;
    bool m_ok = true;
};
