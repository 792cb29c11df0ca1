#pragma once

class QObject;
class QString;

enum class ProfileStep { Read, Repair, Save };

// Tells the user, in a box with the stop icon over the context's window, which step on the profile file failed and
// why.
void reportProfileError(QObject* context, ProfileStep step, const QString& reason);
