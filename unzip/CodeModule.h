#pragma once

#include "UnzipRecords.h"
#include "platform/Outcome.h"

#include <QString>
#include <cstdint>

// The bridge between the unzip job and the extraction library unzip32: fills the library's call records from the
// job's options, runs one extraction and answers the library's callbacks. Its state is process-wide and reset
// at every run; one run at a time, in any thread.
namespace CodeModule {

// Runs one extraction and returns the library's code unchanged. Failures (no library, a missing function,
// a run already under way) raise UnzipError with the source "CodeModule::VBUnzip".
int32_t VBUnzip(const QString& zipFileName, const QString& extractDir, int16_t extractNewer, int16_t spaceToUnderScore,
                int16_t promptOverwrite, int16_t messageLevel, int16_t writeToStdOut, int16_t testZip,
                int16_t extractList, int16_t extractOnlyNewer, int16_t displayComment, int16_t honorDirectories,
                int16_t overWriteFiles, int16_t convertCRtoCRLF, int16_t verbose, int16_t caseSensitive,
                int16_t privilege);

// What the library printed during the last run.
QString LastMessage();

// The library file, without its platform prefix and suffix: "unzip32" beside the executable, or in an installed
// copy's private folder, by default.
QString libraryPath();
void setLibraryPath(const QString& path); // empty: the default
// Loads the library and checks its functions: its file and version, or why it cannot be used.
Outcome<QString> describeLibrary();

// The callbacks the library calls; none lets a failure escape.
extern "C" {
int32_t PrintCallback(const char* chunk, uint32_t length);
int32_t ReplaceCallback(const char* name);
int32_t PasswordCallback(char* buffer, int32_t size, const char* prompt, const char* name);
void ListingCallback(uint32_t uncompressedSize, uint32_t compressedSize, uint32_t ratioPercent, uint32_t month,
                     uint32_t day, uint32_t year, uint32_t hour, uint32_t minute, char kind, const char* name,
                     const char* method, uint32_t crc, char encrypted);
int32_t ServiceCallback(const char* name, uint32_t size);
}

// Clears the printed text and the declined password, as the start of every run does.
void resetState();

// A run may go on in a worker thread. Its questions (overwrite, password) are asked on the window thread, which
// the worker waits for; requestCancel() stops the running or next run before its next entry, until clearCancel();
// windowThreadGone() (the program ends) answers every question still to come as a box closed with Cancel.
void requestCancel();
void clearCancel();
// The entries the running or last run has come to, for a progress.
int entriesStarted();
void windowThreadGone();

} // namespace CodeModule
