#include "FrmTestata.h"

#include "FrmEdizione.h"
#include "ServiceAddress.h"
#include "platform/SharedState.h"
#include "platform/Toolkit.h"

#include <QComboBox>
#include <QPushButton>

FrmTestata::FrmTestata()
    : WizardScreen("FrmTestata", QStringLiteral("Seleziona Testata"), "CboGiornali", QStringLiteral("Testate")) {}

void FrmTestata::Form_Load() {
    const SharedState& shared = SharedState::instance();
    exchange(ServiceAddress::mastheads(shared.NomeUtente, shared.PasswordUtente));
}

// The wizard starts afresh once the service has answered; a wait the user cancels leaves every choice as it was.
void FrmTestata::listingArrived(const Outcome<QStringList>& entries) {
    SharedState& shared = SharedState::instance();
    shared.NomeGiornale.clear();
    shared.Testata.clear();
    shared.Edizione.clear();
    shared.NomeScaricato.clear();
    if (entries && !entries.value().isEmpty()) {
        m_list->addItems(entries.value());
        m_list->setCurrentIndex(0);
        appear();
        return;
    }
    takeOver();
    Toolkit::current().message(
        withReason(QStringLiteral("Elenco giornali non presente o utente non abilitato!"), entries.reason()),
        QStringLiteral("Lettore Giornali Progetto Ondaris"), Toolkit::Icon::Stop);
    m_continua->setEnabled(false);
    close();
}

void FrmTestata::CmdContinua_Click() {
    SharedState::instance().Testata = m_list->currentText();
    stepTo<FrmEdizione>();
}
