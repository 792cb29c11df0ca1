#include "CGUnzipFiles.h"

#include "CodeModule.h"
#include "UnzipError.h"

#include <limits>

namespace {

const QString kSource = QStringLiteral("CGUnZipFiles::Unzip");

int16_t narrowed(int32_t value) {
    if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
        throw UnzipError(UnzipError::kOverflow, kSource, QStringLiteral("Overflow"));
    return static_cast<int16_t>(value);
}

} // namespace

int32_t CGUnzipFiles::Unzip(const QString& sZipFileName, const QString& sExtractDir) {
    try {
        if (!sZipFileName.isEmpty())
            m_zipFileName = sZipFileName;
        if (!sExtractDir.isEmpty())
            m_extractDir = sExtractDir;
        const int16_t privilege = narrowed(m_privilege);
        const int16_t extractList = narrowed(m_extractList);
        const int16_t messageLevel = narrowed(m_messageLevel);
        return CodeModule::VBUnzip(m_zipFileName, m_extractDir, m_extractNewer, m_spaceToUnderScore, m_promptOverwrite,
                                   messageLevel, m_writeToStdOut, m_testZip, extractList, m_extractOnlyNewer,
                                   m_displayComment, m_honorDirectories, m_overWriteFiles, m_convertCRtoCRLF, m_verbose,
                                   m_caseSensitive, privilege);
    } catch (const UnzipError& error) {
        throw error.raisedBy(kSource);
    }
}

QString CGUnzipFiles::GetLastMessage() const {
    return CodeModule::LastMessage();
}
