// lettore-giornali-servizio-demo: a newspaper service for the demo and the tests, on loopback. It answers the four
// requests of
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
#include <QSaveFile>
#include <QThread>
#include <cstdio>
#include <optional>

namespace {

// A profile's issues are the archives in its folder, read again at every request, so that an issue put there
// while the service runs is published at once.
struct Profile {
    QString password;
    QString folder;
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

// A profile of the folder of profiles: the sub-folder named as the user, its issues, and its password in the file
// "password". It is read again at every request, so that a test can change it while the service runs.
std::optional<Profile> profileInFolder(const QString& folder, const QString& user) {
    if (folder.isEmpty() || user.isEmpty() || user.contains(QLatin1Char('/')) || user.contains(QLatin1Char('\\')) ||
        user.startsWith(QLatin1Char('.')))
        return std::nullopt;
    QFile password(folder + QLatin1Char('/') + user + QStringLiteral("/password"));
    if (!password.open(QIODevice::ReadOnly))
        return std::nullopt;
    return Profile{QString::fromUtf8(password.readAll()).trimmed(), folder + QLatin1Char('/') + user};
}

QHttpServerResponse answer(const QMap<QString, Profile>& profiles, const QString& profileFolder,
                           const QHttpServerRequest& request) {
    const QMap<QString, QString> query = queryOf(request);
    const QString user = query.value("user");
    const auto known = profiles.find(user);
    const std::optional<Profile> profile =
        known != profiles.end() ? std::optional<Profile>(*known) : profileInFolder(profileFolder, user);
    if (!profile || profile->password != query.value("password"))
        return listing({});
    const Catalogue catalogue(profile->folder);
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
    const QCommandLineOption profileFolderOption(
        QStringLiteral("profili"),
        QStringLiteral("Una cartella con una sottocartella per utente: i suoi giornali e il file password."),
        QStringLiteral("cartella"));
    const QCommandLineOption portFile(QStringLiteral("file-porta"),
                                      QStringLiteral("Scrive anche qui la porta in ascolto."), QStringLiteral("file"));
    parser.addOptions({port, folder, profileOption, profileFolderOption, portFile, delay});
    parser.addHelpOption();
    parser.process(app);

    QMap<QString, Profile> profiles;
    if (parser.isSet(folder))
        profiles.insert(QStringLiteral("demo"), {QStringLiteral("demo"), parser.value(folder)});
    for (const QString& value : parser.values(profileOption)) {
        const QStringList parts = value.split(QLatin1Char(':'));
        if (parts.size() < 3) {
            std::fprintf(stderr, "Profilo non valido: %s\n", qPrintable(value));
            return 2;
        }
        profiles.insert(parts[0], {parts[1], parts.mid(2).join(QLatin1Char(':'))});
    }

    QHttpServer server;
    const unsigned long delayMs = parser.value(delay).toULong();
    const QString profileFolder = parser.value(profileFolderOption);
    server.route(QStringLiteral("/ondaris/ondaris2.asp"),
                 [&profiles, &profileFolder, delayMs](const QHttpServerRequest& request) {
                     QThread::msleep(delayMs); // the service runs alone in its process: nothing else waits on it
                     return answer(profiles, profileFolder, request);
                 });
    const quint16 listening = server.listen(QHostAddress::LocalHost, parser.value(port).toUShort());
    if (listening == 0) {
        std::fprintf(stderr, "Impossibile ascoltare sulla porta %s\n", qPrintable(parser.value(port)));
        return 1;
    }
    std::printf("porta %u\n", listening);
    std::fflush(stdout);
    if (parser.isSet(portFile)) {
        QSaveFile file(parser.value(portFile)); // whole or not at all: a script waits for it
        if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray::number(listening) + '\n') < 0 ||
            !file.commit()) {
            std::fprintf(stderr, "Impossibile scrivere %s\n", qPrintable(parser.value(portFile)));
            return 1;
        }
    }
    return QCoreApplication::exec();
}
