#pragma once

#include <QStringList>
#include <optional>

// --aggiorna: one check of the subscriptions and the downloads it needs, without a window: one Italian line per
// subscription on standard output, and the subscriptions' file brought up to date. Holds the program folder's
// lock, so that it never downloads beside a running program. Started here, it ends the event loop with exit
// code 0, or 1 when a subscription was not brought; the code is returned at once when there is nothing to start.
std::optional<int> startUpdate(const QStringList& arguments);
