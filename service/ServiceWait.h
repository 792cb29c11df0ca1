#pragma once

#include "platform/Toolkit.h"

#include <QObject>
#include <QTimer>
#include <memory>

class ServiceRequest;

// What the user sees while a request runs. A page: nothing during its first 300 ms, then the modal "Richiesta al
// servizio in corso…". An archive: its download progress from the moment it starts (at once when an archive is
// what was asked for), then, while the whole archive is being stored, a window without "Annulla", since it is
// too late to cancel. "Annulla" or Esc in the other windows cancels the request at once. Made as a child of the
// request, it goes with it.
class ServiceWait : public QObject {
    Q_OBJECT

public:
    static constexpr int kQuietMs = 300;

    ServiceWait(ServiceRequest* request, const QString& issueTitle);

private:
    void showDownload();

    ServiceRequest* m_request;
    QString m_issueTitle;
    QTimer m_quiet;
    std::unique_ptr<Toolkit::Progress> m_window;
    bool m_downloading = false;
};
