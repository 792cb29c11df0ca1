#pragma once

#include <QString>
#include <exception>

// A file or folder operation that failed; message() is an Italian sentence fit for the user.
class FileError : public std::exception {
public:
    explicit FileError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
