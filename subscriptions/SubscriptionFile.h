#pragma once

#include "Subscription.h"
#include "platform/Outcome.h"

// The subscriptions' file, "abbonamenti.json" in the program folder. A missing file is no subscription; a damaged,
// unreadable or oversized one is a failure with its reason, and the next write replaces it whole (QSaveFile).
namespace SubscriptionFile {

constexpr qint64 kMaxBytes = 1 << 20;
constexpr int kMaxSubscriptions = 500;
constexpr int kMaxUnopened = 100;

QString path(); // in the program folder

Outcome<Subscriptions> read(const QString& path);
Outcome<> write(const QString& path, const Subscriptions& subscriptions);

} // namespace SubscriptionFile
