#include "DemoService.h"

#include "SampleIssue.h"
#include "service/ServiceAddress.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>

DemoService::DemoService(const QString& user, const QString& password) {
#ifdef Q_OS_WIN
    join(user, password);
#else
    start(user, password);
#endif
    ServiceAddress::setBase(m_base);
}

DemoService::~DemoService() {
    ServiceAddress::setBase({});
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished();
    }
    if (!m_issues.isEmpty() && m_issues != m_temporary.path())
        QDir(m_issues).removeRecursively();
}

void DemoService::start(const QString& user, const QString& password) {
    m_issues = m_temporary.path();
    for (const SampleIssue::Layout& issue : SampleIssue::demoIssues())
        QVERIFY(SampleIssue::write(issue, m_issues + "/" + SampleIssue::baseName(issue) + ".zip"));
    m_process.start(QCoreApplication::applicationDirPath() + "/lettore-giornali-servizio-demo",
                    {"--porta", "0", "--profilo", user + ":" + password + ":" + m_issues});
    QVERIFY(m_process.waitForReadyRead(10000));
    const QList<QByteArray> words = m_process.readLine().trimmed().split(' ');
    QCOMPARE(words.value(0), QByteArray("porta"));
    m_base = "http://127.0.0.1:" + QString::fromLatin1(words.value(1));
}

void DemoService::join(const QString& user, const QString& password) {
    const QString shared = qEnvironmentVariable("LETTORE_GIORNALI_SERVIZIO_DEMO");
    QVERIFY2(!shared.isEmpty(), "LETTORE_GIORNALI_SERVIZIO_DEMO non indica la cartella del servizio dimostrativo");
    QFile port(shared + "/porta");
    QVERIFY2(port.open(QIODevice::ReadOnly), qPrintable("Il servizio dimostrativo non è avviato: " + port.fileName()));
    m_base = "http://127.0.0.1:" + QString::fromLatin1(port.readAll().trimmed());
    m_issues = shared + "/profili/" + user;
    QDir(m_issues).removeRecursively();
    QVERIFY(QDir().mkpath(m_issues));
    for (const SampleIssue::Layout& issue : SampleIssue::demoIssues())
        QVERIFY(SampleIssue::write(issue, m_issues + "/" + SampleIssue::baseName(issue) + ".zip"));
    QFile secret(m_issues + "/password");
    QVERIFY(secret.open(QIODevice::WriteOnly) && secret.write(password.toUtf8()) == password.toUtf8().size());
}
