#pragma once

#include "ArchiveLibrary.h"

#include <QWidget>

class QComboBox;
class QPushButton;

// The library of stored issues: one list, newest issue first, each entry as the reader would title it. Enter
// opens the issue as "Leggi giornale" would; Canc deletes it after a question; "Elimina i giornali più vecchi
// di…" deletes the issues older than a number of days; Esc returns to the main menu.
class FrmGiornaliScaricati : public QWidget {
    Q_OBJECT

public:
    FrmGiornaliScaricati();
    void Form_Load();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fill(int row);
    void listKeyPress(int keyAscii);
    void open();
    void deleteSelected();
    void CmdEliminaVecchi_Click();
    void reportFailures(const QStringList& failures);

    QComboBox* m_list;
    QPushButton* m_eliminaVecchi;
    QList<ArchiveLibrary::StoredIssue> m_issues;
};
