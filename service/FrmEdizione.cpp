#include "FrmEdizione.h"

#include "FrmDownload.h"
#include "FrmTestata.h"
#include "ServiceAddress.h"
#include "app/SharedState.h"
#include "platform/Screen.h"
#include "reader/ReaderTitle.h"

#include <QComboBox>

FrmEdizione::FrmEdizione()
    : WizardScreen("FrmEdizione", QStringLiteral("Seleziona Edizione"), "CboEdizioni", QStringLiteral("Edizioni")) {}

void FrmEdizione::Form_Load() {
    const SharedState& shared = SharedState::instance();
    for (const QString& code : exchange(ServiceAddress::dates(shared.NomeUtente, shared.PasswordUtente, shared.Testata))) {
        m_cboEdizioneDaPassare.append(code);
        m_list->addItem(ReaderTitle::longDateOfCode(code));
    }
    m_list->setCurrentIndex(m_list->count() - 1);
    m_list->setFocus();
}

QString FrmEdizione::selectedCode() const { return m_cboEdizioneDaPassare.value(m_list->currentIndex()); }

// Any failure on the way ends the step without a message.
void FrmEdizione::CmdContinua_Click() {
    try {
        SharedState::instance().Edizione = selectedCode();
        close();
        Screen<FrmDownload>::show();
    } catch (...) {
    }
}

void FrmEdizione::stepBack() {
    Screen<FrmTestata>::show();
    close();
}
