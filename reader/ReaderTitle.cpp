#include "ReaderTitle.h"

#include <QDate>
#include <QDir>
#include <algorithm>

namespace {

constexpr qsizetype kDateLength = 8;

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isEightDigits(QStringView text) {
    return text.size() == kDateLength && std::all_of(text.begin(), text.end(), isDigit);
}

// "yyyymmdd" (or any eight characters) as "dd/mm/yyyy".
QString dayFirst(QStringView date) {
    return date.right(2).toString() + QLatin1Char('/') + date.mid(4, 2).toString() + QLatin1Char('/') +
           date.left(4).toString();
}

QDate dateOfCode(QStringView code) {
    return isEightDigits(code) ? QDate::fromString(code, QStringLiteral("yyyyMMdd")) : QDate();
}

// Where the last valid date ends that closes a run of digits; nothing when no run closes with one.
std::optional<qsizetype> validDateEnd(QStringView name) {
    for (qsizetype end = name.size(); end >= kDateLength; --end) {
        const bool closesRun = end == name.size() || !isDigit(name[end]);
        if (closesRun && dateOfCode(name.mid(end - kDateLength, kDateLength)).isValid())
            return end;
    }
    return std::nullopt;
}

QString joined(QStringView masthead, QStringView edition, const QString& date) {
    const QString of = QStringLiteral(" di ") + date;
    if (edition.isEmpty())
        return masthead.toString() + of;
    return masthead.toString() + QStringLiteral(" - ") + edition.toString() + of;
}

} // namespace

namespace ReaderTitle {

QLocale dateLocale() {
    const QLocale system = QLocale::system();
    return system.language() == QLocale::C ? QLocale(QLocale::Italian, QLocale::Italy) : system;
}

QString longDate(const QString& dayFirstText, const QLocale& locale) {
    const QDate date = QDate::fromString(dayFirstText, QStringLiteral("dd/MM/yyyy"));
    return date.isValid() ? locale.toString(date, QLocale::LongFormat) : dayFirstText;
}

QString longDateOfCode(const QString& code, const QLocale& locale) {
    const QDate date = dateOfCode(code);
    return date.isValid() ? locale.toString(date, QLocale::LongFormat) : code;
}

QString fromBaseName(const QString& baseName, const QLocale& locale) {
    const QStringView name(baseName);
    if (const std::optional<qsizetype> end = validDateEnd(name)) {
        const QStringView date = name.mid(*end - kDateLength, kDateLength);
        return joined(name.left(*end - kDateLength), name.mid(*end), longDate(dayFirst(date), locale));
    }
    if (isEightDigits(name.right(kDateLength)))
        return joined(name.chopped(kDateLength), {}, longDate(dayFirst(name.right(kDateLength)), locale));
    qsizetype suffixLength = 0;
    while (suffixLength < name.size() && !isDigit(name[name.size() - 1 - suffixLength]))
        ++suffixLength;
    const QStringView rest = name.chopped(suffixLength);
    if (rest.size() < kDateLength)
        return baseName; // no room for a date: the name as it is
    return rest.chopped(kDateLength).toString() + QStringLiteral(" - ") + name.right(suffixLength).toString() +
           QStringLiteral(" di ") + longDate(dayFirst(rest.right(kDateLength)), locale);
}

Parts partsOf(const QString& baseName) {
    const QStringView name(baseName);
    if (const std::optional<qsizetype> end = validDateEnd(name))
        return {name.left(*end - kDateLength).toString(), name.mid(*end).toString(),
                dateOfCode(name.mid(*end - kDateLength, kDateLength))};
    return {baseName, {}, {}};
}

std::optional<QString> nomeGiornale(const QString& path) {
    // Counted from the end up to and including the separator: with none at all, everything but the first character.
    qsizetype n = path.size();
    qsizetype i = 0;
    while (n >= 1) {
        ++i;
        const QChar c = path[n - 1];
        if (c == QLatin1Char('/') || c == QDir::separator())
            break;
        --n;
    }
    const QString fileName = path.right(i - 1);
    if (fileName.size() < 4)
        return std::nullopt;
    return fileName.chopped(4);
}

} // namespace ReaderTitle
