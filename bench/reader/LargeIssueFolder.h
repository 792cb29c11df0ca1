#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// An extracted issue of 200 sections of 99 articles each: 200 index files and 19,800 article files.
inline void writeLargeIssue(const QString& folder) {
    for (int s = 1; s <= 200; ++s) {
        const QString section = QStringLiteral("Sezione%1").arg(s, 3, 10, QLatin1Char('0'));
        QByteArray index;
        for (int a = 1; a <= 99; ++a) {
            const QByteArray code = QByteArray::number(a).rightJustified(3, '0');
            index += code + " Titolo dell'articolo " + code + "\r\n";
            writeFile(folder + "/" + section + "-" + QString::fromLatin1(code) + ".txt", "x\r\n");
        }
        writeFile(folder + QStringLiteral("/%1-%2-000.txt").arg(s, 3, 10, QLatin1Char('0')).arg(section), index);
    }
}
