#pragma once

#include "platform/DelayedProgress.h"
#include "platform/Toolkit.h"

#include <QObject>
#include <memory>

class ServiceRequest;

// What the user sees while a request runs. A page: the delayed wait "Richiesta al servizio in corso…". An
// archive: its download progress from the moment it starts (at once when an archive is what was asked for),
// then, while the whole archive is being stored, a window without "Annulla", since it is too late to cancel.
// "Annulla" or Esc in the other windows cancels the request at once. Made as a child of the request, it goes with
// it.
class ServiceWait : public QObject {
    Q_OBJECT

public:
    ServiceWait(ServiceRequest* request, const QString& issueTitle);

private:
    void showDownload();

    ServiceRequest* m_request;
    QString m_issueTitle;
    std::unique_ptr<DelayedProgress> m_pageWait;
    std::unique_ptr<Toolkit::Progress> m_window;
    bool m_downloading = false;
};
