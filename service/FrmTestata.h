#pragma once

#include "WizardScreen.h"

// First step of the download wizard: the mastheads the profile may fetch.
class FrmTestata : public WizardScreen {
    Q_OBJECT

public:
    FrmTestata();
    // Every opening starts the wizard afresh, with no choice made.
    void Form_Load() { begin(WizardSession{}); }

protected:
    void startExchange() override;
    void listingArrived(const Outcome<QStringList>& entries) override;
    void CmdContinua_Click() override;
    void stepBack() override { close(); }
};
