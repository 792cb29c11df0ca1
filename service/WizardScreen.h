#pragma once

#include "Listing.h"
#include "ServiceRequest.h"
#include "WizardSession.h"
#include "WizardSteps.h"
#include "platform/Outcome.h"
#include "platform/Toolkit.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

// What the three wizard screens share: a list on top, "A&nnulla" (left) and "&Avanti" (right) below it, Enter in
// the list as "&Avanti", Esc as the screen's step back, the hidden page buffer, and the service exchange that
// fills the list when the screen loads.
//
// A screen is shown only once its page has arrived. Until then the screen it came from stays in front, and gets
// the user back if the wait is cancelled; closing either at any moment stops the exchange. While an exchange
// runs, the wizard's keys and buttons do nothing, so one step never runs twice at once.
//
// Each screen keeps the wizard's choices in its own session, which begin() hands over from the screen before.
class WizardScreen : public QWidget {
    Q_OBJECT

public:
    // Screens that follow another begin once it hands over its session; the masthead screen begins on loading.
    void Form_Load() {}
    void begin(const WizardSession& session);
    const WizardSession& session() const { return m_session; }

protected:
    WizardScreen(const char* name, const QString& caption, const char* listName, const QString& listAccessibleName);

    // Asks the service for the listing; listingArrived() or, for an archive answer, archiveArrived() follows.
    // A wait cancelled by the user closes the screen quietly.
    void exchange(const QUrl& address, Listing::MissingEnd missingEnd = Listing::MissingEnd::Undefined);
    // Fetches an archive (or, with PageOrArchive, a listing that may turn out to be the archive) into target.
    void exchange(const QUrl& address, ServiceRequest::Expect expect, const QString& target, const QString& issueTitle);

    // The exchange of the screen's opening, with the session in place.
    virtual void startExchange() = 0;
    virtual void listingArrived(const Outcome<QStringList>& entries) = 0;
    virtual void archiveArrived(const Outcome<DownloadedIssue>& stored) { Q_UNUSED(stored); }
    virtual void CmdContinua_Click() = 0;
    virtual void stepBack() = 0; // Esc in the list

    // Shows this screen, in place of the one it came from, with the focus on the list.
    void appear();
    // This screen carries on without being shown (a download has begun, a failure is told): the screen it came
    // from closes.
    void takeOver();
    // The listing came back empty: words in place of the list, which Enter and Esc treat as the list.
    void showEmptyNotice(const QString& text);

    // A box over this screen; `then` runs once it is closed, unless this screen has been closed meanwhile. Like
    // every box it answers later: the call is the last thing its caller does.
    void say(const QString& text, const QString& title, Toolkit::Icon icon, std::function<void()> then = {});

    // Loads the screen of the step with this screen's session; it replaces this one once its page has arrived.
    // One already shown is brought forward in place of this one at once.
    void stepTo(WizardSteps::Step step);

    bool isWaiting() const;
    bool busy() const;

    void Command1_Click() { close(); }
    void closeEvent(QCloseEvent* event) override;

    QComboBox* m_list;
    QPushButton* m_continua;
    QPushButton* m_command1;
    QString m_txtCodiceHTML; // never shown
    WizardSession m_session;

private:
    void listKeyPress(int keyAscii);
    void startRequest(ServiceRequest* request, const DownloadedIssue& issue);
    void bringForward(WizardScreen& shown);

    QLabel* m_notice;
    QPointer<ServiceRequest> m_request;
    QPointer<WizardScreen> m_from; // the screen this one replaces once shown
    QPointer<WizardScreen> m_next; // the screen that waits to replace this one
    bool m_closed = false;
};
