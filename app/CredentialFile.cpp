#include "CredentialFile.h"

#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

namespace {

const QString kSeparator = QStringLiteral("--");

QString profileLine(const QString& userName, const QString& password) {
    return userName + kSeparator + password;
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

QString LeggiAccesso() {
    const QStringList lines = TextFile::readLinesCreatingIfMissing(path(), TextFile::Access::OwnerOnly);
    return lines.isEmpty() ? QString() : lines.last();
}

void AccodaAccesso(const QString& userName, const QString& password) {
    TextFile::appendLine(path(), profileLine(userName, password), TextFile::Access::OwnerOnly);
}

void EliminaAccesso(const QString& userName, const QString& password) {
    TextFile::replaceWithLine(path(), profileLine(userName, password), TextFile::Access::OwnerOnly);
}

} // namespace CredentialFile
