#include "FrmLetturaGiornali.h"

#include "CredentialFile.h"
#include "FrmConfigurazione.h"
#include "ProfileErrors.h"
#include "platform/Controls.h"
#include "platform/CurrentProfile.h"
#include "platform/KeyGuide.h"
#include "platform/ProgramFolder.h"
#include "platform/Screen.h"
#include "platform/Toolkit.h"
#include "platform/Twips.h"
#include "platform/Worker.h"
#include "reader/FrmCercaGiornali.h"
#include "reader/FrmGiornaliScaricati.h"
#include "reader/FrmSelezionaGiornale.h"
#include "service/FrmTestata.h"
#include "subscriptions/FrmGiornaliArrivati.h"
#include "subscriptions/FrmMieiGiornali.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

QPushButton* menuButton(QWidget* parent, const char* name, const QString& caption, int top) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    setCaption(button, caption);
    button->setGeometry(twipsRect(120, top, 3855, 495));
    return button;
}

} // namespace

FrmLetturaGiornali::FrmLetturaGiornali()
    : m_prelevaGiornale(menuButton(this, "CmdPrelevaGiornale", QStringLiteral("&Preleva giornale"), 120)),
      m_leggiGiornale(menuButton(this, "CmdLeggiGiornale", QStringLiteral("&Leggi giornale"), 720)),
      m_configurazione(menuButton(this, "CmdConfigurazione", QStringLiteral("&Configurazione Profilo"), 1320)),
      m_esci(menuButton(this, "CmdEsci", QStringLiteral("&Esci"), 1920)),
      m_giornaliScaricati(menuButton(this, "CmdGiornaliScaricati", QStringLiteral("&Giornali scaricati"), 2520)),
      m_cercaGiornali(menuButton(this, "CmdCercaGiornali", QStringLiteral("Ce&rca nei giornali"), 3120)),
      m_mieiGiornali(menuButton(this, "CmdMieiGiornali", QStringLiteral("&I miei giornali"), 3720)),
      m_giornaleDiOggi(menuButton(this, "CmdGiornaleDiOggi", QStringLiteral("Giornale di &oggi"), 4320)),
      m_label1(new QLabel(this)) {
    setObjectName(QStringLiteral("FrmLetturaGiornali"));
    setWindowTitle(QStringLiteral("Letture giornale Progetto Ondaris"));
    // the menu of the three tasks, below it the library and its search, then the newspapers that come by themselves
    setFixedSize(twips(4140), twips(5490));

    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setText(QStringLiteral("\u2663\u2666\u2665\u2660"));
    QFont symbols = m_label1->font();
    symbols.setBold(true);
    symbols.setPointSize(12);
    m_label1->setFont(symbols);
    m_label1->setGeometry(twipsRect(2925, 4965, 975, 360));
    m_label1->setAccessibleName(QStringLiteral("Decorazione"));

    // Until a profile is read neither action is offered.
    m_prelevaGiornale->setEnabled(false);
    m_leggiGiornale->setEnabled(false);

    connect(m_prelevaGiornale, &QPushButton::clicked, this, &FrmLetturaGiornali::CmdPrelevaGiornale_Click);
    connect(m_leggiGiornale, &QPushButton::clicked, this, &FrmLetturaGiornali::CmdLeggiGiornale_Click);
    connect(m_configurazione, &QPushButton::clicked, this, &FrmLetturaGiornali::CmdConfigurazione_Click);
    connect(m_esci, &QPushButton::clicked, this, &FrmLetturaGiornali::CmdEsci_Click);
    connect(m_giornaliScaricati, &QPushButton::clicked, this, &FrmLetturaGiornali::CmdGiornaliScaricati_Click);
    connect(m_cercaGiornali, &QPushButton::clicked, this, &FrmLetturaGiornali::CmdCercaGiornali_Click);
    connect(m_mieiGiornali, &QPushButton::clicked, this, [] { Screen<FrmMieiGiornali>::show(); });
    connect(m_giornaleDiOggi, &QPushButton::clicked, this, [] { FrmGiornaliArrivati::openNewest(); });
    addKeyGuide(this, QStringLiteral("Tasti del menu principale"),
                {QStringLiteral("Alt+P: preleva un giornale dal servizio."),
                 QStringLiteral("Alt+L: legge un giornale già scaricato."),
                 QStringLiteral("Alt+C: configura il profilo (nome utente e password)."),
                 QStringLiteral("Alt+E: esce dal programma."),
                 QStringLiteral("Alt+G: i giornali scaricati, dal più recente, da aprire o eliminare."),
                 QStringLiteral("Alt+R: cerca una parola in tutti i giornali scaricati."),
                 QStringLiteral("Tab, Maiuscole+Tab: passano da un pulsante all'altro; Invio o Spazio lo premono."),
                 QStringLiteral("F1: questa guida.")});
}

void FrmLetturaGiornali::Form_Load() {
    const Outcome<QString> lastLine = CredentialFile::LeggiAccesso();
    if (lastLine)
        applyCredentialLine(lastLine.value());
    else
        reportOnceShown(ProfileStep::Read, lastLine.reason());
    const bool store = QFileInfo(ProgramFolder::join(QStringLiteral("Giornali"))).isDir();
    m_giornaliScaricati->setEnabled(store);
    m_cercaGiornali->setEnabled(store);
    if (QWidget* first = firstFocusable(this))
        first->setFocus();
}

// The load runs before the menu is shown (or brought forward after a save): the box follows once it is in front,
// so that it, not the menu, has the focus.
void FrmLetturaGiornali::reportOnceShown(ProfileStep step, const QString& reason) {
    QTimer::singleShot(0, this, [this, step, reason] { reportProfileError(this, step, reason); });
}

void FrmLetturaGiornali::applyCredentialLine(const QString& line) {
    m_lblaccesso = line;
    const CredentialLine profile = CredentialLine::split(m_lblaccesso);
    const bool enabled = profile.kind == CredentialLine::Kind::Profile;
    if (enabled) {
        CurrentProfile::instance().NomeUtente = profile.userName;
        CurrentProfile::instance().PasswordUtente = profile.password;
    } else if (profile.kind == CredentialLine::Kind::Malformed) {
        const Outcome<> repaired = profileScreen(false).EliminaAccesso();
        if (!repaired)
            reportOnceShown(ProfileStep::Repair, repaired.reason());
    }
    m_leggiGiornale->setEnabled(enabled);
    m_prelevaGiornale->setEnabled(enabled);
}

QString FrmLetturaGiornali::lblaccesso() const {
    return m_lblaccesso;
}

void FrmLetturaGiornali::focusPrelevaGiornale() {
    activateWindow(); // focus given to a control of another window brings that window forward
    m_prelevaGiornale->setFocus();
}

// While the masthead screen is still waiting for its page, a second press does nothing.
void FrmLetturaGiornali::CmdPrelevaGiornale_Click() {
    try {
        Screen<FrmTestata>::show();
    } catch (...) {
        Toolkit::current().message(this,
                                   withReason(QStringLiteral("Il prelievo del giornale non è iniziato."),
                                              internalFailure(std::current_exception())),
                                   QStringLiteral("Preleva giornale"), Toolkit::Icon::Stop);
    }
}

// The extraction folder is emptied when the chosen issue is opened, and only when it is the program's own.
void FrmLetturaGiornali::CmdLeggiGiornale_Click() {
    Screen<FrmSelezionaGiornale>::load().Command1_Click();
}

void FrmLetturaGiornali::CmdConfigurazione_Click() {
    profileScreen(true);
}

// The profile screen, told that this menu opened it.
FrmConfigurazione& FrmLetturaGiornali::profileScreen(bool shown) {
    FrmConfigurazione& screen = shown ? Screen<FrmConfigurazione>::show() : Screen<FrmConfigurazione>::load();
    const QPointer<FrmLetturaGiornali> menu(this);
    screen.setOpener({this, [menu] { return menu ? menu->lblaccesso() : QString(); },
                      [menu] {
                          if (!menu)
                              return;
                          menu->Form_Load();
                          menu->focusPrelevaGiornale();
                      }});
    return screen;
}

void FrmLetturaGiornali::CmdGiornaliScaricati_Click() {
    Screen<FrmGiornaliScaricati>::show();
}

void FrmLetturaGiornali::CmdCercaGiornali_Click() {
    Screen<FrmCercaGiornali>::show();
}

void FrmLetturaGiornali::CmdEsci_Click() {
    close();
}
