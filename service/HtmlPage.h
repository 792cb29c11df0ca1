#pragma once

#include <QByteArray>
#include <QString>

// A page as the service client reads it: the response decoded (charset from the Content-Type header, then from a
// meta tag, else Windows-1252), parsed by a real HTML parser (gumbo) and serialised back with upper-case tag
// names and CR LF line ends, so that "<PRE>" and "</PRE>" delimit the listing whatever case and line ends the
// server used.
namespace HtmlPage {

QString decode(const QByteArray& body, const QByteArray& contentType);

// The serialised document. Text is written as it is, without escaping, so that an entry holding "&" or "<" reads
// as the service meant it.
QString serialise(const QString& html);

inline QString render(const QByteArray& body, const QByteArray& contentType) {
    return serialise(decode(body, contentType));
}

} // namespace HtmlPage
