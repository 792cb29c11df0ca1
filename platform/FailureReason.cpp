#include "FailureReason.h"

#include <QFileDevice>
#include <QFileInfo>
#include <cerrno>

QString failureReason(const QFileDevice& file, int errorCode) {
    if (QFileInfo(file.fileName()).isDir())
        return QStringLiteral("è una cartella, non un file");
    switch (errorCode) {
    case ENOENT:
        return QStringLiteral("il file o la sua cartella non esiste");
    case EACCES:
    case EPERM:
        return QStringLiteral("accesso negato");
    case ENOSPC:
        return QStringLiteral("il disco è pieno");
    case EFBIG:
        return shortWriteReason();
    case EROFS:
        return QStringLiteral("il disco è in sola lettura");
    case ENOTDIR:
        return QStringLiteral("il percorso non è valido");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("troppi file aperti");
    case EIO:
        return QStringLiteral("errore del disco");
    default:
        return file.errorString();
    }
}

QString shortWriteReason() {
    return QStringLiteral("il disco è pieno o il file non può crescere oltre");
}
