// The exported functions of the extraction library.
#include "ExtractionRun.h"
#include "LocalText.h"
#include "unzip/UnzipRecords.h"

#include <archive.h>
#include <atomic>
#include <cstdio>
#include <cstring>

namespace {

std::atomic<bool> g_busy{false};
ExpansionLimits g_limits;

std::vector<std::string> names(int32_t count, const UnzipNameList* list) {
    std::vector<std::string> result;
    for (int32_t i = 0; list && i < count && i < 100; ++i) {
        if (list->names[i])
            result.emplace_back(list->names[i]);
    }
    return result;
}

// A failure of the library itself, not of the archive or the disk: said as such, when problems are printed.
int32_t internalError(const UnzipOptions& options, const UnzipCallbacks& callbacks, const char* what) {
    try {
        if (callbacks.print && options.MessageLevel >= 1) {
            const std::string text =
                toLocal(std::string("Errore interno della libreria di decompressione: ") + what + "\n");
            callbacks.print(text.c_str(), static_cast<uint32_t>(text.size()));
        }
    } catch (...) {
    }
    return UNZIP_INTERNAL;
}

} // namespace

extern "C" {

UNZIP32_API void UzpVersion2(UnzipVersion* version) {
    if (!version || version->length < sizeof(UnzipVersion))
        return;
    version->flags = 0;
    std::snprintf(version->level, sizeof version->level, "%s", "");
    std::snprintf(version->date, sizeof version->date, "%s", "2026-12-06");
    std::snprintf(version->archiveLibrary, sizeof version->archiveLibrary, "%d", archive_version_number());
    const unsigned char library[4] = {1, 0, 0, 0};
    std::memcpy(version->library, library, sizeof library);
}

UNZIP32_API int32_t Wiz_SingleEntryUnzip(int32_t includeCount, const UnzipNameList* include, int32_t excludeCount,
                                         const UnzipNameList* exclude, const UnzipOptions* options,
                                         const UnzipCallbacks* callbacks) {
    if (!options || !callbacks)
        return UNZIP_BAD_OPTIONS;
    // libarchive changes the process's file mask while it writes, and the callbacks' state is the caller's:
    // one run at a time.
    if (g_busy.exchange(true))
        return UNZIP_BUSY;
    int32_t code = UNZIP_BAD_OPTIONS;
    try {
        ExtractionRun run(*options, *callbacks, names(includeCount, include), names(excludeCount, exclude), g_limits);
        code = run.run();
    } catch (const std::exception& error) { // nothing escapes into the caller
        code = internalError(*options, *callbacks, error.what());
    } catch (...) {
        code = internalError(*options, *callbacks, "eccezione sconosciuta");
    }
    g_busy = false;
    return code;
}

UNZIP32_API void UzpSetExpansionLimits(uint64_t maxEntryBytes, uint64_t maxRunBytes, uint64_t ratioFloor,
                                       uint32_t maxRatio) {
    const ExpansionLimits defaults;
    g_limits.maxEntryBytes = maxEntryBytes ? maxEntryBytes : defaults.maxEntryBytes;
    g_limits.maxRunBytes = maxRunBytes ? maxRunBytes : defaults.maxRunBytes;
    g_limits.ratioFloor = ratioFloor ? ratioFloor : defaults.ratioFloor;
    g_limits.maxRatio = maxRatio ? maxRatio : defaults.maxRatio;
}

} // extern "C"
