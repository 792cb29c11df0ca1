#pragma once

// The call records and callbacks shared by the unzip driver and the extraction library unzip32. Plain C layout:
// integers are 32-bit, texts are pointers to zero-terminated 8-bit strings in the system's local code page
// (UTF-8 on Linux, the ANSI page on Windows), pointers take the platform's pointer size.

#include <stdint.h>

#if defined(_WIN32)
#define UNZIP32_API __declspec(dllexport)
#else
#define UNZIP32_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Options of one run, in the library's field order.
typedef struct UnzipOptions {
    int32_t ExtractOnlyNewer;  // 1: only files that already exist and are older than the entry ("freshen")
    int32_t SpaceToUnderScore; // 1: spaces in entry names become "_"
    int32_t PromptOverwrite;   // 1: ask through ReplaceCallback before replacing a file (when OverWriteFiles is 0)
    int32_t MessageLevel;      // 0 nothing printed, 1 problems only, 2 and more a line per entry and a summary
    int32_t WriteToStdOut;     // 1: contents go to PrintCallback, nothing is written to disk
    int32_t TestZip;           // 1: every entry is read and its CRC checked, nothing is written
    int32_t ExtractList;       // nonzero: entries are listed through ListingCallback, nothing is written
    int32_t ExtractNewer;      // 1: files missing or older than the entry ("update")
    int32_t DisplayComment;    // 1: the archive's comment is printed first
    int32_t HonorDirectories;  // 1: stored folders are recreated; 0: every file lands in the target folder itself
    int32_t OverWriteFiles;    // 1: existing files are replaced without a question
    int32_t ConvertCRtoCRLF;   // 1: line ends of text entries become CR LF
    int32_t Verbose;           // 1: more detail in what is printed
    int32_t CaseSensitive;     // 1: names in the name lists match with regard to case
    int32_t Privilege;         // stored permissions and owners: never restored by this library, whatever the value
    const char* ZipFileName;   // the archive
    const char* ExtractDir;    // the target folder
} UnzipOptions;

// Names that select entries ("*" and "?" are wildcards); the count travels beside the list.
typedef struct UnzipNameList {
    const char* names[100];
} UnzipNameList;

// chunk, its length in bytes; answers 0.
typedef int32_t (*UnzipPrintCallback)(const char* chunk, uint32_t length);
// name of the file that exists; answers 100 keep it, 102 replace it, 104 cancel the run.
typedef int32_t (*UnzipReplaceCallback)(const char* name);
// buffer, its size, prompt, entry name; answers 0 with a password in the buffer, 1 with none.
typedef int32_t (*UnzipPasswordCallback)(char* buffer, int32_t size, const char* prompt, const char* name);
// One archive entry: sizes, ratio in percent, month, day, year, hour, minute, 'd' for a folder or ' ',
// name, method, CRC-32, 'E' when encrypted or ' '. This library does not learn an entry's compressed size, so
// the compressed size and the ratio are 0; the CRC is computed from the data (0 for encrypted entries).
typedef void (*UnzipListingCallback)(uint32_t uncompressedSize, uint32_t compressedSize, uint32_t ratioPercent,
                                     uint32_t month, uint32_t day, uint32_t year, uint32_t hour, uint32_t minute,
                                     char kind, const char* name, const char* method, uint32_t crc, char encrypted);
// entry name, its size; answers 0 to go on, nonzero to cancel the run.
typedef int32_t (*UnzipServiceCallback)(const char* name, uint32_t size);

typedef struct UnzipCallbacks {
    UnzipPrintCallback print;
    void* receiver; // left empty
    UnzipReplaceCallback replace;
    UnzipPasswordCallback password;
    UnzipListingCallback listing;
    UnzipServiceCallback service;
    void* reserved[5];
} UnzipCallbacks;

// 64 bytes; the caller fills the length and the blank texts, the library the rest.
typedef struct UnzipVersion {
    uint32_t length;
    uint32_t flags;
    char level[10];
    char date[20];
    char archiveLibrary[10];
    uint8_t library[4]; // major, minor, patch, 0
    uint8_t reserved[12];
} UnzipVersion;

// Return codes of Wiz_SingleEntryUnzip.
enum {
    UNZIP_OK = 0,            // every entry done
    UNZIP_WARNING = 1,       // done, but some entry failed its check or was skipped for a reason printed
    UNZIP_DAMAGED = 3,       // the archive is damaged, or is not a ZIP archive
    UNZIP_INTERNAL = 4,      // the library itself failed (out of memory, an unexpected exception), said in print
    UNZIP_DISK = 50,         // a file could not be written (full disk, no permission)
    UNZIP_NO_ARCHIVE = 9,    // the archive cannot be opened
    UNZIP_BAD_OPTIONS = 10,  // missing records or texts
    UNZIP_NO_MATCH = 11,     // the name lists matched no entry
    UNZIP_CANCELLED = 80,    // the user cancelled the run
    UNZIP_BAD_PASSWORD = 82, // an encrypted entry was skipped: password declined or wrong
    UNZIP_REFUSED = 83,      // an entry was refused: it led outside the target, was a link, or expanded too much
    UNZIP_BUSY = 84,         // another run is under way in this process
};

UNZIP32_API void UzpVersion2(UnzipVersion* version);
UNZIP32_API int32_t Wiz_SingleEntryUnzip(int32_t includeCount, const UnzipNameList* include, int32_t excludeCount,
                                         const UnzipNameList* exclude, const UnzipOptions* options,
                                         const UnzipCallbacks* callbacks);

// Limits against archives that expand without end, for one entry and one run. An entry also stops once it has
// written more than ratioFloor bytes at more than maxRatio bytes out for each byte read. Zero restores a default.
UNZIP32_API void UzpSetExpansionLimits(uint64_t maxEntryBytes, uint64_t maxRunBytes, uint64_t ratioFloor,
                                       uint32_t maxRatio);

#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
static_assert(sizeof(UnzipVersion) == 64, "the version record is 64 bytes");
#endif
