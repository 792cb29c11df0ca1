#pragma once

#include "ExportRun.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

// "Esporta giornale": the format and the target folder (the last one kept in the settings file), then "Esporta"
// (Alt+E). The window closes and the export runs beside the reader behind the usual wait with "Annulla"; its end is
// said where the user is: "Giornale esportato in <cartella>.", with what was left out, or why it failed.
class FrmEsporta : public QDialog {
    Q_OBJECT

public:
    // The issue is the order's source: its extracted folder, or its stored archive, with its title and key.
    FrmEsporta(QWidget* over, const ExportRun::Order& issue, const QString& settingsFile);

    static FrmEsporta* choose(QWidget* over, const ExportRun::Order& issue, const QString& settingsFile);

private:
    void chooseFolder();
    void start();

    QComboBox* m_format;
    QLineEdit* m_folder;
    ExportRun::Order m_order;
    QString m_settingsFile;
};

// Runs the export in a worker, beside the window it was asked from, and says how it ended.
void startExport(QWidget* window, const ExportRun::Order& order);
