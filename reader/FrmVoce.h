#pragma once

#include "platform/Voice.h"

#include <QDialog>
#include <QStringList>
#include <functional>

class QComboBox;

// "Voce": the reader's own voice, its speed, its tone and its volume, each picked from a list that starts at the
// current value (or the entry nearest to it). OK (Enter) hands the choice over and closes; Esc or Annulla closes
// leaving everything as it was. A small window over the reader, which cannot be used until it closes; the window
// is deleted once closed.
class FrmVoce : public QDialog {
    Q_OBJECT

public:
    using Chosen = std::function<void(const VoiceSettings&)>;

    // voices: the Italian voices offered, after "Voce predefinita" (the speech service's own choice).
    FrmVoce(QWidget* over, const QStringList& voices, const VoiceSettings& current, Chosen chosen);

    // Makes the window over the given one and shows it, with the focus on its first list.
    static FrmVoce* choose(QWidget* over, const QStringList& voices, const VoiceSettings& current, Chosen chosen);

    VoiceSettings picked() const;

private:
    void confirm();

    QComboBox* m_voice;
    QComboBox* m_speed;
    QComboBox* m_pitch;
    QComboBox* m_volume;
    Chosen m_chosen;
};
