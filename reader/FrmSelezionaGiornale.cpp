#include "FrmSelezionaGiornale.h"

#include "Module1.h"
#include "platform/Controls.h"
#include "platform/MainMenu.h"
#include "platform/Outcome.h"
#include "platform/ProgramFolder.h"
#include "platform/Toolkit.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>

FrmSelezionaGiornale::FrmSelezionaGiornale()
    : m_command1(new QPushButton(this)), m_txtPercorso(new QLineEdit(this)), m_txtGiornale(new QLineEdit(this)),
      m_answers(new QObject(this)) {
    setObjectName(QStringLiteral("FrmSelezionaGiornale"));
    setWindowTitle(QStringLiteral("Indicare il percorso"));
    m_command1->setObjectName(QStringLiteral("Command1"));
    setCaption(m_command1, QStringLiteral("Seleziona lo Zip del giornale"));
    m_txtPercorso->setObjectName(QStringLiteral("TxtPercorso"));
    m_txtPercorso->hide();
    m_txtGiornale->setObjectName(QStringLiteral("TxtGiornale"));
    m_txtGiornale->hide();
    connect(m_command1, &QPushButton::clicked, this, &FrmSelezionaGiornale::Command1_Click);
}

void FrmSelezionaGiornale::Command1_Click() {
    RilevaPercorso();
}

void FrmSelezionaGiornale::RilevaPercorso() {
    Toolkit::current().chooseFileToOpen(
        m_answers, ProgramFolder::join(QStringLiteral("Giornali")),
        {QStringLiteral("File Zip "), QStringLiteral("*.zip")}, QStringLiteral("Seleziona il giornale"),
        [this](const std::optional<QString>& chosen) { pathChosen(chosen.value_or(QString())); });
}

void FrmSelezionaGiornale::pathChosen(const QString& path) {
    m_txtPercorso->setText(path);
    close();
    if (path.isEmpty() || Module1::ApriArchivioScelto(path))
        return;
    MainMenu::show();
    Toolkit::current().message(nullptr,
                               withReason(QStringLiteral("Il giornale non è stato aperto."),
                                          QStringLiteral("il nome «%1» è troppo corto per essere quello di un archivio")
                                              .arg(QDir::toNativeSeparators(path).section(QDir::separator(), -1))),
                               QStringLiteral("Ondaris"), Toolkit::Icon::Stop);
}
