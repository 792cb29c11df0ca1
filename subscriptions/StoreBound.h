#pragma once

#include "Subscription.h"
#include "platform/Outcome.h"

#include <QStringList>

// "Tieni gli ultimi <n> numeri": the subscription's archives in the store beyond its newest n are deleted. Only
// names the program recognises as the subscription's own (masthead, a valid yyyymmdd date, edition, ".zip", as
// the download names them) are ever touched, and never the issue open in the reader. Runs in a worker.
namespace StoreBound {

// The file names deleted; a failure names the files that could not be deleted and why.
Outcome<QStringList> keepNewest(const QString& store, const Subscription& subscription, int keep,
                                const QString& openArchive);

} // namespace StoreBound
