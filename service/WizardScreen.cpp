#include "WizardScreen.h"

#include "ServiceWait.h"
#include "platform/Controls.h"
#include "platform/FocusFrame.h"
#include "platform/KeyAscii.h"
#include "platform/KeyGuide.h"
#include "platform/Screen.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

WizardScreen::WizardScreen(const char* name, const QString& caption, const char* listName,
                           const QString& listAccessibleName)
    : m_list(new QComboBox(this)), m_continua(new QPushButton(this)), m_command1(new QPushButton(this)),
      m_notice(new QLabel(this)) {
    setObjectName(QLatin1String(name));
    setWindowTitle(caption);
    setFixedSize(420, 100);
    m_list->setObjectName(QLatin1String(listName));
    m_list->setGeometry(12, 12, 396, 26);
    nameList(m_list, listAccessibleName);
    m_notice->setObjectName(QStringLiteral("AvvisoElencoVuoto"));
    m_notice->setGeometry(m_list->geometry());
    m_notice->setFocusPolicy(Qt::StrongFocus);
    m_notice->hide();
    m_command1->setObjectName(QStringLiteral("Command1"));
    setCaption(m_command1, QStringLiteral("A&nnulla"));
    m_command1->setGeometry(12, 56, 190, 30);
    m_continua->setObjectName(QStringLiteral("CmdContinua"));
    setCaption(m_continua, QStringLiteral("&Avanti"));
    m_continua->setGeometry(218, 56, 190, 30);
    setTabOrder(m_list, m_notice);
    setTabOrder(m_notice, m_continua);
    setTabOrder(m_continua, m_command1);

    onKeyPress(m_list, [this](int key) { listKeyPress(key); });
    onKeyPress(m_notice, [this](int key) { listKeyPress(key); });
    connect(m_continua, &QPushButton::clicked, this, [this] {
        if (!busy())
            CmdContinua_Click();
    });
    connect(m_command1, &QPushButton::clicked, this, &WizardScreen::Command1_Click);
    addKeyGuide(this, QStringLiteral("Tasti dello scaricamento"),
                {QStringLiteral("Frecce, Inizio, Fine, prime lettere: scelgono nell'elenco."),
                 QStringLiteral("Invio o Alt+A: va avanti con la voce scelta."),
                 QStringLiteral("Esc: torna al passo precedente."),
                 QStringLiteral("Alt+N: annulla e torna al menu principale."), QStringLiteral("F1: questa guida.")});
    setProperty(kWaiting, true); // until the page has arrived
}

void WizardScreen::listKeyPress(int keyAscii) {
    if (busy())
        return;
    if (keyAscii == kKeyEnter)
        CmdContinua_Click();
    else if (keyAscii == kKeyEsc)
        stepBack();
}

bool WizardScreen::isWaiting() const {
    return property(kWaiting).toBool() && !property(kClosed).toBool();
}

bool WizardScreen::busy() const {
    return (m_request && m_request->isRunning()) || (m_next && m_next->isWaiting());
}

void WizardScreen::begin(const WizardSession& session) {
    m_session = session;
    startExchange();
}

void WizardScreen::exchange(const QUrl& address, Listing::MissingEnd missingEnd) {
    auto* request = new ServiceRequest(address, ServiceRequest::Expect::Page, this);
    request->setListingEnd(missingEnd);
    startRequest(request, {});
}

void WizardScreen::exchange(const QUrl& address, ServiceRequest::Expect expect, const QString& target,
                            const QString& issueTitle) {
    auto* request = new ServiceRequest(address, expect, this);
    request->setArchiveTarget(target);
    startRequest(request, {target, issueTitle});
}

void WizardScreen::startRequest(ServiceRequest* request, const DownloadedIssue& issue) {
    m_request = request;
    new ServiceWait(request, issue.title);
    connect(request, &ServiceRequest::finished, this, [this, request, issue](const auto& outcome) {
        request->deleteLater();
        if (outcome.ok() && outcome.value().archive) {
            archiveArrived(issue);
        } else if (request->isDownload()) {
            archiveArrived(Failure{outcome.reason()});
        } else if (request->wasCancelled()) {
            close(); // back to the screen the user came from
        } else if (!outcome.ok()) {
            listingArrived(Failure{outcome.reason()});
        } else {
            m_txtCodiceHTML = outcome.value().block;
            listingArrived(outcome.value().entries);
        }
    });
    request->start();
}

void WizardScreen::appear() {
    setProperty(kWaiting, false);
    show();
    activateWindow();
    (m_list->isVisible() ? static_cast<QWidget*>(m_list) : m_notice)->setFocus();
    takeOver();
}

void WizardScreen::takeOver() {
    setProperty(kWaiting, false);
    if (WizardScreen* from = m_from) {
        m_from = nullptr;
        from->m_next = nullptr;
        from->close();
    }
}

void WizardScreen::say(const QString& text, const QString& title, Toolkit::Icon icon, std::function<void()> then) {
    Toolkit::current().message(this, text, title, icon, [this, then = std::move(then)] {
        if (then && !m_closed)
            then();
    });
}

void WizardScreen::stepTo(WizardSteps::Step step) {
    WizardScreen& next = WizardSteps::load(step, m_session);
    if (next.isWaiting()) {
        next.m_from = this;
        m_next = &next;
    } else if (next.isVisible()) {
        bringForward(next);
    }
}

// The notice takes the list's place, grown down to hold all its lines inside the focus frame; the buttons and the
// window grow as much. Before the screen first appears, so that the zoom grows it as the rest.
void WizardScreen::showEmptyNotice(const QString& text) {
    m_notice->setText(text);
    m_notice->setAccessibleName(text);
    m_notice->setWordWrap(true);
    m_notice->setMargin(FocusFrame::kWidth + 1);
    const int height = std::max(m_list->height(), m_notice->heightForWidth(m_list->width()));
    const int grown = height - m_notice->height();
    m_notice->resize(m_list->width(), height);
    for (QPushButton* button : {m_command1, m_continua})
        button->move(button->x(), button->y() + grown);
    setFixedSize(width(), this->height() + grown);
    m_list->hide();
    m_notice->show();
}

// A closed screen is deleted later: its exchange stops now, and nothing it would have said or done after a box
// comes after.
void WizardScreen::closeEvent(QCloseEvent* event) {
    m_closed = true;
    if (ServiceRequest* request = m_request) {
        request->disconnect(this);
        request->cancel();
        request->deleteLater(); // this may run inside one of the request's own signals
    }
    if (WizardScreen* next = m_next; next && next->isWaiting())
        next->close();
    QWidget::closeEvent(event);
}

void WizardScreen::bringForward(WizardScreen& shown) {
    shown.raise();
    shown.activateWindow();
    close();
}
