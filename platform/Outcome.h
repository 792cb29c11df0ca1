#pragma once

#include <QString>
#include <utility>
#include <variant>

// Why something did not work: one Italian sentence fit for the user, without addresses' queries or passwords.
struct Failure {
    QString reason;
};

// The one result of every fallible operation: a value, or the Failure that stands in its place. Outcome<> carries
// no value, and Success() makes its success. Made without either (Qt's signals and futures need that), any
// Outcome is a failure without a reason: nothing came yet.
template <typename T = std::monostate> class Outcome {
public:
    Outcome(T value) : m_state(std::move(value)) {}
    Outcome(Failure failure) : m_state(std::move(failure)) {}
    Outcome() : m_state(Failure{}) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const { return std::get<0>(m_state); }
    QString reason() const { return ok() ? QString() : std::get<1>(m_state).reason; }

private:
    std::variant<T, Failure> m_state;
};

inline Outcome<> Success() {
    return Outcome<>(std::monostate{});
}

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
