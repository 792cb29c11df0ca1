#pragma once

#include "Outcome.h"

#include <QByteArray>
#include <QString>

class QFileDevice;

// Replaces the file with the bytes, whole or not at all; a failure says why in Italian.
Outcome<> writeWholeFile(const QString& path, const QByteArray& bytes);

// "impossibile scrivere «path»: il disco è pieno": the failure of the call just made on the file.
Failure cannotWrite(const QFileDevice& file, const QString& path);
