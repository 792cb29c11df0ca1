#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Small byte-level tools of the extraction library.
namespace TextTools {

// Turns every line end (CR LF, a lone LF, a lone CR) into CR LF, across blocks of one stream.
class LineEndConverter {
public:
    void convert(const char* data, size_t size, std::string& out);
    void finish(std::string& out);

private:
    bool m_pendingCr = false;
};

// True when the block looks like text: no zero byte.
bool looksLikeText(const void* data, size_t size);

// CRC-32 as ZIP computes it, continued from an earlier value (0 to start).
uint32_t crc32(uint32_t crc, const void* data, size_t size);

// True when the bytes are a UTF-8 text.
bool isValidUtf8(std::string_view bytes);

// Bytes in DOS code page 850 as UTF-8; text that already is valid UTF-8 stays as it is.
std::string dosToUtf8(std::string_view bytes);

// Bytes in DOS code page 850 as UTF-8, whatever they are.
std::string cp850ToUtf8(std::string_view bytes);

} // namespace TextTools
