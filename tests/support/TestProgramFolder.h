#pragma once

#include "ScriptedToolkit.h"

#include <QByteArray>
#include <QStringList>
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
    // The files in `folder`, a name inside this folder (empty for the folder itself).
    QStringList files(const QString& folder = {}) const;
    // Whether `folder` comes to hold exactly `names` within 20 s, and goes on holding them for half a second: a
    // file left by another thread may appear late and go a moment later.
    bool settlesTo(const QString& folder, const QStringList& names) const;

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
