#include "ArticleSearch.h"

#include "NewspaperStructure.h"
#include "platform/Cp1252.h"
#include "platform/TextFile.h"

#include <QSet>
#include <array>

namespace {

constexpr qsizetype kContext = 40; // characters on each side of the match
constexpr qsizetype kMaxIndexBytes = 1 << 20;

QString around(const QString& text, qsizetype offset, qsizetype length) {
    const qsizetype start = std::max<qsizetype>(0, offset - kContext);
    const qsizetype end = std::min(text.size(), offset + length + kContext);
    QString context = text.mid(start, end - start).simplified();
    if (start > 0)
        context.prepend(QStringLiteral("…"));
    if (end < text.size())
        context.append(QStringLiteral("…"));
    return context;
}

} // namespace

namespace ArticleSearch {

namespace {

// Each character folded: a base letter in lower case, or 0 for a mark that goes. Latin letters, the ones an
// Italian text holds, come from a table made once; other characters are folded as they come.
QChar folded(QChar c) {
    static const std::array<char16_t, 0x250> table = [] {
        std::array<char16_t, 0x250> t{};
        for (char16_t u = 0; u < t.size(); ++u)
            t[u] = 0;
        for (unsigned u = 0; u < t.size(); ++u) {
            const QChar c(static_cast<char16_t>(u));
            const QString decomposed = c.decomposition();
            const QChar base = decomposed.isEmpty() || c.decompositionTag() != QChar::Canonical ? c : decomposed[0];
            t[u] = base.toCaseFolded().unicode();
        }
        return t;
    }();
    if (c.unicode() < table.size())
        return QChar(table[c.unicode()]);
    if (c.category() == QChar::Mark_NonSpacing)
        return QChar(0);
    const QString decomposed = c.decomposition();
    const QChar base = decomposed.isEmpty() || c.decompositionTag() != QChar::Canonical ? c : decomposed[0];
    return base.toCaseFolded();
}

} // namespace

QString fold(const QString& text, QList<qsizetype>* at) {
    QString result(text.size(), Qt::Uninitialized);
    QChar* out = result.data();
    qsizetype kept = 0;
    if (at)
        at->clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = folded(text[i]);
        if (c.isNull())
            continue;
        out[kept++] = c;
        if (at)
            at->append(i);
    }
    result.truncate(kept);
    return result;
}

// Where the folded character at that index came from in the text.
qsizetype sourceIndex(const QString& text, qsizetype foldedIndex) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (folded(text[i]).isNull())
            continue;
        if (count++ == foldedIndex)
            return i;
    }
    return text.size();
}

IssueScan::IssueScan(const QString& word) : m_word(fold(word.trimmed())) {}

void IssueScan::addFile(const QString& fileName, const QByteArray& bytes) {
    if (m_word.isEmpty())
        return;
    if (NewspaperStructure::isSectionIndex(fileName)) {
        if (bytes.size() > kMaxIndexBytes)
            return; // no newspaper's contents are this long

        const QString key = fileName.toCaseFolded();
        m_indexes.insert(key, TextFile::splitLines(Cp1252::decode(bytes)));
        m_indexNames.insert(key, fileName);
        return;
    }
    // An article: section name, "-", three-character code, ".txt".
    if (fileName.size() < 9 || !fileName.endsWith(QLatin1String(".txt")) || fileName[fileName.size() - 8] != '-')
        return;
    const QString text = Cp1252::decodeJoiningLines(bytes);
    const qsizetype found = fold(text).indexOf(m_word);
    if (found < 0)
        return;
    const qsizetype offset = sourceIndex(text, found);
    const qsizetype length = sourceIndex(text, found + m_word.size() - 1) + 1 - offset;
    const QString section = fileName.left(fileName.size() - 8);
    const QString code = fileName.mid(fileName.size() - 7, 3);
    m_found.insert(section + QLatin1Char('/') + code,
                   {section, {}, code, {}, around(text, offset, length), offset, length});
}

QList<Hit> IssueScan::hits() const {
    QList<Hit> hits;
    for (auto index = m_indexes.cbegin(); index != m_indexes.cend(); ++index) {
        const QString indexFile = m_indexNames.value(index.key());
        const auto scan = NewspaperStructure::scanFileNames({indexFile});
        if (!scan || scan.value().isEmpty())
            continue;
        const QString section = scan.value().first().shownName;
        QSet<QString> listed; // a code listed twice is found once
        for (const QString& line : index.value()) {
            const QString key = section + QLatin1Char('/') + line.left(3);
            const auto hit = m_found.constFind(key);
            if (hit == m_found.cend() || listed.contains(key))
                continue;
            listed.insert(key);
            Hit found = hit.value();
            found.indexFile = indexFile;
            found.title = line.mid(3).trimmed();
            hits.append(found);
        }
    }
    return hits;
}

} // namespace ArticleSearch
