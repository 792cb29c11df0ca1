#pragma once

#include <QString>

class QFileDevice;

// The code of the system call that just failed (errno, or GetLastError() on Windows), and its reset.
int lastSystemError();
void setSystemError(int code);

// Why a file operation failed, in Italian: from the system's error code taken right after the failing call,
// or, for codes without a sentence of ours, the device's own description.
QString failureReason(const QFileDevice& file, int errorCode);

// Why an operation on a folder failed, in Italian, from the system's error code taken right after it.
QString folderFailureReason(int errorCode);

// The reason for a write that stopped short without an error code: the disk is full, or the file may not grow.
QString shortWriteReason();
