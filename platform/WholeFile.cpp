#include "WholeFile.h"

#include "FailureReason.h"

#include <QDir>
#include <QSaveFile>

Failure cannotWrite(const QFileDevice& file, const QString& path) {
    const int code = lastSystemError();
    const QString why = code == 0 ? shortWriteReason() : failureReason(file, code);
    return Failure{QStringLiteral("impossibile scrivere «%1»: %2").arg(QDir::toNativeSeparators(path), why)};
}

Outcome<> writeWholeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    setSystemError(0);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return cannotWrite(file, path);
    return Success();
}
