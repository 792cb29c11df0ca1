#include "ServiceAddress.h"

#include "platform/Cp1252.h"

#include <utility>

#ifndef LETTORE_GIORNALI_SERVIZIO_PREDEFINITO
#define LETTORE_GIORNALI_SERVIZIO_PREDEFINITO "http://127.0.0.1:8080"
#endif

namespace {

QString& chosenBase() {
    static QString base;
    return base;
}

using Pair = std::pair<const char*, QString>;

QUrl address(std::initializer_list<Pair> pairs) {
    QByteArray query;
    for (const auto& [key, value] : pairs) {
        query += query.isEmpty() ? '?' : '&';
        query += key;
        query += '=';
        query += Cp1252::encode(value).toPercentEncoding();
    }
    QString base = ServiceAddress::base();
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return QUrl::fromEncoded(base.toUtf8() + "/ondaris/ondaris2.asp" + query, QUrl::StrictMode);
}

} // namespace

namespace ServiceAddress {

QString defaultBase() {
    return QStringLiteral(LETTORE_GIORNALI_SERVIZIO_PREDEFINITO);
}

QString base() {
    return chosenBase().isEmpty() ? defaultBase() : chosenBase();
}

void setBase(const QString& value) {
    chosenBase() = value;
}

QUrl mastheads(const QString& user, const QString& password) {
    return address({{"user", user}, {"password", password}});
}

QUrl dates(const QString& user, const QString& password, const QString& testata) {
    return address({{"user", user}, {"password", password}, {"testata", testata}});
}

QUrl editions(const QString& user, const QString& password, const QString& testata, const QString& data) {
    return address({{"user", user}, {"password", password}, {"Testata", testata}, {"Data", data}});
}

QUrl editionArchive(const QString& user, const QString& password, const QString& testata, const QString& data,
                    const QString& edizione) {
    return address(
        {{"user", user}, {"password", password}, {"testata", testata}, {"data", data}, {"edizione", edizione}});
}

QString shown(const QUrl& address) {
    return address.toString(QUrl::RemoveQuery | QUrl::RemoveUserInfo);
}

} // namespace ServiceAddress
