#include "FrmMieiGiornali.h"

#include "Deliveries.h"
#include "FrmNuovoAbbonamento.h"
#include "platform/Announcer.h"
#include "platform/Controls.h"
#include "platform/KeyGuide.h"
#include "platform/MainMenu.h"
#include "platform/Screen.h"
#include "platform/Toolkit.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>

namespace {

const QString kTitle = QStringLiteral("I miei giornali");

QString describedCheck(const Subscription& subscription) {
    const QString checked =
        subscription.lastCheck.isValid()
            ? QStringLiteral("Ultimo controllo: %1.")
                  .arg(QLocale(QLocale::Italian).toString(subscription.lastCheck, QStringLiteral("d MMMM yyyy, HH:mm")))
            : QStringLiteral("Non ancora controllato.");
    const QString last = subscription.lastIssue.isEmpty()
                             ? QStringLiteral("Nessun numero ricevuto finora.")
                             : QStringLiteral("Ultimo numero ricevuto: %1.").arg(subscription.lastIssue);
    const QString kept =
        subscription.keep > 0 ? QStringLiteral(" Tiene gli ultimi %1 numeri.").arg(subscription.keep) : QString();
    return checked + QLatin1Char(' ') + last + kept;
}

} // namespace

FrmMieiGiornali::FrmMieiGiornali()
    : m_deliveries(Deliveries::ofProgram()), m_list(new QComboBox(this)), m_state(new QLabel(this)),
      m_aggiungi(new QPushButton(this)), m_controlla(new QPushButton(this)), m_tieni(new QPushButton(this)),
      m_status(new Announcer(this)) {
    setObjectName(QStringLiteral("FrmMieiGiornali"));
    setWindowTitle(kTitle);
    setFixedSize(560, 150);
    m_list->setObjectName(QStringLiteral("CboMieiGiornali"));
    m_list->setGeometry(12, 12, 536, 26);
    nameList(m_list, kTitle);
    m_state->setObjectName(QStringLiteral("LblStato"));
    m_state->setGeometry(12, 44, 536, 54);
    m_state->setWordWrap(true);
    m_state->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_aggiungi->setObjectName(QStringLiteral("CmdAggiungi"));
    setCaption(m_aggiungi, QStringLiteral("&Aggiungi"));
    m_aggiungi->setGeometry(12, 106, 170, 30);
    m_controlla->setObjectName(QStringLiteral("CmdControlla"));
    setCaption(m_controlla, QStringLiteral("&Controlla ora"));
    m_controlla->setGeometry(195, 106, 170, 30);
    m_tieni->setObjectName(QStringLiteral("CmdTieni"));
    setCaption(m_tieni, QStringLiteral("&Tieni gli ultimi…"));
    m_tieni->setGeometry(378, 106, 170, 30);
    m_status->setGeometry(0, 0, 1, 1); // for the ear and the braille display: the label below the list shows it
    setTabOrder(m_list, m_aggiungi);
    setTabOrder(m_aggiungi, m_controlla);
    setTabOrder(m_controlla, m_tieni);

    auto* canc = new QShortcut(Qt::Key_Delete, m_list);
    canc->setContext(Qt::WidgetShortcut);
    connect(canc, &QShortcut::activated, this, &FrmMieiGiornali::removeSelected);
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::close);
    connect(m_list, &QComboBox::currentIndexChanged, this, &FrmMieiGiornali::describeSelected);
    connect(m_aggiungi, &QPushButton::clicked, this, [] { Screen<FrmNuovoAbbonamento>::show(); });
    connect(m_controlla, &QPushButton::clicked, this, &FrmMieiGiornali::checkNow);
    connect(m_tieni, &QPushButton::clicked, this, &FrmMieiGiornali::askKeep);
    if (m_deliveries) {
        connect(m_deliveries, &Deliveries::changed, this, &FrmMieiGiornali::fill);
        connect(m_deliveries, &Deliveries::added, this, [this](int index, bool isNew) {
            fill();
            m_list->setCurrentIndex(index);
            m_list->setFocus();
            m_status->say((isNew ? QStringLiteral("%1 aggiunto ai giornali in abbonamento.")
                                 : QStringLiteral("%1 è già tra i giornali in abbonamento."))
                              .arg(m_list->currentText()));
        });
        connect(m_deliveries, &Deliveries::checkFinished, this, [this] {
            if (std::exchange(m_checkAsked, false))
                m_status->say(QStringLiteral("Controllo finito: %1.").arg(m_deliveries->lastCheckSummary()));
        });
    }
    addKeyGuide(this, QStringLiteral("Tasti di I miei giornali"),
                {QStringLiteral("Frecce: scorrono i giornali in abbonamento."),
                 QStringLiteral("Alt+A: aggiunge un giornale, scelto dagli elenchi del servizio."),
                 QStringLiteral("Alt+C: controlla subito se sono arrivati numeri nuovi; Alt+F ferma il controllo in "
                                "corso."),
                 QStringLiteral("Alt+T: quanti numeri del giornale scelto tenere; i più vecchi si eliminano a ogni "
                                "arrivo (0 li tiene tutti)."),
                 QStringLiteral("Canc: toglie il giornale scelto, dopo una domanda."),
                 QStringLiteral("Esc: torna al menu principale."),
                 QStringLiteral("I giornali arrivano da soli mentre il programma è aperto. Anche a programma "
                                "chiuso, con: systemctl --user enable --now lettore-giornali-aggiorna.timer"),
                 QStringLiteral("F1: questa guida.")});
}

void FrmMieiGiornali::Form_Load() {
    fill();
}

// The entries are changed in place when the subscriptions are the same ones, so that a check does not make the
// list speak again.
void FrmMieiGiornali::fill() {
    if (!m_deliveries)
        return;
    const QList<Subscription>& subscriptions = m_deliveries->subscriptions().list;
    QStringList names;
    for (const Subscription& subscription : subscriptions)
        names << subscription.shownName();
    QStringList shown;
    for (int i = 0; i < m_list->count(); ++i)
        shown << m_list->itemText(i);
    if (names != shown) {
        const int row = std::max(0, m_list->currentIndex());
        m_list->clear();
        m_list->addItems(names);
        m_list->setCurrentIndex(std::min(row, static_cast<int>(m_list->count()) - 1));
    }
    for (int i = 0; i < subscriptions.size(); ++i)
        m_list->setItemData(i, describedCheck(subscriptions.at(i)), Qt::AccessibleDescriptionRole);
    describeSelected();
}

// While a check runs, the same button stops it.
void FrmMieiGiornali::checkNow() {
    if (!m_deliveries)
        return;
    if (m_deliveries->isChecking()) {
        m_checkAsked = false;
        m_deliveries->cancel();
        m_status->say(QStringLiteral("Controllo fermato."));
        return;
    }
    const Outcome<> started = m_deliveries->checkNow();
    m_checkAsked = started.ok();
    m_status->say(started ? QStringLiteral("Controllo in corso.")
                          : QStringLiteral("Nessun controllo: %1.").arg(started.reason()));
}

// Below the list: why nothing is checked, or the check under way, or the selected subscription's last check.
void FrmMieiGiornali::describeSelected() {
    QString text;
    if (!m_deliveries)
        text = QStringLiteral("I giornali in abbonamento non sono disponibili.");
    else if (!m_deliveries->standstill().isEmpty())
        text = m_deliveries->standstill();
    else if (m_list->count() == 0)
        text = QStringLiteral("Nessun giornale in abbonamento. Alt+A ne aggiunge uno.");
    else
        text = m_list->currentData(Qt::AccessibleDescriptionRole).toString();
    const bool checking = m_deliveries && m_deliveries->isChecking();
    if (checking)
        text = QStringLiteral("Controllo in corso. ") + text;
    m_state->setText(text);
    setCaption(m_controlla, checking ? QStringLiteral("&Ferma il controllo") : QStringLiteral("&Controlla ora"));
}

void FrmMieiGiornali::removeSelected() {
    const int row = m_list->currentIndex();
    if (row < 0 || !m_deliveries)
        return;
    const QString name = m_list->currentText();
    Toolkit::current().confirm(this, QStringLiteral("Togliere %1 dai giornali in abbonamento?").arg(name), kTitle,
                               [this, row, name](bool yes) {
                                   if (yes && m_deliveries && row < m_deliveries->subscriptions().list.size() &&
                                       m_deliveries->subscriptions().list.at(row).shownName() == name)
                                       m_deliveries->remove(row);
                               });
}

void FrmMieiGiornali::askKeep() {
    const int row = m_list->currentIndex();
    if (row < 0 || !m_deliveries)
        return;
    const QString name = m_list->currentText();
    Toolkit::current().askNumber(
        this,
        QStringLiteral("Quanti numeri di %1 tenere? I più vecchi si eliminano a ogni arrivo; 0 li tiene tutti.")
            .arg(name),
        kTitle, m_deliveries->subscriptions().list.at(row).keep, 0, 1000, [this, row, name](std::optional<int> keep) {
            if (!keep || !m_deliveries || row >= m_deliveries->subscriptions().list.size() ||
                m_deliveries->subscriptions().list.at(row).shownName() != name)
                return;
            m_deliveries->setKeep(row, *keep);
            m_status->say(*keep > 0 ? QStringLiteral("Di %1 si tengono gli ultimi %2 numeri.").arg(name).arg(*keep)
                                    : QStringLiteral("Di %1 si tengono tutti i numeri.").arg(name));
        });
}

void FrmMieiGiornali::closeEvent(QCloseEvent* event) {
    MainMenu::show();
    QWidget::closeEvent(event);
}
