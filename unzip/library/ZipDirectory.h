#pragma once

#include <optional>
#include <string>
#include <unordered_map>

// What the archive's own directory says, read straight from the file, for what libarchive does not tell.
namespace ZipDirectory {

struct EndRecord {
    unsigned long long directoryOffset = 0;
    unsigned long long directorySize = 0;
    std::string comment; // as stored
};

// The end-of-directory record: it starts with "PK\5\6" and its comment runs exactly to the end of the file.
std::optional<EndRecord> endRecord(const std::string& archivePath);

// Names stored without the UTF-8 flag whose bytes are UTF-8 all the same (as many archivers write them), keyed by
// their reading in DOS code page 850, the reading libarchive gives every name without the flag.
std::unordered_map<std::string, std::string> unflaggedUtf8Names(const std::string& archivePath);

} // namespace ZipDirectory
