#pragma once

#include "Book.h"

// The issue as one EPUB 3 file: the mimetype first and stored, the container, a package document with the
// issue's metadata and its accessibility, a navigation document listing the sections and, under each, its
// articles, and one XHTML document per section with each article an h2.
namespace EpubBook {

Outcome<> write(const IssueContent& issue, const QString& path, const BookProgress& progress);

} // namespace EpubBook
