#include "StoreSearch.h"

#include <QFile>
#include <QFileInfo>
#include <archive.h>
#include <archive_entry.h>
#include <memory>

namespace {

constexpr la_int64_t kMaxEntryBytes = 16 << 20;
constexpr la_int64_t kMaxArchiveBytes = 256 << 20; // read in all: an archive that expands further is damaged

QString entryFileName(archive_entry* entry) {
    const char* utf8 = archive_entry_pathname_utf8(entry);
    QString path = utf8 ? QString::fromUtf8(utf8) : QString::fromLocal8Bit(archive_entry_pathname(entry));
#ifdef Q_OS_WIN // a name from the DOS code page may be kept in UTF-16 only
    if (const wchar_t* wide = utf8 ? nullptr : archive_entry_pathname_w(entry))
        path = QString::fromWCharArray(wide);
#endif
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1); // the issue is flat: the name is what counts
}

} // namespace

namespace StoreSearch {

Outcome<> readEntries(const QString& path, const std::atomic<bool>& cancelled, const Entry& entryRead) {
    const std::unique_ptr<archive, decltype(&archive_read_free)> reader(archive_read_new(), archive_read_free);
    archive_read_support_format_zip(reader.get());
    archive_read_set_options(reader.get(), "zip:hdrcharset=CP850");
#ifdef Q_OS_WIN // by its UTF-16 name: libarchive would take a narrow one through the C locale, ASCII only
    const int opened = archive_read_open_filename_w(reader.get(), path.toStdWString().c_str(), 64 * 1024);
#else
    const int opened = archive_read_open_filename(reader.get(), QFile::encodeName(path).constData(), 64 * 1024);
#endif
    if (opened != ARCHIVE_OK)
        return Failure{QStringLiteral("«%1» non si può leggere").arg(QFileInfo(path).fileName())};
    archive_entry* entry = nullptr;
    la_int64_t total = 0;
    while (!cancelled) {
        const int result = archive_read_next_header(reader.get(), &entry);
        if (result == ARCHIVE_EOF)
            break;
        if (result < ARCHIVE_WARN)
            return Failure{QStringLiteral("«%1» è danneggiato").arg(QFileInfo(path).fileName())};
        if (archive_entry_filetype(entry) != AE_IFREG || archive_entry_size(entry) > kMaxEntryBytes)
            continue;
        QByteArray bytes;
        bytes.reserve(static_cast<qsizetype>(std::max<la_int64_t>(0, archive_entry_size(entry))));
        const void* block = nullptr;
        size_t size = 0;
        la_int64_t offset = 0;
        int read = ARCHIVE_OK;
        while ((read = archive_read_data_block(reader.get(), &block, &size, &offset)) == ARCHIVE_OK &&
               bytes.size() + static_cast<qsizetype>(size) <= kMaxEntryBytes)
            bytes.append(static_cast<const char*>(block), static_cast<qsizetype>(size));
        total += bytes.size();
        if (total > kMaxArchiveBytes)
            return Failure{QStringLiteral("«%1» è troppo grande").arg(QFileInfo(path).fileName())};
        const QString name = entryFileName(entry);
        if (read == ARCHIVE_EOF && !name.isEmpty() && name != QLatin1String("..") && name != QLatin1String("."))
            entryRead(name, bytes);
    }
    return Success();
}

Outcome<QList<ArticleSearch::Hit>> searchArchive(const QString& path, const QString& word,
                                                 const std::atomic<bool>& cancelled) {
    ArticleSearch::IssueScan scan(word);
    const Outcome<> read =
        readEntries(path, cancelled, [&](const QString& name, const QByteArray& bytes) { scan.addFile(name, bytes); });
    if (!read)
        return Failure{read.reason()};
    return scan.hits();
}

} // namespace StoreSearch
