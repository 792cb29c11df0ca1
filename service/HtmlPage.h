#pragma once

#include "platform/Outcome.h"

#include <QByteArray>
#include <QString>

// A page as the service client reads it: the response decoded (charset from the Content-Type header, then from a
// meta tag, else Windows-1252), parsed by a real HTML parser (gumbo) and serialised back with upper-case tag
// names and CR LF line ends, so that "<PRE>" and "</PRE>" delimit the listing whatever case and line ends the
// server used.
namespace HtmlPage {

QString decode(const QByteArray& body, const QByteArray& contentType);

// What a page may hold: past these it is refused rather than read. A listing is a few tags around a block of
// text, so the limits leave room for pages far larger than any real listing.
inline constexpr qsizetype kMaxBytes = 8 << 20;
inline constexpr int kMaxElements = 5000; // elements and attributes
inline constexpr int kMaxAllocations = 200000;
inline constexpr int kMaxWordsInTag = 256; // the tag's name and its attributes
inline constexpr int kMaxParseMs = 10000;  // a last guard, far above what any page within the others takes

// The serialised document, or why the page cannot be read. Text is written as it is, without escaping, so that
// an entry holding "&" or "<" reads as the service meant it.
Outcome<QString> serialise(const QString& html);

// A body as received, decoded and serialised; a body over kMaxBytes is refused before it is decoded.
Outcome<QString> render(const QByteArray& body, const QByteArray& contentType);

} // namespace HtmlPage
