#include "WizardScreen.h"

#include "Listing.h"
#include "PageReader.h"
#include "platform/Controls.h"
#include "platform/KeyAscii.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>

WizardScreen::WizardScreen(const char* name, const QString& caption, const char* listName,
                           const QString& listAccessibleName)
    : m_list(new QComboBox(this)), m_continua(new QPushButton(this)), m_command1(new QPushButton(this)) {
    setObjectName(QLatin1String(name));
    setWindowTitle(caption);
    setFixedSize(420, 100);
    m_list->setObjectName(QLatin1String(listName));
    m_list->setGeometry(12, 12, 396, 26);
    nameList(m_list, listAccessibleName);
    m_command1->setObjectName(QStringLiteral("Command1"));
    setCaption(m_command1, QStringLiteral("A&nnulla"));
    m_command1->setGeometry(12, 56, 190, 30);
    m_continua->setObjectName(QStringLiteral("CmdContinua"));
    setCaption(m_continua, QStringLiteral("&Avanti"));
    m_continua->setGeometry(218, 56, 190, 30);
    setTabOrder(m_list, m_continua);
    setTabOrder(m_continua, m_command1);

    onKeyPress(m_list, [this](int key) { listKeyPress(key); });
    // While a page loads the wizard's own screens do not act, so one step never runs twice at once.
    connect(m_continua, &QPushButton::clicked, this, [this] {
        if (!PageReader::busy())
            CmdContinua_Click();
    });
    connect(m_command1, &QPushButton::clicked, this, &WizardScreen::Command1_Click);
}

void WizardScreen::listKeyPress(int keyAscii) {
    if (PageReader::busy())
        return;
    if (keyAscii == kKeyEnter)
        CmdContinua_Click();
    else if (keyAscii == kKeyEsc)
        stepBack();
}

QStringList WizardScreen::exchange(const QUrl& address, bool emptyWithoutEnd) {
    QApplication::setOverrideCursor(Qt::BusyCursor); // the screen is not shown until its page is in
    m_txtCodiceHTML = PageReader::LeggiPagina(address);
    QApplication::restoreOverrideCursor();
    m_txtCodiceHTML = Listing::block(m_txtCodiceHTML, emptyWithoutEnd ? Listing::MissingEnd::EmptyBlock
                                                                      : Listing::MissingEnd::Undefined);
    return Listing::entries(m_txtCodiceHTML);
}
