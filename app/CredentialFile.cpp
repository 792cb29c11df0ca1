#include "CredentialFile.h"

#include "platform/FileError.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

namespace {

const QString kSeparator = QStringLiteral("--");

QString profileLine(const QString& userName, const QString& password) {
    return userName + kSeparator + password;
}

// The file's operation, or why it failed.
template <typename Operation> auto attempt(Operation operation) -> Outcome<decltype(operation())> {
    try {
        return operation();
    } catch (const FileError& error) {
        return Failure{error.message()};
    }
}

} // namespace

CredentialLine CredentialLine::split(const QString& line) {
    if (line.isEmpty())
        return {};
    const qsizetype at = line.indexOf(kSeparator);
    if (at < 0)
        return {Kind::Malformed, {}, {}};
    return {Kind::Profile, line.left(at), line.mid(at + kSeparator.size())};
}

namespace CredentialFile {

QString path() {
    return ProgramFolder::join(QStringLiteral("accesso.txt"));
}

Outcome<QString> LeggiAccesso() {
    return attempt([] {
        const QStringList lines = TextFile::readLinesCreatingIfMissing(path(), TextFile::Access::OwnerOnly);
        return lines.isEmpty() ? QString() : lines.last();
    });
}

Outcome<> AccodaAccesso(const QString& userName, const QString& password) {
    return attempt([&] {
        TextFile::appendLine(path(), profileLine(userName, password), TextFile::Access::OwnerOnly);
        return std::monostate{};
    });
}

Outcome<> EliminaAccesso(const QString& userName, const QString& password) {
    return attempt([&] {
        TextFile::replaceWithLine(path(), profileLine(userName, password), TextFile::Access::OwnerOnly);
        return std::monostate{};
    });
}

} // namespace CredentialFile
