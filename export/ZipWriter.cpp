#include "ZipWriter.h"

#include <QIODevice>
#include <zlib.h>

namespace {

constexpr quint16 kStored = 0;
constexpr quint16 kDeflated = 8;
constexpr quint16 kUtf8Names = 1 << 11;
constexpr quint16 kVersion = 20;
constexpr quint16 kDosTime = 0;                        // 00:00:00
constexpr quint16 kDosDate = (46 << 9) | (1 << 5) | 1; // 2026-01-01
constexpr quint32 kLargest = 0xFFFFFFFFu;

void put16(QByteArray& out, quint16 value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>(value >> 8));
}

void put32(QByteArray& out, quint32 value) {
    put16(out, static_cast<quint16>(value & 0xFFFF));
    put16(out, static_cast<quint16>(value >> 16));
}

// Raw deflate, as ZIP holds it.
std::optional<QByteArray> deflated(const QByteArray& data) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return std::nullopt;
    QByteArray out(static_cast<qsizetype>(deflateBound(&stream, static_cast<uLong>(data.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        return std::nullopt;
    out.truncate(static_cast<qsizetype>(stream.total_out));
    return out;
}

} // namespace

// What the local header and the central directory both say of an entry, from the version needed to extract it to
// the length of its extra field (none).
void ZipWriter::putDescription(QByteArray& out, const Entry& entry) {
    put16(out, kVersion);
    put16(out, kUtf8Names);
    put16(out, entry.method);
    put16(out, kDosTime);
    put16(out, kDosDate);
    put32(out, entry.crc);
    put32(out, entry.compressedSize);
    put32(out, entry.size);
    put16(out, static_cast<quint16>(entry.name.size()));
    put16(out, 0); // no extra field
}

ZipWriter::ZipWriter(QIODevice& device) : m_device(device) {}

bool ZipWriter::add(const QString& name, const QByteArray& data, Method method) {
    if (!m_ok)
        return false;
    QByteArray stored = data;
    quint16 code = kStored;
    if (method == Method::Deflated) {
        const std::optional<QByteArray> packed = deflated(data);
        if (!packed)
            return m_ok = false;
        stored = *packed;
        code = kDeflated;
    }
    const qint64 offset = m_device.pos();
    if (offset + stored.size() >= kLargest || data.size() >= kLargest)
        return m_ok = false;
    Entry entry{name.toUtf8(),
                static_cast<quint32>(
                    crc32(0, reinterpret_cast<const Bytef*>(data.constData()), static_cast<uInt>(data.size()))),
                static_cast<quint32>(stored.size()),
                static_cast<quint32>(data.size()),
                code,
                static_cast<quint32>(offset)};
    QByteArray header;
    put32(header, 0x04034b50);
    putDescription(header, entry);
    header += entry.name;
    if (m_device.write(header) != header.size() || m_device.write(stored) != stored.size())
        return m_ok = false;
    m_entries.append(entry);
    return true;
}

bool ZipWriter::finish() {
    if (!m_ok)
        return false;
    const qint64 start = m_device.pos();
    QByteArray directory;
    for (const Entry& entry : std::as_const(m_entries)) {
        put32(directory, 0x02014b50);
        put16(directory, kVersion); // made by
        putDescription(directory, entry);
        put16(directory, 0); // comment
        put16(directory, 0); // disk
        put16(directory, 0); // internal attributes
        put32(directory, 0); // external attributes
        put32(directory, entry.offset);
        directory += entry.name;
    }
    QByteArray end;
    put32(end, 0x06054b50);
    put16(end, 0);
    put16(end, 0);
    put16(end, static_cast<quint16>(m_entries.size()));
    put16(end, static_cast<quint16>(m_entries.size()));
    put32(end, static_cast<quint32>(directory.size()));
    put32(end, static_cast<quint32>(start));
    put16(end, 0);
    return m_device.write(directory) == directory.size() && m_device.write(end) == end.size();
}
