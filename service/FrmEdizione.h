#pragma once

#include "WizardScreen.h"

#include <QStringList>

// Second step: the issue dates of the chosen masthead, shown as long dates; the date codes are kept beside them.
class FrmEdizione : public WizardScreen {
    Q_OBJECT

public:
    FrmEdizione();

    // The date code of the entry selected in the list ("" with none).
    QString selectedCode() const;

protected:
    void startExchange() override;
    void listingArrived(const Outcome<QStringList>& entries) override;
    void CmdContinua_Click() override;
    void stepBack() override { stepTo(WizardSteps::Step::Mastheads); }

private:
    QStringList m_cboEdizioneDaPassare; // the codes as listed, parallel to the shown dates
};
