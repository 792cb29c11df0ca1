#include "FrmNuovoAbbonamento.h"

#include "Deliveries.h"
#include "platform/Controls.h"
#include "platform/CurrentProfile.h"
#include "platform/KeyAscii.h"
#include "platform/KeyGuide.h"
#include "platform/Screen.h"
#include "platform/Toolkit.h"
#include "service/ServiceAddress.h"
#include "service/ServiceWait.h"

#include <QComboBox>
#include <QPushButton>
#include <QShortcut>

namespace {

const QString kTitle = QStringLiteral("Aggiungi giornale");

} // namespace

FrmNuovoAbbonamento::FrmNuovoAbbonamento()
    : m_mastheads(new QComboBox(this)), m_editions(new QComboBox(this)), m_avanti(new QPushButton(this)),
      m_annulla(new QPushButton(this)) {
    setObjectName(QStringLiteral("FrmNuovoAbbonamento"));
    setWindowTitle(kTitle);
    setFixedSize(420, 100);
    m_mastheads->setObjectName(QStringLiteral("CboTestate"));
    m_mastheads->setGeometry(12, 12, 396, 26);
    nameList(m_mastheads, QStringLiteral("Testate"));
    m_editions->setObjectName(QStringLiteral("CboEdizioni"));
    m_editions->setGeometry(12, 12, 396, 26);
    nameList(m_editions, QStringLiteral("Edizioni provinciali"));
    m_editions->hide();
    m_annulla->setObjectName(QStringLiteral("CmdAnnulla"));
    setCaption(m_annulla, QStringLiteral("A&nnulla"));
    m_annulla->setGeometry(12, 56, 190, 30);
    m_avanti->setObjectName(QStringLiteral("CmdAvanti"));
    setCaption(m_avanti, QStringLiteral("&Avanti"));
    m_avanti->setGeometry(218, 56, 190, 30);
    setTabOrder(m_mastheads, m_editions);
    setTabOrder(m_editions, m_avanti);
    setTabOrder(m_avanti, m_annulla);
    for (QComboBox* list : {m_mastheads, m_editions}) {
        onKeyPress(list, [this](int key) {
            if (key == kKeyEnter)
                enter();
        });
    }
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &FrmNuovoAbbonamento::back);
    connect(m_avanti, &QPushButton::clicked, this, &FrmNuovoAbbonamento::enter);
    connect(m_annulla, &QPushButton::clicked, this, &QWidget::close);
    addKeyGuide(this, QStringLiteral("Tasti di Aggiungi giornale"),
                {QStringLiteral("Frecce, prime lettere: scelgono nell'elenco."),
                 QStringLiteral("Invio o Alt+A: sceglie la testata, poi l'edizione provinciale, se ce ne sono."),
                 QStringLiteral("Esc: torna alle testate, o chiude."),
                 QStringLiteral("Alt+N: chiude senza aggiungere."), QStringLiteral("F1: questa guida.")});
    setProperty(kWaiting, true); // until the mastheads have come
}

void FrmNuovoAbbonamento::Form_Load() {
    const CurrentProfile& profile = CurrentProfile::instance();
    ask(ServiceAddress::mastheads(profile.NomeUtente, profile.PasswordUtente), ServiceRequest::Expect::Page,
        [this](const Outcome<ServiceRequest::Answer>& answer, bool) {
            if (!answer)
                return fail(QStringLiteral("Le testate non sono state ricevute."), answer.reason());
            if (answer.value().entries.isEmpty())
                return fail(QStringLiteral("Il servizio non elenca nessuna testata."),
                            QStringLiteral("il profilo potrebbe non essere riconosciuto"));
            m_mastheads->addItems(answer.value().entries);
            m_mastheads->setCurrentIndex(0);
            setProperty(kWaiting, false);
            show();
            activateWindow();
            showList(m_mastheads);
        });
}

void FrmNuovoAbbonamento::ask(const QUrl& address, ServiceRequest::Expect expect,
                              std::function<void(const Outcome<ServiceRequest::Answer>&, bool archive)> then) {
    auto* request = new ServiceRequest(address, expect, this);
    new ServiceWait(request, {});
    m_request = request;
    connect(request, &ServiceRequest::finished, this,
            [request, then = std::move(then)](const Outcome<ServiceRequest::Answer>& answer) {
                request->deleteLater();
                then(answer, request->isDownload());
            });
    request->start();
}

void FrmNuovoAbbonamento::enter() {
    if (m_request && m_request->isRunning())
        return;
    if (m_editions->isVisible() && m_editions->currentIndex() >= 0)
        subscribe(m_mastheads->currentText(), m_editions->currentText());
    else if (m_mastheads->isVisible() && m_mastheads->currentIndex() >= 0)
        chooseMasthead();
}

void FrmNuovoAbbonamento::chooseMasthead() {
    const CurrentProfile& profile = CurrentProfile::instance();
    const QString masthead = m_mastheads->currentText();
    ask(ServiceAddress::dates(profile.NomeUtente, profile.PasswordUtente, masthead), ServiceRequest::Expect::Page,
        [this, masthead](const Outcome<ServiceRequest::Answer>& answer, bool) {
            if (!answer)
                return fail(QStringLiteral("I numeri di %1 non sono stati ricevuti.").arg(masthead), answer.reason());
            datesArrived(masthead, answer.value().entries);
        });
}

// The newest issue tells whether the masthead comes in provincial editions. Its archive is not fetched: an answer
// that begins as an archive is stopped at once (no place was given to store it) and means "no editions".
void FrmNuovoAbbonamento::datesArrived(const QString& masthead, const QStringList& dates) {
    if (dates.isEmpty())
        return subscribe(masthead, {});
    const CurrentProfile& profile = CurrentProfile::instance();
    ask(ServiceAddress::editions(profile.NomeUtente, profile.PasswordUtente, masthead, dates.last()),
        ServiceRequest::Expect::PageOrArchive,
        [this, masthead](const Outcome<ServiceRequest::Answer>& answer, bool archive) {
            if (archive)
                return subscribe(masthead, {});
            if (!answer)
                return fail(QStringLiteral("Le edizioni di %1 non sono state ricevute.").arg(masthead),
                            answer.reason());
            editionsArrived(masthead, answer.value().entries);
        });
}

void FrmNuovoAbbonamento::editionsArrived(const QString& masthead, const QStringList& editions) {
    if (editions.isEmpty())
        return subscribe(masthead, {});
    m_editions->clear();
    m_editions->addItems(editions);
    m_editions->setCurrentIndex(0);
    showList(m_editions);
}

void FrmNuovoAbbonamento::subscribe(const QString& masthead, const QString& edition) {
    Subscription subscription;
    subscription.masthead = masthead;
    subscription.edition = edition;
    close(); // "I miei giornali" says it once the subscription is there
    if (Deliveries* deliveries = Deliveries::ofProgram())
        deliveries->add(subscription);
}

// The new list is shown before the old one is hidden, so the focus never passes elsewhere.
void FrmNuovoAbbonamento::showList(QComboBox* list) {
    list->show();
    list->setFocus();
    (list == m_mastheads ? m_editions : m_mastheads)->hide();
}

void FrmNuovoAbbonamento::back() {
    if (m_request && m_request->isRunning())
        return;
    if (m_editions->isVisible())
        showList(m_mastheads);
    else
        close();
}

void FrmNuovoAbbonamento::fail(const QString& what, const QString& reason) {
    const bool shown = !property(kWaiting).toBool();
    if (!shown)
        close();
    Toolkit::current().message(shown ? this : nullptr, withReason(what, reason), kTitle, Toolkit::Icon::Stop);
}

void FrmNuovoAbbonamento::closeEvent(QCloseEvent* event) {
    if (m_request)
        m_request->cancel();
    QWidget::closeEvent(event);
}
