#pragma once

#include <QLocale>
#include <QString>

// The reader's title from an archive's base name: a trailing yyyymmdd date becomes " di " and the long date
// ("La Gazzetta20261205" gives "La Gazzetta di sabato 5 dicembre 2026"); a run of non-digits after the date
// (a provincial edition) goes before it after " - ". A name too short to hold a date stays as it is.
namespace ReaderTitle {

// The user's locale, or Italian, the program's language, where the process has no regional settings (C, POSIX).
QLocale dateLocale();

// A yyyymmdd date code as a long date; a code that is not a valid date as it stands.
QString longDateOfCode(const QString& code, const QLocale& locale = dateLocale());

QString fromBaseName(const QString& baseName, const QLocale& locale = dateLocale());

// The day-first date text "dd/mm/yyyy" in the locale's long format; a text that is not a valid date unchanged.
QString longDate(const QString& dayFirst, const QLocale& locale = dateLocale());

} // namespace ReaderTitle
