#include "Listing.h"

namespace Listing {

QString block(const QString& page, MissingEnd missingEnd) {
    static const QString open = QStringLiteral("<PRE>");
    static const QString close = QStringLiteral("</PRE>");
    const qsizetype a = page.indexOf(open); // -1 when absent: the block then starts at the page's 5th character
    const qsizetype b = page.indexOf(close);
    if (b < 0 && missingEnd == MissingEnd::EmptyBlock)
        return {};
    // The block is the characters between the end of "<PRE>" and "</PRE>"; a negative count (markers missing or
    // in the wrong order) gives an empty block.
    const qsizetype start = a + open.size();
    const qsizetype length = b - a - open.size();
    if (start < 0 || length <= 0)
        return {};
    return page.mid(start, length);
}

QStringList entries(const QString& block) {
    QStringList result;
    qsizetype previous = -1; // index of the last line feed handled
    for (qsizetype i = 0; i < block.size(); ++i) {
        if (block[i] != QLatin1Char('\n'))
            continue;
        const qsizetype start = previous + 1;
        result.append(block.mid(start, std::max<qsizetype>(0, i - start - 1)));
        previous = i;
    }
    return result;
}

} // namespace Listing
