#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <optional>

// The reader's title from an archive's base name: the masthead, " - " and the provincial edition when there is
// one, " di " and the long date ("La Gazzetta20261205Nord" gives "La Gazzetta - Nord di sabato 5 dicembre 2026").
// The date is the last run of eight digits (the end of a longer run counts) that is a valid yyyymmdd date; the
// masthead is what comes before it and the edition what follows, digits and all ("Eco20261205Zona 2"). A name
// without such a date takes its last eight digits before any trailing non-digits as the date as they stand; a name
// too short to hold a date stays as it is.
namespace ReaderTitle {

// The user's locale, or Italian, the program's language, where the process has no regional settings (C, POSIX).
QLocale dateLocale();

// A yyyymmdd date code as a long date; a code that is not a valid date as it stands.
QString longDateOfCode(const QString& code, const QLocale& locale = dateLocale());

QString fromBaseName(const QString& baseName, const QLocale& locale = dateLocale());

// The masthead, the edition and the date of an archive's base name, as the title reads them; a name without a
// valid date gives the whole name as the masthead and no date.
struct Parts {
    QString masthead;
    QString edition;
    QDate date;
};
Parts partsOf(const QString& baseName);

// The day-first date text "dd/mm/yyyy" in the locale's long format; a text that is not a valid date unchanged.
QString longDate(const QString& dayFirst, const QLocale& locale = dateLocale());

// The newspaper's base name from a chosen archive's path: the file name after the last folder separator without
// its last four characters (".zip", unchecked); nothing when the file name is shorter than four characters.
std::optional<QString> nomeGiornale(const QString& path);

} // namespace ReaderTitle
