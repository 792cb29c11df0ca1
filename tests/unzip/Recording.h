#pragma once

#include "unzip/UnzipRecords.h"

// What the recording stand-in for the extraction library keeps of its last call.
struct Recording {
    int versionCalls;
    int runs;
    UnzipVersion versionSeen;
    UnzipOptions options;
    char zipFileName[1024];
    char extractDir[1024];
    int32_t includeCount;
    int32_t excludeCount;
    int namesAllNull;
    UnzipCallbacks callbacks;
};
