#pragma once

#include "WindowThreadQuestion.h"
#include "platform/Outcome.h"

#include <QString>
#include <cstdint>

// One extraction job: the archive, the target folder and the options, handed to the unzip driver. Flags are
// kept as 0 or 1; numbers and texts as they are set.
class CGUnzipFiles {
public:
    bool ExtractNewer() const { return m_extractNewer == 1; }
    void setExtractNewer(bool bExtractNewer) { m_extractNewer = bExtractNewer ? 1 : 0; }
    bool SpaceToUnderScore() const { return m_spaceToUnderScore == 1; }
    void setSpaceToUnderScore(bool bConvert) { m_spaceToUnderScore = bConvert ? 1 : 0; }
    bool PromptOverwrite() const { return m_promptOverwrite == 1; }
    void setPromptOverwrite(bool bPrompt) { m_promptOverwrite = bPrompt ? 1 : 0; }
    int32_t MessageLevel() const { return m_messageLevel; }
    void setMessageLevel(int32_t iLevel) { m_messageLevel = iLevel; }
    bool WriteToStdOut() const { return m_writeToStdOut == 1; }
    void setWriteToStdOut(bool bWrite) { m_writeToStdOut = bWrite ? 1 : 0; }
    bool TestZip() const { return m_testZip == 1; }
    void setTestZip(bool bTest) { m_testZip = bTest ? 1 : 0; }
    int32_t ExtractList() const { return m_extractList; }
    void setExtractList(int32_t zExType) { m_extractList = zExType; }
    bool ExtractOnlyNewer() const { return m_extractOnlyNewer == 1; }
    void setExtractOnlyNewer(bool bOnlyNewer) { m_extractOnlyNewer = bOnlyNewer ? 1 : 0; }
    bool DisplayComment() const { return m_displayComment == 1; }
    void setDisplayComment(bool bDisplay) { m_displayComment = bDisplay ? 1 : 0; }
    bool HonorDirectories() const { return m_honorDirectories == 1; }
    void setHonorDirectories(bool bHonor) { m_honorDirectories = bHonor ? 1 : 0; }
    bool OverWriteFiles() const { return m_overWriteFiles == 1; }
    void setOverWriteFiles(bool bOverWrite) { m_overWriteFiles = bOverWrite ? 1 : 0; }
    bool ConvertCRtoCRLF() const { return m_convertCRtoCRLF == 1; }
    void setConvertCRtoCRLF(bool bConvert) { m_convertCRtoCRLF = bConvert ? 1 : 0; }
    bool Verbose() const { return m_verbose == 1; }
    void setVerbose(bool bVerbose) { m_verbose = bVerbose ? 1 : 0; }
    bool CaseSensitive() const { return m_caseSensitive == 1; }
    void setCaseSensitive(bool bCaseSensitive) { m_caseSensitive = bCaseSensitive ? 1 : 0; }
    int32_t Privilege() const { return m_privilege; }
    void setPrivilege(int32_t zPriv) { m_privilege = zPriv; }
    QString ZipFileName() const { return m_zipFileName; }
    void setZipFileName(const QString& sZipFileName) { m_zipFileName = sZipFileName; }
    QString ExtractDir() const { return m_extractDir; }
    void setExtractDir(const QString& sExtractDir) { m_extractDir = sExtractDir; }

    // The object whose window the run's questions (overwrite, password) belong to, set on the window thread; a
    // question up when it is destroyed counts as a box closed. Without one: the active window.
    void setQuestionContext(QObject* context) {
        m_questionContext = context ? WindowThreadQuestion::Context(context) : std::nullopt;
    }

    // Extracts with the options as they stand; a non-empty argument first replaces the stored path or folder.
    // The library's code (0 success, nonzero the problems it met), or why no extraction could be run: a number
    // option that does not fit in 16 bits, no library, a run already under way.
    Outcome<int32_t> Unzip(const QString& sZipFileName = QString(), const QString& sExtractDir = QString());

    // What the library printed during the last run of any job.
    QString GetLastMessage() const;

private:
    int16_t m_extractNewer = 0;
    int16_t m_spaceToUnderScore = 0;
    int16_t m_promptOverwrite = 0;
    int32_t m_messageLevel = 2;
    int16_t m_writeToStdOut = 0;
    int16_t m_testZip = 0;
    int32_t m_extractList = 0;
    int16_t m_extractOnlyNewer = 0;
    int16_t m_displayComment = 0;
    int16_t m_honorDirectories = 1;
    int16_t m_overWriteFiles = 1;
    int16_t m_convertCRtoCRLF = 0;
    int16_t m_verbose = 0;
    int16_t m_caseSensitive = 1;
    int32_t m_privilege = 0;
    QString m_zipFileName;
    QString m_extractDir;
    WindowThreadQuestion::Context m_questionContext;
};
