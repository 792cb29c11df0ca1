#pragma once

#include <QString>
#include <QUrl>

// Fetches a service page and returns its text (HtmlPage). The wait keeps the user interface processing events,
// with a time limit; a timeout, a refused connection, an HTTP error status or an answer that is not text (the
// service answering with an archive) give an empty text: a page without a listing.
namespace PageReader {

QString LeggiPagina(const QUrl& address);

// Milliseconds without progress before a page or a download is given up: 30 s unless set.
int timeoutMs();
void setTimeoutMs(int milliseconds);

// True while a page is being fetched: the wizard's buttons do nothing meanwhile.
bool busy();

} // namespace PageReader
