#include "FrmVoce.h"

#include "platform/Controls.h"
#include "platform/KeyGuide.h"
#include "platform/Twips.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <cmath>

namespace {

const QString kDefaultVoice = QStringLiteral("Voce predefinita");

constexpr int kMargin = 120;
constexpr int kListLeft = 1560;
constexpr int kWidth = 5400;
constexpr int kRowHeight = 315;
constexpr int kRowStep = 480;
constexpr int kButtonTop = kMargin + 4 * kRowStep;
constexpr int kButtonWidth = 1500;
constexpr int kButtonHeight = 375;

struct Pitch {
    const char* name;
    int value;
};
constexpr Pitch kPitches[] = {{"molto basso", -100}, {"basso", -50}, {"normale", 0}, {"alto", 50}, {"molto alto", 100}};

// A list on its row, with its caption on the left: the label that names the list to screen readers, shown, with
// its access key.
QComboBox* captionedList(QWidget* window, const char* name, const QString& caption, int row) {
    auto* list = new QComboBox(window);
    list->setObjectName(QLatin1String(name));
    const int top = kMargin + row * kRowStep;
    list->setGeometry(twipsRect(kListLeft, top, kWidth - kMargin - kListLeft, kRowHeight));
    nameList(list, plainCaption(caption));
    for (QLabel* label : window->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (label->buddy() == list) {
            label->setText(caption);
            label->setGeometry(twipsRect(kMargin, top, kListLeft - 2 * kMargin, kRowHeight));
            label->show();
        }
    }
    return list;
}

void selectNearest(QComboBox* list, double value) {
    int nearest = 0;
    for (int i = 1; i < list->count(); ++i) {
        if (std::abs(list->itemData(i).toDouble() - value) < std::abs(list->itemData(nearest).toDouble() - value))
            nearest = i;
    }
    list->setCurrentIndex(nearest);
}

QPushButton* button(QWidget* window, const char* name, const QString& caption, int left) {
    auto* b = new QPushButton(window);
    b->setObjectName(QLatin1String(name));
    setCaption(b, caption);
    b->setGeometry(twipsRect(left, kButtonTop, kButtonWidth, kButtonHeight));
    return b;
}

} // namespace

FrmVoce::FrmVoce(QWidget* over, const QStringList& voices, const VoiceSettings& current, Chosen chosen)
    : QDialog(over), m_voice(captionedList(this, "CboVoce", QStringLiteral("&Voce"), 0)),
      m_speed(captionedList(this, "CboVelocita", QStringLiteral("V&elocità"), 1)),
      m_pitch(captionedList(this, "CboTono", QStringLiteral("&Tono"), 2)),
      m_volume(captionedList(this, "CboVolume", QStringLiteral("V&olume"), 3)), m_chosen(std::move(chosen)) {
    setObjectName(QStringLiteral("FrmVoce"));
    setWindowTitle(QStringLiteral("Voce"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setFixedSize(twips(kWidth), twips(kButtonTop + kButtonHeight + kMargin));

    m_voice->addItem(kDefaultVoice);
    m_voice->addItems(voices);
    if (!current.name.isEmpty() && m_voice->findText(current.name) < 0)
        m_voice->addItem(current.name); // not offered now, and kept unless another is chosen
    m_voice->setCurrentIndex(current.name.isEmpty() ? 0 : m_voice->findText(current.name));
    for (double speed = VoiceSettings::kSlowest; speed <= VoiceSettings::kFastest; speed += VoiceSettings::kSpeedStep) {
        VoiceSettings shown;
        shown.speed = speed;
        m_speed->addItem(shown.spokenSpeed(), speed);
    }
    selectNearest(m_speed, current.speed);
    for (const Pitch& pitch : kPitches)
        m_pitch->addItem(QString::fromUtf8(pitch.name), pitch.value);
    selectNearest(m_pitch, current.pitch);
    for (int volume = 10; volume <= 100; volume += 10)
        m_volume->addItem(QStringLiteral("%1%").arg(volume), volume);
    selectNearest(m_volume, current.volume);

    QPushButton* ok = button(this, "CmdOK", QStringLiteral("OK"), kWidth - 2 * (kMargin + kButtonWidth));
    QPushButton* annulla = button(this, "CmdAnnulla", QStringLiteral("&Annulla"), kWidth - kMargin - kButtonWidth);
    ok->setDefault(true); // Enter on a list
    connect(ok, &QPushButton::clicked, this, &FrmVoce::confirm);
    connect(annulla, &QPushButton::clicked, this, &QDialog::reject);
    addKeyGuide(this, QStringLiteral("Tasti di Voce"),
                {QStringLiteral("Frecce, Inizio, Fine, prime lettere: scelgono nell'elenco."),
                 QStringLiteral("Tab, Maiuscole+Tab: passano da un elenco all'altro e ai pulsanti."),
                 QStringLiteral("Alt+V, Alt+E, Alt+T, Alt+O: vanno alla voce, alla velocità, al tono, al volume."),
                 QStringLiteral("Invio: usa le scelte fatte e chiude."),
                 QStringLiteral("Esc o Alt+A: chiude senza cambiare nulla."), QStringLiteral("F1: questa guida.")});
    m_voice->setFocus();
}

FrmVoce* FrmVoce::choose(QWidget* over, const QStringList& voices, const VoiceSettings& current, Chosen chosen) {
    auto* window = new FrmVoce(over, voices, current, std::move(chosen));
    window->open();
    return window;
}

VoiceSettings FrmVoce::picked() const {
    VoiceSettings settings;
    settings.name = m_voice->currentIndex() > 0 ? m_voice->currentText() : QString();
    settings.speed = m_speed->currentData().toDouble();
    settings.pitch = m_pitch->currentData().toInt();
    settings.volume = m_volume->currentData().toInt();
    return settings;
}

// The window is closed first, so that whatever the choice brings is said in the reader.
void FrmVoce::confirm() {
    const VoiceSettings settings = picked();
    const Chosen chosen = m_chosen;
    accept();
    if (chosen)
        chosen(settings);
}
