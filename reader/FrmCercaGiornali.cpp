#include "FrmCercaGiornali.h"

#include "Module1.h"
#include "platform/Announcer.h"
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
#include <QShortcut>

namespace {

const QString kTitle = QStringLiteral("Cerca nei giornali");
constexpr qsizetype kMaxResults = 2000; // a word that common is not a search
constexpr qsizetype kNamedUnreadable = 3;

// "2 giornali non leggibili: «a.zip» è danneggiato; «b.zip» non si può leggere", the first few named.
QString unreadableText(const QStringList& reasons) {
    const qsizetype count = reasons.size();
    QStringList named = reasons.mid(0, kNamedUnreadable);
    if (count > kNamedUnreadable)
        named << QStringLiteral("e altri %1").arg(count - kNamedUnreadable);
    return (count == 1 ? QStringLiteral("1 giornale non leggibile")
                       : QStringLiteral("%1 giornali non leggibili").arg(count)) +
           QStringLiteral(": ") + named.join(QStringLiteral("; "));
}

} // namespace

FrmCercaGiornali::FrmCercaGiornali() : m_list(new QComboBox(this)), m_status(new Announcer(this)) {
    setObjectName(QStringLiteral("FrmCercaGiornali"));
    setWindowTitle(kTitle);
    setFixedSize(640, 100);
    m_list->setObjectName(QStringLiteral("CboRisultati"));
    m_list->setGeometry(12, 12, 616, 26);
    nameList(m_list, QStringLiteral("Risultati"));
    m_status->setGeometry(12, 50, 616, 40);
    onKeyPress(m_list, [this](int key) {
        if (key == kKeyEnter)
            open();
    });
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::close);
    addKeyGuide(this, QStringLiteral("Tasti della ricerca"),
                {QStringLiteral("Frecce: scorrono i risultati, dal giornale più recente."),
                 QStringLiteral("Invio: apre il giornale all'articolo, con la parola selezionata."),
                 QStringLiteral("Esc: torna al menu principale."), QStringLiteral("F1: questa guida.")});
}

// The screen shows itself only once the word is given, so the box keeps the focus until then.
void FrmCercaGiornali::Form_Load() {
    setProperty(kWaiting, true);
    Toolkit::current().askText(this, QStringLiteral("Parola da cercare:"), kTitle,
                               [this](const QString& word) { search(word.trimmed()); });
}

void FrmCercaGiornali::search(const QString& word) {
    setProperty(kWaiting, false);
    if (word.isEmpty()) {
        close();
        return;
    }
    m_word = word;
    show();
    activateWindow();
    m_list->setFocus();
    m_wait = new DelayedProgress(
        QStringLiteral("Ricerca in corso…"), kTitle,
        [this] {
            m_cancelled = true;
            if (m_runner)
                m_runner->stop();
        },
        this);
    runInWorker(
        this, [store = ProgramFolder::join(QStringLiteral("Giornali"))] { return ArchiveLibrary::list(store); },
        [this](const Outcome<QList<ArchiveLibrary::StoredIssue>>& issues) { listed(issues); });
}

void FrmCercaGiornali::listed(const Outcome<QList<ArchiveLibrary::StoredIssue>>& issues) {
    if (!issues) {
        delete std::exchange(m_wait, nullptr);
        m_status->say(withReason(QStringLiteral("Impossibile cercare nei giornali scaricati."), issues.reason()));
        return;
    }
    if (m_cancelled) {
        finish();
        return;
    }
    m_issues = issues.value();
    QStringList paths;
    for (const ArchiveLibrary::StoredIssue& issue : std::as_const(m_issues))
        paths << issue.path;
    m_runner = new StoreSearch::Runner(paths, m_word, this);
    connect(m_runner, &StoreSearch::Runner::found, this, &FrmCercaGiornali::addHits);
    connect(m_runner, &StoreSearch::Runner::unreadable, this,
            [this](int, const QString& reason) { m_unreadable << reason; });
    connect(m_runner, &StoreSearch::Runner::finished, this, &FrmCercaGiornali::finish);
    m_runner->start();
}

// Each archive's results are added as soon as it and the newer ones are read.
void FrmCercaGiornali::addHits(int archive, const QList<ArticleSearch::Hit>& hits) {
    const ArchiveLibrary::StoredIssue& issue = m_issues.at(archive);
    const int row = m_list->currentIndex();
    for (const ArticleSearch::Hit& hit : hits) {
        if (m_results.size() >= kMaxResults) {
            m_tooMany = true;
            m_runner->stop();
            break;
        }
        m_results.append({issue, hit});
        m_list->addItem(QStringLiteral("%1 - %2 - %3: %4").arg(issue.title, hit.section, hit.title, hit.context));
    }
    if (row < 0 && m_list->count() > 0)
        m_list->setCurrentIndex(0);
}

void FrmCercaGiornali::finish() {
    delete std::exchange(m_wait, nullptr);
    const QString found = m_results.isEmpty()     ? QStringLiteral("Nessun risultato per «%1»").arg(m_word)
                          : m_results.size() == 1 ? QStringLiteral("1 risultato")
                                                  : QStringLiteral("%1 risultati").arg(m_results.size());
    QString text = m_tooMany     ? found + QStringLiteral(" (ricerca interrotta: troppi risultati)")
                   : m_cancelled ? found + QStringLiteral(" (ricerca interrotta)")
                                 : found;
    if (!m_unreadable.isEmpty())
        text += QStringLiteral("; ") + unreadableText(m_unreadable);
    m_status->say(text);
}

// As the library opens an issue, then on to the article, with the word selected.
void FrmCercaGiornali::open() {
    const int row = m_list->currentIndex();
    if (row < 0 || row >= m_results.size())
        return;
    const Result& result = m_results.at(row);
    Module1::ApriArchivioScelto(
        result.issue.path, ArticleTarget{result.hit.indexFile, result.hit.code, result.hit.offset, result.hit.length});
    close();
}

void FrmCercaGiornali::closeEvent(QCloseEvent* event) {
    if (m_runner)
        m_runner->stop();
    MainMenu::show();
    QWidget::closeEvent(event);
}
