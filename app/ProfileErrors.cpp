#include "ProfileErrors.h"

#include "platform/Toolkit.h"

namespace {

QString stepText(ProfileStep step) {
    switch (step) {
    case ProfileStep::Read:
        return QStringLiteral("Il profilo non è stato letto.");
    case ProfileStep::Repair:
        return QStringLiteral("Il file del profilo non è stato riparato.");
    case ProfileStep::Save:
        return QStringLiteral("Il profilo non è stato salvato.");
    }
    return {};
}

} // namespace

void reportProfileError(QObject* context, ProfileStep step, const QString& reason) {
    Toolkit::current().message(context, stepText(step) + QLatin1Char('\n') + reason,
                               QStringLiteral("Errore nel profilo"), Toolkit::Icon::Stop);
}
