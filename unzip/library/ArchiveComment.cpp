#include "ArchiveComment.h"

#include "TextTools.h"

#include <algorithm>
#include <fstream>
#include <vector>

namespace {

constexpr size_t kRecordSize = 22; // the end record without its comment
constexpr size_t kMaxComment = 0xFFFF;

unsigned readLe16(const unsigned char* p) {
    return p[0] | (p[1] << 8);
}

} // namespace

std::string archiveComment(const std::string& archivePath) {
    std::ifstream file(archivePath, std::ios::binary | std::ios::ate);
    if (!file)
        return {};
    const auto size = static_cast<size_t>(file.tellg());
    const size_t tail = std::min(size, kRecordSize + kMaxComment);
    std::vector<unsigned char> bytes(tail);
    file.seekg(static_cast<std::streamoff>(size - tail));
    if (!file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(tail)))
        return {};
    // The record starts with "PK\5\6" and its comment runs exactly to the end of the file.
    for (size_t at = tail >= kRecordSize ? tail - kRecordSize + 1 : 0; at-- > 0;) {
        const unsigned char* record = bytes.data() + at;
        if (record[0] == 'P' && record[1] == 'K' && record[2] == 5 && record[3] == 6) {
            const unsigned length = readLe16(record + 20);
            if (at + kRecordSize + length != tail)
                continue;
            return TextTools::dosToUtf8(std::string_view(reinterpret_cast<const char*>(record + kRecordSize), length));
        }
    }
    return {};
}
