#pragma once

#include "WizardScreen.h"

// First step of the download wizard: the mastheads the profile may fetch.
class FrmTestata : public WizardScreen {
    Q_OBJECT

public:
    FrmTestata();
    void Form_Load();

protected:
    void listingArrived(const Outcome<QStringList>& entries) override;
    void CmdContinua_Click() override;
    void stepBack() override { close(); }
};
