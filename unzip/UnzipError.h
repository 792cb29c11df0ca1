#pragma once

#include <QString>
#include <exception>

// A failure of the unzip job or driver, as a run-time error: a number, the source that raised it
// ("CGUnZipFiles::Unzip", "CodeModule::VBUnzip") and a description.
class UnzipError : public std::exception {
public:
    // The numbers callers test for.
    static constexpr int kInvalidCall = 5;
    static constexpr int kOverflow = 6;
    static constexpr int kLibraryNotLoaded = 48;
    static constexpr int kFunctionNotFound = 453;

    UnzipError(int number, QString source, QString description)
        : m_number(number), m_source(std::move(source)), m_description(std::move(description)),
          m_what((m_source + QStringLiteral(": ") + m_description).toUtf8()) {}

    // The same failure raised again under another source.
    UnzipError raisedBy(const QString& source) const { return UnzipError(m_number, source, m_description); }

    int number() const { return m_number; }
    const QString& source() const { return m_source; }
    const QString& description() const { return m_description; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    int m_number;
    QString m_source;
    QString m_description;
    QByteArray m_what;
};
