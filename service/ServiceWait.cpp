#include "ServiceWait.h"

#include "ServiceRequest.h"

ServiceWait::ServiceWait(ServiceRequest* request, const QString& issueTitle)
    : QObject(request), m_request(request), m_issueTitle(issueTitle) {
    connect(request, &ServiceRequest::finished, this, [this] {
        m_pageWait.reset();
        m_window.reset();
    });
    connect(request, &ServiceRequest::archiveStarted, this, &ServiceWait::showDownload);
    connect(request, &ServiceRequest::storing, this, [this] {
        m_window.reset();
        m_window = Toolkit::current().showWait(QStringLiteral("Salvataggio di «%1»…").arg(m_issueTitle),
                                               QStringLiteral("Scaricamento"), {});
    });
    connect(request, &ServiceRequest::progress, this, [this](qint64 done, qint64 total) {
        if (m_window)
            m_window->update(done, total);
    });
    if (request->expect() == ServiceRequest::Expect::Archive) {
        showDownload();
        return;
    }
    m_pageWait =
        std::make_unique<DelayedProgress>(QStringLiteral("Richiesta al servizio in corso…"),
                                          QStringLiteral("Servizio giornali"), [this] { m_request->cancel(); });
}

void ServiceWait::showDownload() {
    if (m_downloading)
        return;
    m_downloading = true;
    m_pageWait.reset();
    m_window.reset();
    m_window = Toolkit::current().showProgress(QStringLiteral("Scaricamento di «%1» in corso…").arg(m_issueTitle),
                                               QStringLiteral("Scaricamento"), [this] { m_request->cancel(); });
}
