#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <archive.h>
#include <archive_entry.h>
#include <functional>
#include <utility>

// Archives made up for the benchmarks with libarchive.

// Italian-looking text that deflates about as well as real articles.
inline QByteArray articleText(int seed, int size) {
    static const char* const words[] = {"il",        "governo", "della",     "città",   "ieri",    "sindaco",
                                        "consiglio", "notizia", "regionale", "squadra", "partita", "mercato",
                                        "lavoro",    "scuola",  "strada",    "cultura", "teatro",  "prezzi"};
    QByteArray text;
    unsigned state = static_cast<unsigned>(seed) * 2654435761u + 1;
    while (text.size() < size) {
        state = state * 1103515245u + 12345u;
        text += words[(state >> 16) % (sizeof words / sizeof *words)];
        text += (state >> 8) % 13 == 0 ? ".\r\n" : " ";
    }
    return text;
}

// Writes an archive of the entries the function gives, in order, until it gives an empty name.
inline bool writeArchive(const QString& path, const std::function<std::pair<QByteArray, QByteArray>(int)>& entryAt) {
    archive* zip = archive_write_new();
    archive_write_set_format_zip(zip);
    if (archive_write_open_filename(zip, QFile::encodeName(path).constData()) != ARCHIVE_OK)
        return false;
    for (int i = 0;; ++i) {
        const auto [name, body] = entryAt(i);
        if (name.isEmpty())
            break;
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, name.constData());
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_size(entry, body.size());
        archive_write_header(zip, entry);
        archive_write_data(zip, body.constData(), body.size());
        archive_entry_free(entry);
    }
    const bool ok = archive_write_close(zip) == ARCHIVE_OK;
    archive_write_free(zip);
    return ok;
}
