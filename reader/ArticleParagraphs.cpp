#include "ArticleParagraphs.h"

#include <algorithm>

namespace {

bool endsSentence(QChar c) {
    return c == QLatin1Char('.') || c == QLatin1Char('!') || c == QLatin1Char('?') || c == QChar(0x2026);
}

// The space in the second half of the piece [start, end) best to break at, or -1.
qsizetype breakingSpace(const QString& text, qsizetype start, qsizetype end) {
    qsizetype lastSpace = -1;
    for (qsizetype at = end - 1; at > start + (end - start) / 2; --at) {
        if (!text.at(at).isSpace())
            continue;
        if (endsSentence(text.at(at - 1)))
            return at;
        if (lastSpace < 0)
            lastSpace = at;
    }
    return lastSpace;
}

} // namespace

ArticleParagraphs ArticleParagraphs::cut(const QString& joined, qsizetype longestPiece) {
    if (joined.size() <= longestPiece)
        return {joined, {}};
    ArticleParagraphs cut;
    cut.text.reserve(joined.size() + joined.size() / longestPiece + 1);
    qsizetype start = 0;
    while (joined.size() - start > longestPiece) {
        qsizetype end = start + longestPiece;
        const qsizetype space = breakingSpace(joined, start, end);
        if (space >= 0) {
            cut.text.append(QStringView(joined).sliced(start, space - start)).append(QChar::ParagraphSeparator);
            start = space + 1;
            continue;
        }
        if (joined.at(end - 1).isHighSurrogate())
            --end;
        cut.text.append(QStringView(joined).sliced(start, end - start)).append(QChar::ParagraphSeparator);
        cut.inserted.append(end);
        start = end;
    }
    cut.text.append(QStringView(joined).sliced(start));
    return cut;
}

qsizetype ArticleParagraphs::shown(qsizetype position) const {
    return position + (std::upper_bound(inserted.begin(), inserted.end(), position) - inserted.begin());
}

qsizetype ArticleParagraphs::joined(qsizetype shownPosition) const {
    qsizetype before = 0;
    while (before < inserted.size() && inserted.at(before) + before < shownPosition)
        ++before;
    return shownPosition - before;
}
