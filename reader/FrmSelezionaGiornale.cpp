#include "FrmSelezionaGiornale.h"

#include "Module1.h"
#include "platform/Controls.h"
#include "platform/ProgramFolder.h"
#include "platform/SharedState.h"
#include "platform/Toolkit.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>

FrmSelezionaGiornale::FrmSelezionaGiornale()
    : m_command1(new QPushButton(this)), m_txtPercorso(new QLineEdit(this)), m_txtGiornale(new QLineEdit(this)) {
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

std::optional<QString> FrmSelezionaGiornale::nomeGiornale(const QString& path) {
    // Counted from the end up to and including the separator: with none at all, everything but the first character.
    qsizetype n = path.size();
    qsizetype i = 0;
    while (n >= 1) {
        ++i;
        const QChar c = path[n - 1];
        if (c == QLatin1Char('/') || c == QDir::separator())
            break;
        --n;
    }
    const QString fileName = path.right(i - 1);
    if (fileName.size() < 4)
        return std::nullopt;
    return fileName.chopped(4);
}

void FrmSelezionaGiornale::RilevaPercorso() {
    try {
        const std::optional<QString> chosen = Toolkit::current().chooseFileToOpen(
            ProgramFolder::join(QStringLiteral("Giornali")), {QStringLiteral("File Zip "), QStringLiteral("*.zip")},
            QStringLiteral("Seleziona il giornale"));
        m_txtPercorso->setText(chosen.value_or(QString()));
        const QString path = m_txtPercorso->text();
        if (!path.isEmpty()) {
            if (const auto name = nomeGiornale(path)) {
                SharedState::instance().NomeGiornale = *name;
                Module1::ApriArchivio(path);
            }
        }
    } catch (...) {
        // Whatever failed (the extraction library, the folders), nothing is opened and nothing is said.
    }
    close();
}
