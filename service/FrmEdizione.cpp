#include "FrmEdizione.h"

#include "FrmDownload.h"
#include "FrmTestata.h"
#include "ServiceAddress.h"
#include "platform/SharedState.h"
#include "reader/ReaderTitle.h"

#include <QComboBox>

FrmEdizione::FrmEdizione()
    : WizardScreen("FrmEdizione", QStringLiteral("Seleziona Edizione"), "CboEdizioni", QStringLiteral("Edizioni")) {}

void FrmEdizione::Form_Load() {
    const SharedState& shared = SharedState::instance();
    exchange(ServiceAddress::dates(shared.NomeUtente, shared.PasswordUtente, shared.Testata));
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

// Any failure on the way ends the step without a message.
void FrmEdizione::CmdContinua_Click() {
    try {
        SharedState::instance().Edizione = selectedCode();
        stepTo<FrmDownload>();
    } catch (...) {
    }
}

void FrmEdizione::stepBack() {
    stepTo<FrmTestata>();
}
