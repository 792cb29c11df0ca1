#pragma once

#include "ArticleSearch.h"
#include "platform/Outcome.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

// The search of one stored archive, read as it is with libarchive: each entry is read once into memory and
// nothing is written to disk. Entries over 16 MB are passed over; a cancel stops before the next entry.
namespace StoreSearch {

// Each regular entry of the archive by its file name (without folders) and its bytes, in the archive's order.
using Entry = std::function<void(const QString& name, const QByteArray& bytes)>;
Outcome<> readEntries(const QString& path, const std::atomic<bool>& cancelled, const Entry& entryRead);

Outcome<QList<ArticleSearch::Hit>> searchArchive(const QString& path, const QString& word,
                                                 const std::atomic<bool>& cancelled);

} // namespace StoreSearch
