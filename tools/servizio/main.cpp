// lettore-giornali-servizio-demo: a newspaper service for the demo and the tests, on loopback. It answers the four requests of
// "/ondaris/ondaris2.asp" the way an ASP-era server did: listings as an HTML page with a lower-case <pre> block
// and CR LF lines in Windows-1252, archives as application/zip. A wrong user or password gets an empty listing.
#include "Catalogue.h"
#include "platform/Cp1252.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QMap>
#include <QThread>
#include <cstdio>

namespace {

struct Profile {
    QString password;
    Catalogue catalogue;
};

// The query's values as the client meant them: percent-decoded Windows-1252 bytes, keys as written.
QMap<QString, QString> queryOf(const QHttpServerRequest& request) {
    QMap<QString, QString> values;
    const QByteArray query = request.url().query(QUrl::FullyEncoded).toLatin1();
    for (const QByteArray& pair : query.split('&')) {
        const qsizetype equals = pair.indexOf('=');
        if (equals > 0)
            values.insert(QString::fromLatin1(pair.left(equals)),
                          Cp1252::decode(QByteArray::fromPercentEncoding(pair.mid(equals + 1))));
    }
    return values;
}

QHttpServerResponse listing(const QStringList& entries) {
    QByteArray body = "<html>\r\n<head><title>Ondaris</title></head>\r\n<body>\r\n<pre>\r\n";
    for (const QString& entry : entries)
        body += Cp1252::encode(entry) + "\r\n";
    body += "</pre>\r\n</body>\r\n</html>\r\n";
    return QHttpServerResponse("text/html; charset=windows-1252", body);
}

QHttpServerResponse archive(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return QHttpServerResponse(QHttpServerResponder::StatusCode::NotFound);
    return QHttpServerResponse("application/zip", file.readAll());
}

QHttpServerResponse answer(const QMap<QString, Profile>& profiles, const QHttpServerRequest& request) {
    const QMap<QString, QString> query = queryOf(request);
    const auto profile = profiles.find(query.value("user"));
    if (profile == profiles.end() || profile->password != query.value("password"))
        return listing({});
    const Catalogue& catalogue = profile->catalogue;
    if (query.contains("edizione"))
        return archive(catalogue.archive(query.value("testata"), query.value("data"), query.value("edizione")));
    if (query.contains("Testata") && query.contains("Data")) {
        const QStringList editions = catalogue.editions(query.value("Testata"), query.value("Data"));
        if (editions.isEmpty())
            return archive(catalogue.archive(query.value("Testata"), query.value("Data"), {}));
        return listing(editions);
    }
    if (query.contains("testata"))
        return listing(catalogue.dates(query.value("testata")));
    return listing(catalogue.mastheads());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Servizio di giornali dimostrativo, solo su questa macchina."));
    const QCommandLineOption port({"p", "porta"}, QStringLiteral("Porta (0: una libera qualsiasi)."),
                                  QStringLiteral("numero"), QStringLiteral("8080"));
    const QCommandLineOption folder({"c", "cartella"},
                                    QStringLiteral("Cartella dei giornali del profilo demo, password demo."),
                                    QStringLiteral("percorso"));
    const QCommandLineOption profileOption(QStringLiteral("profilo"),
                                           QStringLiteral("Un profilo: utente:password:cartella (ripetibile)."),
                                           QStringLiteral("profilo"));
    const QCommandLineOption delay(QStringLiteral("ritardo"),
                                   QStringLiteral("Attesa prima di ogni risposta, come un servizio lento."),
                                   QStringLiteral("millisecondi"), QStringLiteral("0"));
    parser.addOptions({port, folder, profileOption, delay});
    parser.addHelpOption();
    parser.process(app);

    QMap<QString, Profile> profiles;
    if (parser.isSet(folder))
        profiles.insert(QStringLiteral("demo"), {QStringLiteral("demo"), Catalogue(parser.value(folder))});
    for (const QString& value : parser.values(profileOption)) {
        const QStringList parts = value.split(QLatin1Char(':'));
        if (parts.size() < 3) {
            std::fprintf(stderr, "Profilo non valido: %s\n", qPrintable(value));
            return 2;
        }
        profiles.insert(parts[0], {parts[1], Catalogue(parts.mid(2).join(QLatin1Char(':')))});
    }

    QHttpServer server;
    const unsigned long delayMs = parser.value(delay).toULong();
    server.route(QStringLiteral("/ondaris/ondaris2.asp"), [&profiles, delayMs](const QHttpServerRequest& request) {
        QThread::msleep(delayMs); // the service runs alone in its process: nothing else waits on it
        return answer(profiles, request);
    });
    const quint16 listening = server.listen(QHostAddress::LocalHost, parser.value(port).toUShort());
    if (listening == 0) {
        std::fprintf(stderr, "Impossibile ascoltare sulla porta %s\n", qPrintable(parser.value(port)));
        return 1;
    }
    std::printf("porta %u\n", listening);
    std::fflush(stdout);
    return QCoreApplication::exec();
}
