#include "MediaKeys.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.mpris.MediaPlayer2.lettore_giornali");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

QString statusName(MediaKeys::Status status) {
    switch (status) {
    case MediaKeys::Status::Playing:
        return QStringLiteral("Playing");
    case MediaKeys::Status::Paused:
        return QStringLiteral("Paused");
    case MediaKeys::Status::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

QVariantMap metadataOf(const QString& title) {
    if (title.isEmpty())
        return {{QStringLiteral("mpris:trackid"),
                 QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack")))}};
    return {{QStringLiteral("mpris:trackid"),
             QVariant::fromValue(QDBusObjectPath(QStringLiteral("/lettore_giornali/articolo")))},
            {QStringLiteral("xesam:title"), title}};
}

// The application as a whole: it can be neither raised nor closed from outside.
class MediaPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(bool CanQuit READ no)
    Q_PROPERTY(bool CanRaise READ no)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(QStringList SupportedUriSchemes READ none)
    Q_PROPERTY(QStringList SupportedMimeTypes READ none)

public:
    explicit MediaPlayerAdaptor(MediaKeys* keys) : QDBusAbstractAdaptor(keys) {}

    QString identity() const { return QStringLiteral("Lettore giornali"); }
    QString desktopEntry() const { return QStringLiteral("lettore-giornali"); }
    bool no() const { return false; }
    QStringList none() const { return {}; }

public slots:
    void Raise() {}
    void Quit() {}
};

// The reading voice: every key becomes a signal of MediaKeys; seeking and opening addresses are not offered.
class PlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ one)
    Q_PROPERTY(double MinimumRate READ one)
    Q_PROPERTY(double MaximumRate READ one)
    Q_PROPERTY(double Volume READ one)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanGoNext READ yes)
    Q_PROPERTY(bool CanGoPrevious READ yes)
    Q_PROPERTY(bool CanPlay READ yes)
    Q_PROPERTY(bool CanPause READ yes)
    Q_PROPERTY(bool CanControl READ yes)
    Q_PROPERTY(bool CanSeek READ no)

public:
    explicit PlayerAdaptor(MediaKeys* keys) : QDBusAbstractAdaptor(keys), m_keys(keys) {}

    QString playbackStatus() const { return statusName(m_keys->status()); }
    QVariantMap metadata() const { return metadataOf(m_keys->title()); }
    double one() const { return 1.0; }
    qlonglong position() const { return 0; }
    bool yes() const { return true; }
    bool no() const { return false; }

public slots:
    void PlayPause() { emit m_keys->playPause(); }
    void Play() { emit m_keys->play(); }
    void Pause() { emit m_keys->pause(); }
    void Stop() { emit m_keys->stop(); }
    void Next() { emit m_keys->next(); }
    void Previous() { emit m_keys->previous(); }
    void Seek(qlonglong) {}
    void SetPosition(const QDBusObjectPath&, qlonglong) {}
    void OpenUri(const QString&) {}

private:
    MediaKeys* m_keys;
};

} // namespace

MediaKeys::MediaKeys(QObject* parent) : QObject(parent) {
    new MediaPlayerAdaptor(this);
    new PlayerAdaptor(this);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.registerObject(kPath, this, QDBusConnection::ExportAdaptors))
        return;
    m_registered = bus.registerService(kService);
    if (!m_registered)
        bus.unregisterObject(kPath);
}

MediaKeys::~MediaKeys() {
    if (!m_registered)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(kService);
    bus.unregisterObject(kPath);
}

bool MediaKeys::registered() const {
    return m_registered;
}

void MediaKeys::setStatus(Status status) {
    if (status == m_status)
        return;
    m_status = status;
    tellTheDesktop(QStringLiteral("PlaybackStatus"), statusName(status));
}

MediaKeys::Status MediaKeys::status() const {
    return m_status;
}

void MediaKeys::setTitle(const QString& title) {
    if (title == m_title)
        return;
    m_title = title;
    tellTheDesktop(QStringLiteral("Metadata"), metadataOf(title));
}

QString MediaKeys::title() const {
    return m_title;
}

void MediaKeys::tellTheDesktop(const QString& property, const QVariant& value) {
    if (!m_registered)
        return;
    QDBusMessage changed = QDBusMessage::createSignal(kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("PropertiesChanged"));
    changed << kPlayerInterface << QVariantMap{{property, value}} << QStringList();
    QDBusConnection::sessionBus().send(changed);
}

#include "MediaKeys.moc"
