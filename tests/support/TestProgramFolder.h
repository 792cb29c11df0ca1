#pragma once

#include "ScriptedToolkit.h"

#include <QByteArray>
#include <QTemporaryDir>

// A fresh program folder for one test: a temporary folder the program points at, empty shared variables and a
// scripted toolkit. On destruction every window still open is destroyed and the folder removed.
class TestProgramFolder {
public:
    TestProgramFolder();
    ~TestProgramFolder();

    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }

    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;

    ScriptedToolkit toolkit;

private:
    QTemporaryDir m_dir;
};

// Files written by this process can grow to at most `bytes` while this object lives, as on a full disk; the
// operating system refuses the rest of a write, whoever the user is.
class FileSizeLimit {
public:
    static bool available(); // not on Windows
    explicit FileSizeLimit(long long bytes);
    ~FileSizeLimit();

private:
    long long m_previous;
};
