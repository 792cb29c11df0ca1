#include "FrmCercaGiornali.h"

#include "FrmSelezionaGiornale.h"
#include "IssueOpening.h"
#include "StoreSearch.h"
#include "platform/Announcer.h"
#include "platform/Controls.h"
#include "platform/KeyAscii.h"
#include "platform/KeyGuide.h"
#include "platform/MainMenu.h"
#include "platform/ProgramFolder.h"
#include "platform/SharedState.h"

#include <QComboBox>
#include <QShortcut>

namespace {

const QString kTitle = QStringLiteral("Cerca nei giornali");
constexpr qsizetype kMaxResults = 2000; // a word that common is not a search

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
    m_quiet.setSingleShot(true);
    connect(&m_quiet, &QTimer::timeout, this, [this] {
        m_window = Toolkit::current().showWait(QStringLiteral("Ricerca in corso…"), kTitle, [this] {
            m_cancelled = true;
            m_runner->stop();
        });
    });
}

void FrmCercaGiornali::Form_Load() {
    m_word = Toolkit::current().askText(QStringLiteral("Parola da cercare:"), kTitle).trimmed();
    if (m_word.isEmpty()) {
        close();
        return;
    }
    m_issues = ArchiveLibrary::list(ProgramFolder::join(QStringLiteral("Giornali")));
    m_list->setFocus();
    m_quiet.start(300);
    QStringList paths;
    for (const ArchiveLibrary::StoredIssue& issue : std::as_const(m_issues))
        paths << issue.path;
    m_runner = new StoreSearch::Runner(paths, m_word, this);
    connect(m_runner, &StoreSearch::Runner::found, this, &FrmCercaGiornali::addHits);
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
    m_quiet.stop();
    m_window.reset();
    const QString found =
        m_results.size() == 1 ? QStringLiteral("1 risultato") : QStringLiteral("%1 risultati").arg(m_results.size());
    m_status->say(m_tooMany     ? found + QStringLiteral(" (ricerca interrotta: troppi risultati)")
                  : m_cancelled ? found + QStringLiteral(" (ricerca interrotta)")
                                : found);
}

// As the library opens an issue, then on to the article, with the word selected.
void FrmCercaGiornali::open() {
    const int row = m_list->currentIndex();
    if (row < 0 || row >= m_results.size())
        return;
    const Result& result = m_results.at(row);
    SharedState::instance().NomeScaricato.clear();
    SharedState::instance().NomeGiornale = FrmSelezionaGiornale::nomeGiornale(result.issue.path).value_or(QString());
    IssueOpening::start(result.issue.path, IssueOpening::Target{result.hit.indexFile, result.hit.code,
                                                                result.hit.offset, result.hit.length});
    close();
}

void FrmCercaGiornali::closeEvent(QCloseEvent* event) {
    if (m_runner)
        m_runner->stop();
    MainMenu::show();
    QWidget::closeEvent(event);
}
