#include "platform/MediaKeys.h"
#include "support/TestMain.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <vector>

namespace {

const QString kService = QStringLiteral("org.mpris.MediaPlayer2.lettore_giornali");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// A connection of its own, so that every call goes through the bus as a media key's does.
QDBusConnection client() {
    return QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("tst_mediakeys"));
}

QDBusMessage callOverTheBus(const QString& interface, const QString& method, const QVariantList& arguments = {}) {
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, interface, method);
    call.setArguments(arguments);
    QDBusPendingCall pending = client().asyncCall(call);
    if (!QTest::qWaitFor([&] { return pending.isFinished(); }, 5000))
        return {};
    return pending.reply();
}

QString playbackStatusOverTheBus() {
    const QDBusMessage reply = callOverTheBus(kProperties, "Get", {kPlayer, "PlaybackStatus"});
    return reply.arguments().value(0).value<QDBusVariant>().variant().toString();
}

const QByteArrayList kSignals{SIGNAL(playPause()), SIGNAL(play()), SIGNAL(pause()),
                              SIGNAL(stop()),      SIGNAL(next()), SIGNAL(previous())};

} // namespace

class TestMediaKeys : public QObject {
    Q_OBJECT

public slots:
    void propertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList&) {
        if (interface == kPlayer && changed.contains("PlaybackStatus"))
            m_changes << changed.value("PlaybackStatus").toString();
    }

private slots:
    void initTestCase() {
        m_watching = client().connect(kService, kPath, kProperties, "PropertiesChanged", this,
                                      SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
    }

    void eachMethodGivesItsOwnSignalOrNone_data() {
        QTest::addColumn<QString>("interface");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QByteArray>("expected");
        const auto row = [](const QString& interface, const char* method, QVariantList arguments, const char* signal) {
            QTest::newRow(method) << interface << arguments << QByteArray(signal);
        };
        row(kPlayer, "PlayPause", {}, SIGNAL(playPause()));
        row(kPlayer, "Play", {}, SIGNAL(play()));
        row(kPlayer, "Pause", {}, SIGNAL(pause()));
        row(kPlayer, "Stop", {}, SIGNAL(stop()));
        row(kPlayer, "Next", {}, SIGNAL(next()));
        row(kPlayer, "Previous", {}, SIGNAL(previous()));
        row(kPlayer, "Seek", {qlonglong(5000000)}, "");
        row(kPlayer, "SetPosition", {QVariant::fromValue(QDBusObjectPath("/a")), qlonglong(0)}, "");
        row(kPlayer, "OpenUri", {"file:///tmp/giornale.txt"}, "");
        row("org.mpris.MediaPlayer2", "Raise", {}, "");
        row("org.mpris.MediaPlayer2", "Quit", {}, "");
    }

    void eachMethodGivesItsOwnSignalOrNone() {
        QFETCH(QString, interface);
        QFETCH(QVariantList, arguments);
        QFETCH(QByteArray, expected);
        MediaKeys keys(nullptr);
        QVERIFY2(keys.registered(), "no session bus: run the test under dbus-run-session");
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (const QByteArray& signal : kSignals)
            spies.push_back(std::make_unique<QSignalSpy>(&keys, signal.constData()));

        const QDBusMessage reply = callOverTheBus(interface, QTest::currentDataTag(), arguments);
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        for (qsizetype i = 0; i < kSignals.size(); ++i)
            QVERIFY2(spies[i]->count() == (kSignals[i] == expected ? 1 : 0), kSignals[i].mid(1).constData());
    }

    void playbackStatusFollowsTheVoice_data() {
        using S = MediaKeys::Status;
        QTest::addColumn<QList<S>>("steps");
        QTest::addColumn<QStringList>("changes");
        QTest::newRow("read") << QList<S>{S::Playing} << QStringList{"Playing"};
        QTest::newRow("paused and resumed")
            << QList<S>{S::Playing, S::Paused, S::Playing} << QStringList{"Playing", "Paused", "Playing"};
        QTest::newRow("stopped") << QList<S>{S::Playing, S::Stopped} << QStringList{"Playing", "Stopped"};
        QTest::newRow("no change, no signal") << QList<S>{S::Stopped, S::Paused, S::Paused} << QStringList{"Paused"};
    }

    void playbackStatusFollowsTheVoice() {
        QFETCH(QList<MediaKeys::Status>, steps);
        QFETCH(QStringList, changes);
        MediaKeys keys(nullptr);
        QVERIFY2(keys.registered(), "no session bus: run the test under dbus-run-session");
        QVERIFY(m_watching);
        QCOMPARE(playbackStatusOverTheBus(), "Stopped"); // and after this call the bus delivers the changes to us
        m_changes.clear();

        for (MediaKeys::Status status : steps)
            keys.setStatus(status);
        QTRY_COMPARE(m_changes, changes);
        QCOMPARE(playbackStatusOverTheBus(), changes.last());
    }

    // Run again in a process of its own whose session bus cannot be reached.
    void withoutASessionBusNothingIsRegistered() {
        if (qEnvironmentVariableIsSet("TST_MEDIAKEYS_NO_BUS")) {
            MediaKeys keys(nullptr);
            QVERIFY(!keys.registered());
            keys.setStatus(MediaKeys::Status::Playing);
            keys.setTitle("Prima pagina");
            return;
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/tst_mediakeys_bus");
        environment.insert("TST_MEDIAKEYS_NO_BUS", "1");
        QProcess child;
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QTest::currentTestFunction()});
        QVERIFY(child.waitForFinished(60000));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, child.readAll().constData());
    }

private:
    bool m_watching = false;
    QStringList m_changes; // the values of PlaybackStatus, as the bus announced them
};

GIORNALI_TEST_GUILESS_MAIN(TestMediaKeys)
#include "tst_mediakeys.moc"
