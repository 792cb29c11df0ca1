#include "SubscriptionFile.h"

#include "platform/FailureReason.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <algorithm>

namespace {

const QString kList = QStringLiteral("abbonamenti");
const QString kUnopened = QStringLiteral("arrivati");

QJsonObject toJson(const Subscription& s) {
    return {{QStringLiteral("testata"), s.masthead},
            {QStringLiteral("edizione"), s.edition},
            {QStringLiteral("tieni"), s.keep},
            {QStringLiteral("controllo"), s.lastCheck.toString(Qt::ISODate)},
            {QStringLiteral("ultimo"), s.lastIssue}};
}

QJsonObject toJson(const Arrival& a) {
    return {{QStringLiteral("archivio"), a.archive},
            {QStringLiteral("titolo"), a.title},
            {QStringLiteral("quando"), a.when.toString(Qt::ISODate)}};
}

Subscription subscriptionOf(const QJsonObject& o) {
    Subscription s;
    s.masthead = o.value(QStringLiteral("testata")).toString();
    s.edition = o.value(QStringLiteral("edizione")).toString();
    s.keep = std::max(0, o.value(QStringLiteral("tieni")).toInt());
    s.lastCheck = QDateTime::fromString(o.value(QStringLiteral("controllo")).toString(), Qt::ISODate);
    s.lastIssue = o.value(QStringLiteral("ultimo")).toString();
    return s;
}

Arrival arrivalOf(const QJsonObject& o) {
    return {o.value(QStringLiteral("archivio")).toString(), o.value(QStringLiteral("titolo")).toString(),
            QDateTime::fromString(o.value(QStringLiteral("quando")).toString(), Qt::ISODate)};
}

} // namespace

namespace SubscriptionFile {

QString path() {
    return ProgramFolder::join(QStringLiteral("abbonamenti.json"));
}

Outcome<Subscriptions> read(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return Subscriptions{};
    setSystemError(0);
    if (!file.open(QIODevice::ReadOnly)) {
        const int code = lastSystemError();
        return Failure{failureReason(file, code)};
    }
    if (file.size() > kMaxBytes)
        return Failure{QStringLiteral("il file supera 1 MB")};
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (!document.isObject())
        return Failure{QStringLiteral("il file è danneggiato")};
    Subscriptions read;
    for (const QJsonValue& value : document.object().value(kList).toArray()) {
        const Subscription s = subscriptionOf(value.toObject());
        if (!s.masthead.isEmpty() && read.list.size() < kMaxSubscriptions)
            read.list.append(s);
    }
    for (const QJsonValue& value : document.object().value(kUnopened).toArray()) {
        const Arrival a = arrivalOf(value.toObject());
        if (!a.archive.isEmpty() && read.unopened.size() < kMaxUnopened)
            read.unopened.append(a);
    }
    return read;
}

Outcome<> write(const QString& path, const Subscriptions& subscriptions) {
    QJsonArray list, unopened;
    for (const Subscription& s : subscriptions.list)
        list.append(toJson(s));
    for (const Arrival& a :
         subscriptions.unopened.mid(std::max<qsizetype>(0, subscriptions.unopened.size() - kMaxUnopened)))
        unopened.append(toJson(a));
    const QByteArray bytes = QJsonDocument(QJsonObject{{kList, list}, {kUnopened, unopened}}).toJson();
    QSaveFile file(path);
    setSystemError(0);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        const int code = lastSystemError();
        return Failure{QStringLiteral("impossibile scrivere il file «%1»: %2")
                           .arg(QDir::toNativeSeparators(path), failureReason(file, code))};
    }
    return Success();
}

} // namespace SubscriptionFile
