#include "DemoService.h"

#include "SampleIssue.h"
#include "service/ServiceAddress.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>

DemoService::DemoService(const QString& user, const QString& password) {
    for (const SampleIssue::Layout& issue : SampleIssue::demoIssues())
        QVERIFY(SampleIssue::write(issue, m_issues.filePath(SampleIssue::baseName(issue) + ".zip")));
    m_process.start(QCoreApplication::applicationDirPath() + "/lettore-giornali-servizio-demo",
                    {"--porta", "0", "--profilo", user + ":" + password + ":" + m_issues.path()});
    QVERIFY(m_process.waitForReadyRead(10000));
    const QList<QByteArray> words = m_process.readLine().trimmed().split(' ');
    QCOMPARE(words.value(0), QByteArray("porta"));
    m_base = "http://127.0.0.1:" + QString::fromLatin1(words.value(1));
    ServiceAddress::setBase(m_base);
}

DemoService::~DemoService() {
    ServiceAddress::setBase({});
    m_process.kill();
    m_process.waitForFinished();
}
