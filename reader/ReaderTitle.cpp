#include "ReaderTitle.h"

#include <QDate>
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
    const QDate date = isEightDigits(code) ? QDate::fromString(code, QStringLiteral("yyyyMMdd")) : QDate();
    return date.isValid() ? locale.toString(date, QLocale::LongFormat) : code;
}

QString fromBaseName(const QString& baseName, const QLocale& locale) {
    const QStringView name(baseName);
    if (isEightDigits(name.right(kDateLength))) {
        return name.chopped(kDateLength).toString() + QStringLiteral(" di ") +
               longDate(dayFirst(name.right(kDateLength)), locale);
    }
    qsizetype suffixLength = 0;
    while (suffixLength < name.size() && !isDigit(name[name.size() - 1 - suffixLength]))
        ++suffixLength;
    const QStringView rest = name.chopped(suffixLength);
    if (rest.size() < kDateLength)
        return baseName; // no room for a date: the name as it is
    return rest.chopped(kDateLength).toString() + QStringLiteral(" - ") + name.right(suffixLength).toString() +
           QStringLiteral(" di ") + longDate(dayFirst(rest.right(kDateLength)), locale);
}

} // namespace ReaderTitle
