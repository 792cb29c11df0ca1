#include "PageReader.h"

#include "HtmlPage.h"
#include "NetworkAccess.h"

#include <QEventLoop>
#include <QNetworkReply>
#include <QScopeGuard>

namespace {

int g_timeoutMs = 30000;
bool g_busy = false;

bool isText(const QNetworkReply& reply) {
    const QByteArray type = reply.header(QNetworkRequest::ContentTypeHeader).toByteArray().toLower();
    return type.isEmpty() || type.startsWith("text/") || type.contains("html") || type.contains("xml");
}

} // namespace

namespace PageReader {

int timeoutMs() { return g_timeoutMs; }
void setTimeoutMs(int milliseconds) { g_timeoutMs = milliseconds; }
bool busy() { return g_busy; }

QString LeggiPagina(const QUrl& address) {
    g_busy = true;
    const auto done = qScopeGuard([] { g_busy = false; });
    QNetworkRequest request(address);
    request.setTransferTimeout(g_timeoutMs);
    QNetworkReply* reply = NetworkAccess::manager().get(request);
    QEventLoop wait;
    bool notText = false;
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [&] {
        if (!isText(*reply)) { // an archive instead of a page: no listing, and no need to fetch it whole
            notText = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, &wait, &QEventLoop::quit);
    if (!reply->isFinished())
        wait.exec();
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (notText || reply->error() != QNetworkReply::NoError || status < 200 || status >= 300)
        return {};
    return HtmlPage::render(reply->readAll(), reply->header(QNetworkRequest::ContentTypeHeader).toByteArray());
}

} // namespace PageReader
