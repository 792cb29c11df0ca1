#include "FailureReason.h"

#include <QFileDevice>
#include <QFileInfo>
#include <cerrno>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

#ifdef Q_OS_WIN

int windowsError() {
    return static_cast<int>(GetLastError());
}

QString sentenceFor(int code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return QStringLiteral("il file o la sua cartella non esiste");
    case ERROR_ACCESS_DENIED:
        return QStringLiteral("accesso negato");
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return QStringLiteral("il file è aperto in un altro programma");
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return QStringLiteral("il disco è pieno");
    case ERROR_WRITE_PROTECT:
        return QStringLiteral("il disco è in sola lettura");
    case ERROR_FILENAME_EXCED_RANGE:
        return QStringLiteral("il percorso è troppo lungo");
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY:
        return QStringLiteral("il percorso non è valido");
    case ERROR_TOO_MANY_OPEN_FILES:
        return QStringLiteral("troppi file aperti");
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
        return QStringLiteral("errore del disco");
    default:
        return {};
    }
}

#else

QString sentenceFor(int code) {
    switch (code) {
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
    case ENAMETOOLONG:
        return QStringLiteral("il percorso è troppo lungo");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("troppi file aperti");
    case EIO:
        return QStringLiteral("errore del disco");
    default:
        return {};
    }
}

#endif

} // namespace

int lastSystemError() {
#ifdef Q_OS_WIN
    return windowsError();
#else
    return errno;
#endif
}

void setSystemError(int code) {
#ifdef Q_OS_WIN
    SetLastError(static_cast<DWORD>(code));
#else
    errno = code;
#endif
}

QString failureReason(const QFileDevice& file, int errorCode) {
    if (QFileInfo(file.fileName()).isDir())
        return QStringLiteral("è una cartella, non un file");
    const QString sentence = sentenceFor(errorCode);
    return sentence.isEmpty() ? file.errorString() : sentence;
}

QString folderFailureReason(int errorCode) {
    const QString sentence = sentenceFor(errorCode);
    return sentence.isEmpty() ? QStringLiteral("errore di sistema %1").arg(errorCode) : sentence;
}

QString shortWriteReason() {
    return QStringLiteral("il disco è pieno o il file non può crescere oltre");
}
