#pragma once

#include "UnzipRecords.h"
#include "WindowThreadQuestion.h"
#include "platform/Outcome.h"

#include <QString>
#include <cstdint>

// The bridge between the unzip job and the extraction library unzip32: fills the library's call records from the
// job's options, runs one extraction and answers the library's callbacks. The state of a run belongs to the run
// (UnzipRun); one run at a time, in any thread.
namespace CodeModule {

// Runs one extraction: the library's code unchanged (0 success), or why the library could not be run (no
// library, a missing function, a run already under way). The overwrite and password questions belong to the
// window of questionContext (none: the active window); asked from a worker thread, the worker waits for them. A
// run on the window thread, which never waits for a box, gets the answer of a closed box without one.
Outcome<int32_t> VBUnzip(const QString& zipFileName, const QString& extractDir, int16_t extractNewer,
                         int16_t spaceToUnderScore, int16_t promptOverwrite, int16_t messageLevel,
                         int16_t writeToStdOut, int16_t testZip, int16_t extractList, int16_t extractOnlyNewer,
                         int16_t displayComment, int16_t honorDirectories, int16_t overWriteFiles,
                         int16_t convertCRtoCRLF, int16_t verbose, int16_t caseSensitive, int16_t privilege,
                         const WindowThreadQuestion::Context& questionContext = std::nullopt);

// What the library printed: during a run, on its own thread, so far; elsewhere, during the last run that ended.
QString LastMessage();

// The library file, without its platform prefix and suffix: "unzip32" beside the executable, or in an installed
// copy's private folder, by default.
QString libraryPath();
void setLibraryPath(const QString& path); // empty: the default
// Loads the library and checks its functions: its file and version, or why it cannot be used.
Outcome<QString> describeLibrary();

// The callbacks the library calls, which reach the calling thread's run; none lets a failure escape. A question
// that goes without an answer (its window closed, the program quitting, an error) counts as a box closed:
// Cancel for an overwrite (104), no password.
extern "C" {
int32_t PrintCallback(const char* chunk, uint32_t length);
int32_t ReplaceCallback(const char* name);
int32_t PasswordCallback(char* buffer, int32_t size, const char* prompt, const char* name);
void ListingCallback(uint32_t uncompressedSize, uint32_t compressedSize, uint32_t ratioPercent, uint32_t month,
                     uint32_t day, uint32_t year, uint32_t hour, uint32_t minute, char kind, const char* name,
                     const char* method, uint32_t crc, char encrypted);
int32_t ServiceCallback(const char* name, uint32_t size);
}

// A run may go on in a worker thread. Its questions (overwrite, password) open on the window thread, and the
// worker waits for their answers; requestCancel() stops the running or next run before its next entry, until
// clearCancel(); windowThreadGone() (the program ends) answers every question up or still to come as a box closed.
void requestCancel();
void clearCancel();
// The entries the running or last run has come to, for a progress.
int entriesStarted();
void windowThreadGone();

} // namespace CodeModule
