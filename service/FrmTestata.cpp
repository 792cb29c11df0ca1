#include "FrmTestata.h"

#include "FrmEdizione.h"
#include "ServiceAddress.h"
#include "app/SharedState.h"
#include "platform/Screen.h"
#include "platform/Toolkit.h"

#include <QComboBox>
#include <QPushButton>

FrmTestata::FrmTestata()
    : WizardScreen("FrmTestata", QStringLiteral("Seleziona Testata"), "CboGiornali", QStringLiteral("Testate")) {}

void FrmTestata::Form_Load() {
    SharedState& shared = SharedState::instance();
    shared.NomeGiornale.clear();
    shared.Testata.clear();
    shared.Edizione.clear();
    shared.NomeScaricato.clear();
    m_list->addItems(exchange(ServiceAddress::mastheads(shared.NomeUtente, shared.PasswordUtente)));
    if (m_list->count() > 0) {
        m_list->setCurrentIndex(0);
        m_list->setFocus();
        return;
    }
    Toolkit::current().message(QStringLiteral("Elenco giornali non presente o utente non abilitato!"),
                               QStringLiteral("Lettore Giornali Progetto Ondaris"), Toolkit::Icon::Stop);
    m_continua->setEnabled(false);
    close();
}

void FrmTestata::CmdContinua_Click() {
    SharedState::instance().Testata = m_list->currentText();
    Screen<FrmEdizione>::show();
    close();
}
