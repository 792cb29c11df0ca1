#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// The real demo service with the demo issues for one profile. The program under test is pointed at it while this
// object lives. On Linux it is started as its own process on a free loopback port; on Windows, which has no
// build of it, the Linux build's service started for the tests (LETTORE_GIORNALI_SERVIZIO_DEMO names its folder)
// is given the profile as a sub-folder of its folder of profiles.
class DemoService {
public:
    DemoService(const QString& user, const QString& password);
    ~DemoService();

    QString base() const { return m_base; }
    QString issues() const { return m_issues; }

private:
    void start(const QString& user, const QString& password);
    void join(const QString& user, const QString& password);

    QTemporaryDir m_temporary;
    QString m_issues;
    QProcess m_process;
    QString m_base;
};
