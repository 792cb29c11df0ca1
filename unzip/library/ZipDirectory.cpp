#include "ZipDirectory.h"

#include "TextTools.h"

#include <algorithm>
#include <fstream>
#include <vector>

namespace {

constexpr size_t kEndRecordSize = 22; // without its comment
constexpr size_t kMaxComment = 0xFFFF;
constexpr size_t kEntryHeaderSize = 46;
constexpr unsigned long long kMaxDirectory = 64ull << 20; // larger directories keep the code page 850 reading
constexpr unsigned kUtf8Flag = 0x0800;

unsigned le16(const unsigned char* p) {
    return p[0] | (p[1] << 8);
}

unsigned long long le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<unsigned long long>(p[3]) << 24);
}

bool readAt(std::ifstream& file, unsigned long long offset, std::vector<unsigned char>& bytes) {
    file.clear();
    file.seekg(static_cast<std::streamoff>(offset));
    return static_cast<bool>(
        file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())));
}

bool hasHighByte(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

} // namespace

namespace ZipDirectory {

std::optional<EndRecord> endRecord(const std::string& archivePath) {
    std::ifstream file(archivePath, std::ios::binary | std::ios::ate);
    if (!file)
        return std::nullopt;
    const auto size = static_cast<unsigned long long>(file.tellg());
    const size_t tail = static_cast<size_t>(std::min<unsigned long long>(size, kEndRecordSize + kMaxComment));
    std::vector<unsigned char> bytes(tail);
    if (!readAt(file, size - tail, bytes))
        return std::nullopt;
    for (size_t at = tail >= kEndRecordSize ? tail - kEndRecordSize + 1 : 0; at-- > 0;) {
        const unsigned char* record = bytes.data() + at;
        if (record[0] != 'P' || record[1] != 'K' || record[2] != 5 || record[3] != 6)
            continue;
        const unsigned length = le16(record + 20);
        if (at + kEndRecordSize + length != tail)
            continue;
        return EndRecord{le32(record + 16), le32(record + 12),
                         std::string(reinterpret_cast<const char*>(record + kEndRecordSize), length)};
    }
    return std::nullopt;
}

std::unordered_map<std::string, std::string> unflaggedUtf8Names(const std::string& archivePath) {
    std::unordered_map<std::string, std::string> names;
    const std::optional<EndRecord> end = endRecord(archivePath);
    if (!end || end->directorySize > kMaxDirectory) // ZIP64 sizes are all ones: too large, so passed over too
        return names;
    std::ifstream file(archivePath, std::ios::binary);
    std::vector<unsigned char> directory(static_cast<size_t>(end->directorySize));
    if (!readAt(file, end->directoryOffset, directory))
        return names;
    for (size_t at = 0; at + kEntryHeaderSize <= directory.size();) {
        const unsigned char* header = directory.data() + at;
        if (header[0] != 'P' || header[1] != 'K' || header[2] != 1 || header[3] != 2)
            break;
        const size_t nameLength = le16(header + 28);
        const size_t next = at + kEntryHeaderSize + nameLength + le16(header + 30) + le16(header + 32);
        if (next > directory.size())
            break;
        const std::string_view name(reinterpret_cast<const char*>(header + kEntryHeaderSize), nameLength);
        if (!(le16(header + 8) & kUtf8Flag) && hasHighByte(name) && TextTools::isValidUtf8(name))
            names.emplace(TextTools::cp850ToUtf8(name), std::string(name));
        at = next;
    }
    return names;
}

} // namespace ZipDirectory
