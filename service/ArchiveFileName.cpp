#include "ArchiveFileName.h"

QString archiveFileName(const QString& archiveName) {
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    QString name = archiveName;
    for (QChar& c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || forbidden.contains(c))
            c = QLatin1Char('_');
    }
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        name = QStringLiteral("_");
    return name + QStringLiteral(".zip");
}
