#include "FrmGiornaliScaricati.h"

#include "Module1.h"
#include "platform/Controls.h"
#include "platform/DelayedProgress.h"
#include "platform/KeyAscii.h"
#include "platform/KeyGuide.h"
#include "platform/MainMenu.h"
#include "platform/ProgramFolder.h"
#include "platform/Screen.h"
#include "platform/Toolkit.h"
#include "platform/Worker.h"

#include <QComboBox>
#include <QPushButton>
#include <QShortcut>
#include <atomic>
#include <memory>

namespace {

const QString kTitle = QStringLiteral("Giornali scaricati");

FrmGiornaliScaricati::ExportAction& exportAction() {
    static FrmGiornaliScaricati::ExportAction action;
    return action;
}

} // namespace

FrmGiornaliScaricati::FrmGiornaliScaricati() : m_list(new QComboBox(this)), m_eliminaVecchi(new QPushButton(this)) {
    setObjectName(QStringLiteral("FrmGiornaliScaricati"));
    setWindowTitle(kTitle);
    setFixedSize(520, 100);
    m_list->setObjectName(QStringLiteral("CboGiornaliScaricati"));
    m_list->setGeometry(12, 12, 496, 26);
    nameList(m_list, kTitle);
    m_eliminaVecchi->setObjectName(QStringLiteral("CmdEliminaVecchi"));
    setCaption(m_eliminaVecchi, QStringLiteral("&Elimina i giornali più vecchi di…"));
    m_eliminaVecchi->setGeometry(208, 56, 300, 30);
    setTabOrder(m_list, m_eliminaVecchi);

    onKeyPress(m_list, [this](int key) { listKeyPress(key); });
    auto* canc = new QShortcut(Qt::Key_Delete, m_list);
    canc->setContext(Qt::WidgetShortcut);
    connect(canc, &QShortcut::activated, this, &FrmGiornaliScaricati::deleteSelected);
    auto* esporta = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_E), m_list);
    esporta->setContext(Qt::WidgetShortcut);
    connect(esporta, &QShortcut::activated, this, &FrmGiornaliScaricati::exportSelected);
    connect(m_eliminaVecchi, &QPushButton::clicked, this, &FrmGiornaliScaricati::CmdEliminaVecchi_Click);
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::close);
    addKeyGuide(this, QStringLiteral("Tasti dei giornali scaricati"),
                {QStringLiteral("Frecce, Inizio, Fine: scorrono i giornali, dal più recente."),
                 QStringLiteral("Invio: apre il giornale scelto."),
                 QStringLiteral("Canc: elimina il giornale scelto, dopo una domanda."),
                 QStringLiteral("Ctrl+E: esporta il giornale scelto come EPUB o libro DAISY."),
                 QStringLiteral("Alt+E: elimina i giornali più vecchi di un numero di giorni."),
                 QStringLiteral("Esc: torna al menu principale."), QStringLiteral("F1: questa guida.")});
}

void FrmGiornaliScaricati::Form_Load() {
    setProperty(kWaiting, true); // until the list is there
    fill(0);
}

void FrmGiornaliScaricati::fill(int row, const QStringList& failures) {
    if (!m_wait)
        m_wait = new DelayedProgress(
            QStringLiteral("Lettura dei giornali scaricati…"), kTitle, [this] { close(); }, this);
    runInWorker(
        this, [store = ProgramFolder::join(QStringLiteral("Giornali"))] { return ArchiveLibrary::list(store); },
        [this, row, failures](const Outcome<QList<ArchiveLibrary::StoredIssue>>& issues) {
            listed(issues, row, failures);
        });
}

void FrmGiornaliScaricati::listed(const Outcome<QList<ArchiveLibrary::StoredIssue>>& issues, int row,
                                  const QStringList& failures) {
    if (property(kClosed).toBool())
        return; // cancelled while listing
    delete std::exchange(m_wait, nullptr);
    const bool waiting = property(kWaiting).toBool();
    if (!issues) {
        QString text = withReason(QStringLiteral("Impossibile elencare i giornali scaricati."), issues.reason());
        if (!failures.isEmpty())
            text += QStringLiteral("\nNon tutto è stato eliminato:\n") + failures.join(QLatin1Char('\n'));
        if (waiting)
            close(); // never shown: said over the main menu
        Toolkit::current().message(waiting ? nullptr : this, text, kTitle, Toolkit::Icon::Stop);
        return;
    }
    m_issues = issues.value();
    QStringList titles;
    for (const ArchiveLibrary::StoredIssue& issue : std::as_const(m_issues))
        titles << issue.title;
    m_list->clear();
    m_list->addItems(titles);
    m_list->setCurrentIndex(std::min(row, static_cast<int>(m_list->count()) - 1));
    if (waiting) {
        setProperty(kWaiting, false);
        show();
        activateWindow();
    }
    m_list->setFocus();
    reportFailures(failures);
}

void FrmGiornaliScaricati::listKeyPress(int keyAscii) {
    if (keyAscii == kKeyEnter)
        open();
}

// As choosing the file in "Leggi giornale"'s dialog: the chosen archive's name titles the reader.
void FrmGiornaliScaricati::open() {
    const int row = m_list->currentIndex();
    if (row < 0 || m_wait)
        return;
    Module1::ApriArchivioScelto(m_issues.at(row).path);
    close();
}

void FrmGiornaliScaricati::setExportAction(ExportAction action) {
    exportAction() = std::move(action);
}

void FrmGiornaliScaricati::exportSelected() {
    const int row = m_list->currentIndex();
    if (m_wait || !exportAction())
        return;
    if (row < 0) {
        Toolkit::current().message(this, QStringLiteral("Nessun giornale da esportare."), kTitle,
                                   Toolkit::Icon::Information);
        return;
    }
    const ArchiveLibrary::StoredIssue& issue = m_issues.at(row);
    exportAction()(this, issue.path, issue.title, issue.baseName);
}

void FrmGiornaliScaricati::deleteSelected() {
    const int row = m_list->currentIndex();
    if (row < 0 || m_wait)
        return;
    const ArchiveLibrary::StoredIssue issue = m_issues.at(row);
    Toolkit::current().confirm(this, QStringLiteral("Eliminare %1?").arg(issue.title), kTitle,
                               [this, issue, row](bool yes) {
                                   if (yes)
                                       removeAndFill({issue}, row);
                               });
}

void FrmGiornaliScaricati::CmdEliminaVecchi_Click() {
    if (m_wait)
        return;
    Toolkit::current().askNumber(this, QStringLiteral("Eliminare i giornali più vecchi di quanti giorni?"), kTitle, 30,
                                 0, 36500, [this](std::optional<int> days) {
                                     if (days)
                                         deleteOlderThan(*days);
                                 });
}

void FrmGiornaliScaricati::deleteOlderThan(int days) {
    const QList<ArchiveLibrary::StoredIssue> old = ArchiveLibrary::olderThan(m_issues, days);
    if (old.isEmpty()) {
        Toolkit::current().message(this, QStringLiteral("Nessun giornale è più vecchio di %1 giorni.").arg(days),
                                   kTitle, Toolkit::Icon::Information);
        return;
    }
    const QString question =
        old.size() == 1 ? QStringLiteral("Eliminare 1 giornale più vecchio di %1 giorni?").arg(days)
                        : QStringLiteral("Eliminare %1 giornali più vecchi di %2 giorni?").arg(old.size()).arg(days);
    QStringList named;
    for (qsizetype i = 0; i < std::min<qsizetype>(old.size(), 10); ++i)
        named << old.at(i).title;
    if (old.size() > 10)
        named << QStringLiteral("e altri %1").arg(old.size() - 10);
    Toolkit::current().confirm(this, question + QLatin1Char('\n') + named.join(QLatin1Char('\n')), kTitle,
                               [this, old](bool yes) {
                                   if (yes)
                                       removeAndFill(old, 0);
                               });
}

// While issues are deleted, and the list read again, the list's keys wait; "Annulla" stops after the issue under
// way, and the list shows what is left.
void FrmGiornaliScaricati::removeAndFill(const QList<ArchiveLibrary::StoredIssue>& issues, int row) {
    auto stop = std::make_shared<std::atomic_bool>(false);
    m_wait = new DelayedProgress(
        QStringLiteral("Eliminazione dei giornali…"), kTitle, [stop] { *stop = true; }, this);
    runInWorker(
        this, [issues, stop]() -> Outcome<QStringList> { return ArchiveLibrary::removeAll(issues, *stop); },
        [this, row](const Outcome<QStringList>& failures) {
            fill(row, failures ? failures.value() : QStringList{failures.reason()});
        });
}

void FrmGiornaliScaricati::reportFailures(const QStringList& failures) {
    if (failures.isEmpty())
        return;
    Toolkit::current().message(this,
                               QStringLiteral("Non tutto è stato eliminato:\n") + failures.join(QLatin1Char('\n')),
                               kTitle, Toolkit::Icon::Stop);
}

void FrmGiornaliScaricati::closeEvent(QCloseEvent* event) {
    MainMenu::show();
    QWidget::closeEvent(event);
}
