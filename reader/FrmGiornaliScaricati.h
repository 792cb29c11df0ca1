#pragma once

#include "ArchiveLibrary.h"

#include <QWidget>
#include <functional>

class DelayedProgress;
class QComboBox;
class QPushButton;

// The library of stored issues: one list, newest issue first, each entry as the reader would title it. Enter
// opens the issue as "Leggi giornale" would; Canc deletes it after a question; "Elimina i giornali più vecchi
// di…" deletes the issues older than a number of days; Esc returns to the main menu. The store is listed, and
// issues deleted, in a worker: the screen shows itself once its list is there, and a listing that lasts shows a
// wait whose "Annulla" goes back to the main menu.
class FrmGiornaliScaricati : public QWidget {
    Q_OBJECT

public:
    FrmGiornaliScaricati();
    void Form_Load();

    // What Ctrl+E does with the chosen issue's archive (the export's screen lives above the reader).
    using ExportAction =
        std::function<void(QWidget* window, const QString& archive, const QString& title, const QString& key)>;
    static void setExportAction(ExportAction action);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Lists the store again, puts the row in front, then says the failures given.
    void fill(int row, const QStringList& failures = {});
    void listed(const Outcome<QList<ArchiveLibrary::StoredIssue>>& issues, int row, const QStringList& failures);
    void listKeyPress(int keyAscii);
    void open();
    void deleteSelected();
    void exportSelected();
    void CmdEliminaVecchi_Click();
    void deleteOlderThan(int days);
    void removeAndFill(const QList<ArchiveLibrary::StoredIssue>& issues, int row);
    void reportFailures(const QStringList& failures);

    QComboBox* m_list;
    QPushButton* m_eliminaVecchi;
    QList<ArchiveLibrary::StoredIssue> m_issues;
    DelayedProgress* m_wait = nullptr;
};
