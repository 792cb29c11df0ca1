#pragma once

#include "platform/Voice.h"

#include <QList>
#include <QPointer>
#include <QStringList>
#include <memory>

class FakeVoice;

// What a test's voice was told and said, kept by the test while the reader owns the voice. Automatic, each
// utterance ends as soon as the event loop turns; else finish() ends the one being said.
struct FakeSpeech {
    bool available = true;
    bool automatic = true;
    QStringList said; // each utterance as it began
    int cancels = 0;
    VoiceSettings settings;
    QPointer<FakeVoice> voice;

    void finish();
    // Installs voices that report here.
    static std::shared_ptr<FakeSpeech> install();
};

class FakeVoice : public Voice {
    Q_OBJECT

public:
    explicit FakeVoice(std::shared_ptr<FakeSpeech> speech) : m_speech(std::move(speech)) {}

    Outcome<> open() override;
    QStringList voices() const override { return {QStringLiteral("Paola"), QStringLiteral("Luca")}; }
    void apply(const VoiceSettings& settings) override { m_speech->settings = settings; }
    void say(quint64 id, const QString& text) override;
    void cancel() override;
    void finish();

private:
    struct Utterance {
        quint64 id;
        QString text;
    };
    void beginNext();

    std::shared_ptr<FakeSpeech> m_speech;
    QList<Utterance> m_waiting;
    bool m_speaking = false;
    quint64 m_generation = 0;
};
