#include "FrmTestata.h"

#include "ServiceAddress.h"
#include "platform/CurrentProfile.h"

#include <QComboBox>
#include <QPushButton>

FrmTestata::FrmTestata()
    : WizardScreen("FrmTestata", QStringLiteral("Seleziona Testata"), "CboGiornali", QStringLiteral("Testate")) {}

void FrmTestata::startExchange() {
    const CurrentProfile& profile = CurrentProfile::instance();
    exchange(ServiceAddress::mastheads(profile.NomeUtente, profile.PasswordUtente));
}

void FrmTestata::listingArrived(const Outcome<QStringList>& entries) {
    if (entries && !entries.value().isEmpty()) {
        m_list->addItems(entries.value());
        m_list->setCurrentIndex(0);
        appear();
        return;
    }
    takeOver();
    m_continua->setEnabled(false);
    say(withReason(QStringLiteral("Elenco giornali non presente o utente non abilitato!"), entries.reason()),
        QStringLiteral("Lettore Giornali Progetto Ondaris"), Toolkit::Icon::Stop, [this] { close(); });
}

void FrmTestata::CmdContinua_Click() {
    m_session.Testata = m_list->currentText();
    stepTo(WizardSteps::Step::Dates);
}
