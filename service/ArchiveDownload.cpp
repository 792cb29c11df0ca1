#include "ArchiveDownload.h"

#include "NetworkAccess.h"
#include "PageReader.h"
#include "ServiceAddress.h"
#include "platform/Toolkit.h"

#include <QDir>
#include <QEventLoop>
#include <QNetworkReply>
#include <QSaveFile>

namespace {

constexpr qint64 kReadBuffer = 1 << 20; // what the reply may hold before it is written out

} // namespace

namespace ArchiveDownload {

Result URLDownloadToFile(const QUrl& address, const QString& targetPath, const QString& shownName) {
    QSaveFile file(targetPath);
    if (!file.open(QIODevice::WriteOnly))
        return {false, QStringLiteral("Impossibile scrivere «%1»: %2.")
                           .arg(QDir::toNativeSeparators(targetPath), file.errorString())};

    const std::unique_ptr<Toolkit::Progress> progress = Toolkit::current().showProgress(
        QStringLiteral("Scaricamento di «%1» in corso…").arg(shownName), QStringLiteral("Scaricamento"));
    QNetworkRequest request(address);
    request.setTransferTimeout(PageReader::timeoutMs());
    QNetworkReply* reply = NetworkAccess::manager().get(request);
    reply->setReadBufferSize(kReadBuffer);

    QString failure;
    bool signatureChecked = false;
    auto fail = [&](const QString& why) {
        if (failure.isEmpty())
            failure = why;
        reply->abort();
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [&] {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status != 0 && (status < 200 || status >= 300))
            fail(QStringLiteral("il servizio ha risposto con lo stato HTTP %1").arg(status));
    });
    auto consume = [&] {
        if (!failure.isEmpty())
            return;
        if (!signatureChecked) {
            if (reply->bytesAvailable() < 2)
                return;
            signatureChecked = true;
            if (reply->peek(2) != "PK") {
                fail(QStringLiteral("il servizio non ha inviato un archivio ZIP"));
                return;
            }
        }
        const QByteArray chunk = reply->readAll();
        if (file.write(chunk) != chunk.size()) {
            fail(QStringLiteral("impossibile scrivere «%1»: %2")
                     .arg(QDir::toNativeSeparators(targetPath), file.errorString()));
        }
    };
    QObject::connect(reply, &QNetworkReply::readyRead, reply, consume);
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [&](qint64 done, qint64 total) {
        progress->update(done, total);
        if (progress->cancelled())
            fail(QStringLiteral("scaricamento annullato"));
    });

    QEventLoop wait;
    QObject::connect(reply, &QNetworkReply::finished, &wait, &QEventLoop::quit);
    if (!reply->isFinished())
        wait.exec();
    if (reply->bytesAvailable() > 0)
        consume(); // what arrived with the end of the transfer
    reply->deleteLater();

    if (failure.isEmpty() && reply->error() != QNetworkReply::NoError) {
        failure = reply->error() == QNetworkReply::OperationCanceledError
                      ? QStringLiteral("il servizio %1 non ha risposto in tempo").arg(ServiceAddress::shown(address))
                      : QStringLiteral("il servizio %1 non è raggiungibile").arg(ServiceAddress::shown(address));
    }
    if (failure.isEmpty() && !signatureChecked)
        failure = QStringLiteral("il servizio non ha inviato un archivio ZIP");
    if (!failure.isEmpty()) {
        file.cancelWriting();
        file.commit(); // fails on purpose: the temporary file goes, the old archive stays
        return {false, failure};
    }
    if (!file.commit())
        return {false, QStringLiteral("impossibile scrivere «%1»: %2")
                           .arg(QDir::toNativeSeparators(targetPath), file.errorString())};
    return {true, {}};
}

} // namespace ArchiveDownload
