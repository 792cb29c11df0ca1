#include "FrmEdizione.h"

#include "ServiceAddress.h"
#include "platform/CurrentProfile.h"
#include "reader/ReaderTitle.h"

#include <QComboBox>

FrmEdizione::FrmEdizione()
    : WizardScreen("FrmEdizione", QStringLiteral("Seleziona Edizione"), "CboEdizioni", QStringLiteral("Edizioni")) {}

void FrmEdizione::startExchange() {
    const CurrentProfile& profile = CurrentProfile::instance();
    exchange(ServiceAddress::dates(profile.NomeUtente, profile.PasswordUtente, m_session.Testata));
}

// An empty listing still shows the screen, and says so where the list would be; "&Avanti" then passes an empty
// date on.
void FrmEdizione::listingArrived(const Outcome<QStringList>& entries) {
    for (const QString& code : entries ? entries.value() : QStringList()) {
        m_cboEdizioneDaPassare.append(code);
        m_list->addItem(ReaderTitle::longDateOfCode(code));
    }
    m_list->setCurrentIndex(m_list->count() - 1);
    if (m_list->count() == 0)
        showEmptyNotice(entries ? QStringLiteral("Nessuna data disponibile per questa testata.")
                                : withReason(QStringLiteral("Nessuna data disponibile."), entries.reason()));
    appear();
}

QString FrmEdizione::selectedCode() const {
    return m_cboEdizioneDaPassare.value(m_list->currentIndex());
}

// With no date listed, an empty date code goes on.
void FrmEdizione::CmdContinua_Click() {
    m_session.Edizione = selectedCode();
    stepTo(WizardSteps::Step::Download);
}
