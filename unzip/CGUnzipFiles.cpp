#include "CGUnzipFiles.h"

#include "CodeModule.h"

#include <limits>
#include <optional>

namespace {

std::optional<int16_t> narrowed(int32_t value) {
    if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return static_cast<int16_t>(value);
}

Failure tooLarge(const char* option, int32_t value) {
    return Failure{QStringLiteral("L'opzione %1 vale %2, fuori dall'intervallo da -32768 a 32767.")
                       .arg(QLatin1String(option))
                       .arg(value)};
}

} // namespace

Outcome<int32_t> CGUnzipFiles::Unzip(const QString& sZipFileName, const QString& sExtractDir) {
    if (!sZipFileName.isEmpty())
        m_zipFileName = sZipFileName;
    if (!sExtractDir.isEmpty())
        m_extractDir = sExtractDir;
    const std::optional<int16_t> privilege = narrowed(m_privilege);
    if (!privilege)
        return tooLarge("Privilege", m_privilege);
    const std::optional<int16_t> extractList = narrowed(m_extractList);
    if (!extractList)
        return tooLarge("ExtractList", m_extractList);
    const std::optional<int16_t> messageLevel = narrowed(m_messageLevel);
    if (!messageLevel)
        return tooLarge("MessageLevel", m_messageLevel);
    return CodeModule::VBUnzip(m_zipFileName, m_extractDir, m_extractNewer, m_spaceToUnderScore, m_promptOverwrite,
                               *messageLevel, m_writeToStdOut, m_testZip, *extractList, m_extractOnlyNewer,
                               m_displayComment, m_honorDirectories, m_overWriteFiles, m_convertCRtoCRLF, m_verbose,
                               m_caseSensitive, *privilege, m_questionContext);
}

QString CGUnzipFiles::GetLastMessage() const {
    return CodeModule::LastMessage();
}
