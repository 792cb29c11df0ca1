#pragma once

#include <QObject>
#include <QString>

// The media keys of a keyboard or headset (play/pause, stop, next, previous), which the desktop hands to the
// media player on the session bus: the program shows itself there as one, through MPRIS, and turns each key into a
// signal. Without a session bus nothing arrives and registered() is false; the program works the same otherwise.
class MediaKeys : public QObject {
    Q_OBJECT

public:
    enum class Status { Stopped, Playing, Paused };

    explicit MediaKeys(QObject* parent);
    ~MediaKeys() override;

    // Whether the session bus gave us the player's name (not when another copy of the program holds it).
    bool registered() const;

    // What the desktop shows of the reading: whether it goes on, and the title of the article being read.
    void setStatus(Status status);
    Status status() const;
    void setTitle(const QString& title);
    QString title() const;

signals:
    void playPause();
    void play();
    void pause();
    void stop();
    void next();
    void previous();

private:
    void tellTheDesktop(const QString& property, const QVariant& value);

    Status m_status = Status::Stopped;
    QString m_title;
    bool m_registered = false;
};
