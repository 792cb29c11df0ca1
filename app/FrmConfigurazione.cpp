#include "FrmConfigurazione.h"

#include "CredentialFile.h"
#include "ProfileErrors.h"
#include "platform/Controls.h"
#include "platform/CurrentProfile.h"
#include "platform/KeyGuide.h"
#include "platform/Screen.h"
#include "platform/Toolkit.h"
#include "platform/Twips.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

namespace {

const QString kAnnulla = QStringLiteral("Annulla");

QLineEdit* framedField(QWidget* parent, const char* frameName, const char* fieldName, const QString& caption,
                       int frameTop) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(QLatin1String(frameName));
    frame->setGeometry(twipsRect(120, frameTop, 3495, 735));
    auto* field = new QLineEdit(frame);
    field->setObjectName(QLatin1String(fieldName));
    field->setToolTip(caption);
    field->setAccessibleName(caption);
    field->setGeometry(twipsRect(600, 360, 2415, 285));
    selectAllOnFocus(field);
    return field;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QRect& geometry) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    setCaption(b, caption);
    b->setGeometry(geometry);
    return b;
}

} // namespace

FrmConfigurazione::FrmConfigurazione()
    : m_utente(framedField(this, "Frame1", "TxtUtente", QStringLiteral("Nome Utente"), 120)),
      m_password(framedField(this, "Frame2", "TxtPassword", QStringLiteral("Password"), 960)),
      m_salva(button(this, "CmdSalvaCredenziali", QStringLiteral("Salva"), twipsRect(720, 1920, 2295, 375))),
      m_annulla(button(this, "CmdAnnulla", kAnnulla, twipsRect(840, 2520, 2055, 375))) {
    setObjectName(QStringLiteral("FrmConfigurazione"));
    setWindowTitle(QStringLiteral("Configurazione Profilo"));
    setFixedSize(twips(3735), twips(3015));
    QFont verdana(QStringLiteral("Verdana"));
    verdana.setPointSizeF(9.75);
    setFont(verdana);

    setTabOrder(m_utente, m_password);
    setTabOrder(m_password, m_salva);
    setTabOrder(m_salva, m_annulla);

    connect(m_salva, &QPushButton::clicked, this, &FrmConfigurazione::CmdSalvaCredenziali_Click);
    connect(m_annulla, &QPushButton::clicked, this, &FrmConfigurazione::CmdAnnulla_Click);
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &FrmConfigurazione::CmdAnnulla_Click);
    addKeyGuide(this, QStringLiteral("Tasti della configurazione"),
                {QStringLiteral("Tab, Maiuscole+Tab: passano dal nome utente alla password e ai pulsanti."),
                 QStringLiteral("Invio su Salva: salva il profilo."),
                 QStringLiteral("Esc o Invio su Annulla: chiude; nome utente e password, se ci sono entrambi, "
                                "vengono comunque salvati."),
                 QStringLiteral("F1: questa guida.")});
}

void FrmConfigurazione::Form_Load() {
    m_scelta.clear();
    m_utente->setText(CurrentProfile::instance().NomeUtente);
    m_password->setText(CurrentProfile::instance().PasswordUtente);
    m_utente->setFocus();
}

Outcome<> FrmConfigurazione::EliminaAccesso() {
    return CredentialFile::EliminaAccesso(m_utente->text(), m_password->text());
}

void FrmConfigurazione::CmdSalvaCredenziali_Click() {
    close();
}

void FrmConfigurazione::CmdAnnulla_Click() {
    m_scelta = kAnnulla;
    close();
}

void FrmConfigurazione::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept(); // the close is never cancelled
}

void FrmConfigurazione::Form_Unload() {
    const QString userName = m_utente->text();
    const QString password = m_password->text();
    if (!userName.isEmpty() && !password.isEmpty()) {
        saveProfile(userName, password);
    } else if (m_scelta != kAnnulla) {
        Toolkit::current().message(m_opener.window, QStringLiteral("Inserire Nome utente e password!"),
                                   QStringLiteral("Credenziali d'accesso!"), Toolkit::Icon::Information);
    }
}

void FrmConfigurazione::saveProfile(const QString& userName, const QString& password) {
    const bool menuOpen = !m_opener.window.isNull();
    // An empty last line means the file is empty or ends in an empty line: the new line goes at its end. With the
    // main menu closed there is no line it read, so the file itself is asked.
    const Outcome<QString> lastLine = menuOpen ? Outcome<QString>(m_opener.lastLine()) : CredentialFile::LeggiAccesso();
    const Outcome<> saved = !lastLine                    ? Outcome<>(Failure{lastLine.reason()})
                            : lastLine.value().isEmpty() ? CredentialFile::AccodaAccesso(userName, password)
                                                         : EliminaAccesso();
    if (!saved) {
        reportProfileError(m_opener.window, ProfileStep::Save, saved.reason());
        return;
    }
    if (menuOpen)
        m_opener.refresh();
}
