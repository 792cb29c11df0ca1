#include "SystemVoice.h"
#include "Voice.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <qt_windows.h>
#include <sapi.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace {

// The speed as SAPI's rate: 1 is 0, 3 is 10, 0.5 is -10.
int rateOf(double speed) {
    const int rate = speed >= 1.0 ? qRound((speed - 1.0) * 5.0) : qRound((speed - 1.0) * 20.0);
    return qBound(-10, rate, 10);
}

// "0x80045003": an HRESULT as Windows' own messages and Microsoft's pages write it.
QString codeOf(HRESULT result) {
    return QStringLiteral("0x%1").arg(static_cast<ulong>(result), 8, 16, QLatin1Char('0'));
}

QString stringOf(ISpObjectToken* token, const wchar_t* name) {
    wchar_t* value = nullptr;
    if (FAILED(token->GetStringValue(name, &value)) || !value)
        return QString();
    const QString text = QString::fromWCharArray(value);
    CoTaskMemFree(value);
    return text;
}

QString attributeOf(ISpObjectToken* token, const wchar_t* name) {
    ComPtr<ISpDataKey> attributes;
    if (FAILED(token->OpenKey(L"Attributes", &attributes)))
        return QString();
    wchar_t* value = nullptr;
    if (FAILED(attributes->GetStringValue(name, &value)) || !value)
        return QString();
    const QString text = QString::fromWCharArray(value);
    CoTaskMemFree(value);
    return text;
}

// "Language" holds hexadecimal language ids separated by semicolons: "410" is Italian, "810" Swiss Italian.
bool speaksItalian(ISpObjectToken* token, const QString& description) {
    for (const QString& language : attributeOf(token, L"Language").split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        bool number = false;
        const uint id = language.trimmed().toUInt(&number, 16);
        if (number && PRIMARYLANGID(id) == LANG_ITALIAN)
            return true;
    }
    const QString names = description + QLatin1Char(' ') + attributeOf(token, L"Name");
    return names.contains(QLatin1String("Italian"), Qt::CaseInsensitive);
}

// The text as SAPI's XML: characters XML cannot carry become spaces, the markup characters their entities.
QString xmlOf(const QString& text) {
    QString xml;
    xml.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            xml += c;
            xml += text.at(++i);
        } else if (c == QLatin1Char('&')) {
            xml += QLatin1String("&amp;");
        } else if (c == QLatin1Char('<')) {
            xml += QLatin1String("&lt;");
        } else if (c == QLatin1Char('>')) {
            xml += QLatin1String("&gt;");
        } else if ((c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r')) ||
                   c.isSurrogate() || c.unicode() >= 0xFFFE) {
            xml += QLatin1Char(' ');
        } else {
            xml += c;
        }
    }
    return xml;
}

struct ItalianVoice {
    QString name;
    ComPtr<ISpObjectToken> token;
};

class SapiVoice : public Voice {
public:
    ~SapiVoice() override {
        if (m_voice) {
            m_voice->SetNotifySink(nullptr);
            m_voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
        }
        m_italian.clear();
        m_default.Reset();
        m_voice.Reset();
        if (m_comStarted)
            CoUninitialize();
    }

    Outcome<> open() override {
        if (m_voice)
            return Success();
        // Qt's window thread is usually a single-threaded apartment already; another apartment will do as well.
        if (!m_comStarted) {
            const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            if (FAILED(started) && started != RPC_E_CHANGED_MODE)
                return unavailable(started);
            m_comStarted = SUCCEEDED(started);
        }

        ComPtr<ISpObjectTokenCategory> category;
        ComPtr<IEnumSpObjectTokens> tokens;
        ULONG count = 0;
        HRESULT result = CoCreateInstance(__uuidof(SpObjectTokenCategory), nullptr, CLSCTX_ALL,
                                          IID_PPV_ARGS(category.GetAddressOf()));
        if (SUCCEEDED(result))
            result = category->SetId(SPCAT_VOICES, FALSE);
        if (SUCCEEDED(result))
            result = category->EnumTokens(nullptr, nullptr, &tokens);
        if (SUCCEEDED(result))
            result = tokens->GetCount(&count);
        if (FAILED(result) || count == 0)
            return unavailable(result);

        ComPtr<ISpVoice> voice;
        result = CoCreateInstance(__uuidof(SpVoice), nullptr, CLSCTX_ALL, IID_PPV_ARGS(voice.GetAddressOf()));
        if (SUCCEEDED(result))
            result = voice->GetVoice(&m_default);
        const ULONGLONG told = SPFEI(SPEI_START_INPUT_STREAM) | SPFEI(SPEI_END_INPUT_STREAM);
        if (SUCCEEDED(result))
            result = voice->SetInterest(told, told);
        // SAPI calls back through a hidden window of this thread, whose messages Qt's event loop dispatches.
        if (SUCCEEDED(result))
            result = voice->SetNotifyCallbackFunction(&SapiVoice::notified, 0, reinterpret_cast<LPARAM>(this));
        if (FAILED(result)) {
            m_default.Reset();
            return unavailable(result);
        }
        m_voice = voice;
        m_chosen = m_default.Get();

        for (ULONG i = 0; i < count; ++i) {
            ComPtr<ISpObjectToken> token;
            if (tokens->Item(i, &token) != S_OK)
                continue;
            QString name = stringOf(token.Get(), nullptr);
            if (name.isEmpty())
                name = attributeOf(token.Get(), L"Name");
            if (!name.isEmpty() && speaksItalian(token.Get(), name))
                m_italian.append({name, token});
        }
        if (m_italian.isEmpty()) // another language's voice would read the Italian text as its own
            return Failure{noVoiceReason()};
        apply(VoiceSettings());
        return Success();
    }

    QStringList voices() const override {
        QStringList names;
        for (const ItalianVoice& voice : m_italian)
            names.append(voice.name);
        return names;
    }

    void apply(const VoiceSettings& settings) override {
        if (!m_voice)
            return;
        ISpObjectToken* chosen = m_italian.isEmpty() ? m_default.Get() : m_italian.first().token.Get();
        for (const ItalianVoice& voice : m_italian) {
            if (voice.name.compare(settings.name, Qt::CaseInsensitive) == 0)
                chosen = voice.token.Get();
        }
        if (chosen != m_chosen && SUCCEEDED(m_voice->SetVoice(chosen)))
            m_chosen = chosen;
        m_voice->SetRate(rateOf(settings.speed));
        m_voice->SetVolume(static_cast<USHORT>(qBound(0, settings.volume, 100)));
        m_pitch = qBound(-10, qRound(settings.pitch / 10.0), 10);
    }

    void say(quint64 id, const QString& text) override {
        if (!m_voice) {
            emit failed(QStringLiteral("la voce di Windows non è disponibile"));
            return;
        }
        const QString xml = QStringLiteral("<pitch absmiddle=\"%1\"/>").arg(m_pitch) + xmlOf(text);
        ULONG stream = 0;
        const HRESULT result =
            m_voice->Speak(reinterpret_cast<const wchar_t*>(xml.utf16()), SPF_ASYNC | SPF_IS_XML, &stream);
        if (FAILED(result)) {
            emit failed(QStringLiteral("la voce di Windows ha rifiutato il testo (errore %1)").arg(codeOf(result)));
            return;
        }
        m_ids.insert(stream, id);
    }

    void cancel() override {
        m_ids.clear();
        if (m_voice)
            m_voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
    }

private:
    static Failure unavailable(HRESULT result) {
        if (SUCCEEDED(result))
            return Failure{noVoiceReason()};
        return Failure{noVoiceReason() + QStringLiteral(" Errore di Windows %1.").arg(codeOf(result))};
    }

    static void __stdcall notified(WPARAM, LPARAM voice) {
        auto* self = reinterpret_cast<SapiVoice*>(voice);
        if (std::exchange(self->m_drainQueued, true))
            return;
        QMetaObject::invokeMethod(
            self, [self] { self->drain(); }, Qt::QueuedConnection);
    }

    // The streams cancelled meanwhile are no longer known and say nothing.
    void drain() {
        m_drainQueued = false;
        const QPointer<SapiVoice> alive(this);
        SPEVENT event{};
        ULONG fetched = 0;
        while (alive && m_voice && SUCCEEDED(m_voice->GetEvents(1, &event, &fetched)) && fetched == 1) {
            const SPEVENTENUM kind = event.eEventId;
            const ULONG stream = event.ulStreamNum;
            if (event.elParamType == SPET_LPARAM_IS_TOKEN || event.elParamType == SPET_LPARAM_IS_OBJECT)
                reinterpret_cast<IUnknown*>(event.lParam)->Release();
            else if (event.elParamType == SPET_LPARAM_IS_POINTER || event.elParamType == SPET_LPARAM_IS_STRING)
                CoTaskMemFree(reinterpret_cast<void*>(event.lParam));
            const auto id = m_ids.find(stream);
            if (id == m_ids.end())
                continue;
            if (kind == SPEI_START_INPUT_STREAM) {
                emit begun(*id);
            } else if (kind == SPEI_END_INPUT_STREAM) {
                const quint64 ended = *id;
                m_ids.erase(id);
                emit this->ended(ended);
            }
        }
    }

    ComPtr<ISpVoice> m_voice;
    ComPtr<ISpObjectToken> m_default; // the voice chosen in Windows' settings
    QList<ItalianVoice> m_italian;
    ISpObjectToken* m_chosen = nullptr;
    int m_pitch = 0;
    bool m_comStarted = false;
    bool m_drainQueued = false;
    QHash<ULONG, quint64> m_ids; // SAPI's stream numbers to ours
};

} // namespace

std::unique_ptr<Voice> makeSystemVoice() {
    return std::make_unique<SapiVoice>();
}

QString noVoiceReason() {
    return QStringLiteral("Nessuna voce di Windows installata: aggiungere una voce italiana in Impostazioni, Ora e "
                          "lingua, Voce.");
}
