#include "DesktopNotification.h"

#ifdef GIORNALI_DBUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>
#endif

void notifyDesktop(const QString& summary, const QString& body) {
#ifdef GIORNALI_DBUS
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    notify << QStringLiteral("Lettore Giornali") << 0u << QStringLiteral("lettore-giornali") << summary << body
           << QStringList() << QVariantMap() << -1;
    bus.call(notify, QDBus::NoBlock);
#else
    Q_UNUSED(summary);
    Q_UNUSED(body);
#endif
}
