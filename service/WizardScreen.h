#pragma once

#include "Listing.h"
#include "ServiceRequest.h"
#include "platform/Outcome.h"
#include "platform/Screen.h"

#include <QPointer>
#include <QWidget>

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
class WizardScreen : public QWidget {
    Q_OBJECT

protected:
    WizardScreen(const char* name, const QString& caption, const char* listName, const QString& listAccessibleName);

    // Asks the service for the listing; listingArrived() or, for an archive answer, archiveArrived() follows.
    // A wait cancelled by the user closes the screen quietly.
    void exchange(const QUrl& address, Listing::MissingEnd missingEnd = Listing::MissingEnd::Undefined);
    // Fetches an archive (or, with PageOrArchive, a listing that may turn out to be the archive) into target.
    void exchange(const QUrl& address, ServiceRequest::Expect expect, const QString& target, const QString& issueTitle);

    virtual void listingArrived(const Outcome<QStringList>& entries) = 0;
    virtual void archiveArrived(const Outcome<>& stored) { Q_UNUSED(stored); }
    virtual void CmdContinua_Click() = 0;
    virtual void stepBack() = 0; // Esc in the list

    // Shows this screen, in place of the one it came from, with the focus on the list.
    void appear();
    // This screen carries on without being shown (a download has begun, a failure is told): the screen it came
    // from closes.
    void takeOver();
    // The listing came back empty: words in place of the list, which Enter and Esc treat as the list.
    void showEmptyNotice(const QString& text);

    // Loads the next screen, which replaces this one once its page has arrived. One already shown is brought
    // forward in place of this one at once.
    template <typename Next> void stepTo() {
        Next& next = Screen<Next>::load();
        if (next.isWaiting()) {
            next.m_from = this;
            m_next = &next;
        } else if (next.isVisible()) {
            bringForward(next);
        }
    }

    bool isWaiting() const;
    bool busy() const;

    void Command1_Click() { close(); }
    void closeEvent(QCloseEvent* event) override;

    QComboBox* m_list;
    QPushButton* m_continua;
    QPushButton* m_command1;
    QString m_txtCodiceHTML; // never shown

private:
    void listKeyPress(int keyAscii);
    void startRequest(ServiceRequest* request, const QString& issueTitle);
    void bringForward(WizardScreen& shown);

    QLabel* m_notice;
    QPointer<ServiceRequest> m_request;
    QPointer<WizardScreen> m_from; // the screen this one replaces once shown
    QPointer<WizardScreen> m_next; // the screen that waits to replace this one
};
