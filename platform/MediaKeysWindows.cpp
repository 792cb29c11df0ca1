#include "MediaKeys.h"

// Windows hands the media keys to the window in front as keys, which the reader takes itself: there is no
// player to show on a bus.
MediaKeys::MediaKeys(QObject* parent) : QObject(parent) {}

MediaKeys::~MediaKeys() = default;

bool MediaKeys::registered() const {
    return false;
}

void MediaKeys::setStatus(Status status) {
    m_status = status;
}

MediaKeys::Status MediaKeys::status() const {
    return m_status;
}

void MediaKeys::setTitle(const QString& title) {
    m_title = title;
}

QString MediaKeys::title() const {
    return m_title;
}

void MediaKeys::tellTheDesktop(const QString&, const QVariant&) {}
