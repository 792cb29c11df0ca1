#include "FakeVoice.h"

#include <QTimer>

void FakeSpeech::finish() {
    if (voice)
        voice->finish();
}

std::shared_ptr<FakeSpeech> FakeSpeech::install() {
    auto speech = std::make_shared<FakeSpeech>();
    Voice::install([speech] {
        auto voice = std::make_unique<FakeVoice>(speech);
        speech->voice = voice.get();
        return voice;
    });
    return speech;
}

Outcome<> FakeVoice::open() {
    if (!m_speech->available)
        return Failure{noVoiceReason()};
    return Success();
}

void FakeVoice::say(quint64 id, const QString& text) {
    m_waiting.append({id, text});
    if (!m_speaking)
        beginNext();
}

void FakeVoice::cancel() {
    ++m_speech->cancels;
    ++m_generation;
    m_waiting.clear();
    m_speaking = false;
}

void FakeVoice::beginNext() {
    if (m_waiting.isEmpty())
        return;
    m_speaking = true;
    const Utterance& next = m_waiting.first();
    m_speech->said.append(next.text);
    emit begun(next.id);
    if (m_speech->automatic) {
        QTimer::singleShot(0, this, [this, generation = m_generation] {
            if (generation == m_generation)
                finish();
        });
    }
}

void FakeVoice::finish() {
    if (!m_speaking || m_waiting.isEmpty())
        return;
    const quint64 id = m_waiting.takeFirst().id;
    m_speaking = false;
    emit ended(id);
    if (!m_speaking)
        beginNext();
}
