#include "FrmGiornaliArrivati.h"

#include "Deliveries.h"
#include "platform/Announcer.h"
#include "platform/Controls.h"
#include "platform/KeyAscii.h"
#include "platform/KeyGuide.h"
#include "platform/MainMenu.h"
#include "platform/ProgramFolder.h"
#include "platform/Screen.h"
#include "reader/Module1.h"

#include <QComboBox>
#include <QDir>
#include <QShortcut>
#include <algorithm>

namespace {

const QString kTitle = QStringLiteral("Giornali arrivati");

QList<Arrival> newestFirst() {
    Deliveries* deliveries = Deliveries::ofProgram();
    QList<Arrival> arrivals = deliveries ? deliveries->subscriptions().unopened : QList<Arrival>();
    std::reverse(arrivals.begin(), arrivals.end());
    return arrivals;
}

} // namespace

FrmGiornaliArrivati::FrmGiornaliArrivati() : m_list(new QComboBox(this)) {
    setObjectName(QStringLiteral("FrmGiornaliArrivati"));
    setWindowTitle(kTitle);
    setFixedSize(520, 50);
    m_list->setObjectName(QStringLiteral("CboGiornaliArrivati"));
    m_list->setGeometry(12, 12, 496, 26);
    nameList(m_list, kTitle);
    onKeyPress(m_list, [this](int key) {
        const int row = m_list->currentIndex();
        if (key != kKeyEnter || row < 0)
            return;
        const Arrival arrival = m_arrivals.at(row);
        close();
        open(arrival);
    });
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::close);
    addKeyGuide(this, QStringLiteral("Tasti dei giornali arrivati"),
                {QStringLiteral("Frecce: scorrono i giornali arrivati, dal più recente."),
                 QStringLiteral("Invio: apre il giornale scelto."), QStringLiteral("Esc: torna al menu principale."),
                 QStringLiteral("F1: questa guida.")});
}

void FrmGiornaliArrivati::Form_Load() {
    m_arrivals = newestFirst();
    for (const Arrival& arrival : std::as_const(m_arrivals))
        m_list->addItem(arrival.title);
    m_list->setCurrentIndex(0);
}

void FrmGiornaliArrivati::openNewest() {
    const QList<Arrival> arrivals = newestFirst();
    if (arrivals.isEmpty())
        sayWhereTheUserIs(QStringLiteral("Nessun giornale nuovo."));
    else if (arrivals.size() == 1)
        open(arrivals.first());
    else
        Screen<FrmGiornaliArrivati>::show();
}

void FrmGiornaliArrivati::open(const Arrival& arrival) {
    if (Deliveries* deliveries = Deliveries::ofProgram())
        deliveries->opened(arrival.archive);
    Module1::ApriArchivio(ProgramFolder::join(QStringLiteral("Giornali")) + QDir::separator() + arrival.archive,
                          arrival.title);
}

void FrmGiornaliArrivati::closeEvent(QCloseEvent* event) {
    MainMenu::show();
    QWidget::closeEvent(event);
}
