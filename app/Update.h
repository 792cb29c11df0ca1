#pragma once

#include <QStringList>

// --aggiorna: one check of the subscriptions and the downloads it needs, without a window: one Italian line per
// subscription on standard output, and the subscriptions' file brought up to date. Holds the program folder's
// lock, so that it never downloads beside a running program. It always ends the event loop, with exit code 0,
// 1 when a subscription was not brought or nothing could be checked, 2 for arguments that make no sense.
void startUpdate(const QStringList& arguments);
