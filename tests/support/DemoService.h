#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// The real demo service, started as its own process on a free loopback port, with the demo issues for one
// profile. The program under test is pointed at it while this object lives.
class DemoService {
public:
    DemoService(const QString& user, const QString& password);
    ~DemoService();

    QString base() const { return m_base; }
    QString issues() const { return m_issues.path(); }

private:
    QTemporaryDir m_issues;
    QProcess m_process;
    QString m_base;
};
