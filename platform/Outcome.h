#pragma once

#include <QString>
#include <utility>
#include <variant>

// Why something did not work: one Italian sentence fit for the user, without addresses' queries or passwords.
struct Failure {
    QString reason;
};

// A value, or the Failure that stands in its place. Outcome<> carries no value: success or why not. Made
// without either, an Outcome<> is a success and any other a failure without a reason (nothing came yet).
template <typename T = std::monostate> class Outcome {
public:
    Outcome(T value) : m_state(std::move(value)) {}
    Outcome(Failure failure) : m_state(std::move(failure)) {}
    Outcome() : m_state(Failure{}) {
        if constexpr (std::is_same_v<T, std::monostate>)
            m_state = std::monostate{};
    }

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const { return std::get<0>(m_state); }
    QString reason() const { return ok() ? QString() : std::get<1>(m_state).reason; }

private:
    std::variant<T, Failure> m_state;
};

// A message with the reason on a second line, as a sentence: "Il giornale non è stato scaricato!\nErrore 404 del
// servizio." Without a reason, the message alone.
inline QString withReason(const QString& message, const QString& reason) {
    if (reason.isEmpty())
        return message;
    QString sentence = reason;
    sentence[0] = sentence[0].toUpper();
    if (!sentence.endsWith(QLatin1Char('.')))
        sentence += QLatin1Char('.');
    return message + QLatin1Char('\n') + sentence;
}
