#include "Cp1252.h"

#include <array>
#include <cstring>

namespace {

// 0x80-0x9F; the other bytes are the Latin-1 characters of the same value. Unassigned bytes map to their C1 control.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr std::array<char16_t, 256> kDecodeTable = [] {
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 256; ++b)
        table[b] = (b >= 0x80 && b < 0xA0) ? kHighControls[b - 0x80] : static_cast<char16_t>(b);
    return table;
}();

char encodeChar(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

namespace Cp1252 {

QString decode(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = kDecodeTable[in[i]];
    return text;
}

QString decodeJoiningLines(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = in + bytes.size();
    qsizetype kept = 0;
    while (in < end) {
        const auto* lineFeed = static_cast<const unsigned char*>(std::memchr(in, '\n', end - in));
        const auto* stop = lineFeed ? lineFeed : end;
        for (const auto* p = in; p < stop; ++p)
            out[kept++] = kDecodeTable[*p];
        if (!lineFeed)
            break;
        if (stop > in && stop[-1] == '\r')
            --kept; // the CR of a CR LF goes with its LF
        in = lineFeed + 1;
    }
    text.truncate(kept);
    return text;
}

QByteArray encode(QStringView text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i; // one character outside the page, one '?'
        bytes[n++] = encodeChar(c.unicode());
    }
    bytes.truncate(n);
    return bytes;
}

} // namespace Cp1252
