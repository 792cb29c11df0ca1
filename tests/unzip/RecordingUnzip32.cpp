// A stand-in for the extraction library that records what the driver hands it and answers as scripted, to check
// the call records without extracting anything.
#include "Recording.h"
#include "unzip/UnzipRecords.h"

#include <cstring>
#include <string>
#include <vector>

extern "C" {

UNZIP32_API Recording* RecordedRun();
UNZIP32_API void ScriptRun(int32_t code);
UNZIP32_API void ScriptPrint(const char* bytes, uint32_t length);
}

namespace {
Recording g_recording{};
int32_t g_code = 0;
std::vector<std::string> g_chunks;

bool allNull(const UnzipNameList* list) {
    for (const char* name : list->names) {
        if (name)
            return false;
    }
    return true;
}
} // namespace

extern "C" {

UNZIP32_API Recording* RecordedRun() {
    return &g_recording;
}

UNZIP32_API void ScriptRun(int32_t code) {
    g_recording = Recording{};
    g_code = code;
    g_chunks.clear();
}

UNZIP32_API void ScriptPrint(const char* bytes, uint32_t length) {
    g_chunks.emplace_back(bytes, length);
}

UNZIP32_API void UzpVersion2(UnzipVersion* version) {
    ++g_recording.versionCalls;
    g_recording.versionSeen = *version;
}

UNZIP32_API int32_t Wiz_SingleEntryUnzip(int32_t includeCount, const UnzipNameList* include, int32_t excludeCount,
                                         const UnzipNameList* exclude, const UnzipOptions* options,
                                         const UnzipCallbacks* callbacks) {
    ++g_recording.runs;
    g_recording.options = *options;
    std::strncpy(g_recording.zipFileName, options->ZipFileName ? options->ZipFileName : "(null)", 1023);
    std::strncpy(g_recording.extractDir, options->ExtractDir ? options->ExtractDir : "(null)", 1023);
    g_recording.options.ZipFileName = g_recording.options.ExtractDir = nullptr;
    g_recording.includeCount = includeCount;
    g_recording.excludeCount = excludeCount;
    g_recording.namesAllNull = allNull(include) && allNull(exclude);
    g_recording.callbacks = *callbacks;
    for (const std::string& chunk : g_chunks)
        callbacks->print(chunk.data(), static_cast<uint32_t>(chunk.size()));
    return g_code;
}

} // extern "C"
