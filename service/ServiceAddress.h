#pragma once

#include <QString>
#include <QUrl>

// The addresses of the newspaper service: one page, "/ondaris/ondaris2.asp", whose query carries the profile and
// the choices made so far. Keys, their order and letter case are the service's; every value is percent-encoded
// from its Windows-1252 bytes, so the service receives exactly the text typed or listed ("&" in a password no
// longer splits the query).
namespace ServiceAddress {

// The service's base address ("http://host:port"): the build's default, unless set at start-up.
QString base();
void setBase(const QString& base); // empty: the default

// The build's default (CMake's LETTORE_GIORNALI_SERVIZIO_PREDEFINITO).
QString defaultBase();

QUrl mastheads(const QString& user, const QString& password);
QUrl dates(const QString& user, const QString& password, const QString& testata);
// Provincial editions of an issue, or the archive when it has none ("Testata", "Data").
QUrl editions(const QString& user, const QString& password, const QString& testata, const QString& data);
QUrl editionArchive(const QString& user, const QString& password, const QString& testata, const QString& data,
                    const QString& edizione);

// The address without its query, which holds the password: the only form ever shown to the user.
QString shown(const QUrl& address);

} // namespace ServiceAddress
