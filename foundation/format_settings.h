#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// The program's number and date formats. They are fixed, not taken from the user's locale:
// "." is the decimal separator, a blank groups thousands and dates read year.month.day.
// Numbers that go into SQL or files never depend on the locale.

inline constexpr QChar DecimalSeparator = u'.';
inline constexpr QChar ThousandSeparator = u' ';

// General form with 15 significant digits, as amounts are shown ("300.3", "1E20").
QString FloatToStr(double value);

// The shortest text that reads back as exactly the same double; for SQL texts.
QString FloatToSQL(double value);

// Delphi-style number format: up to three sections "positive;negative;zero"; "0" a digit that
// is always shown, "#" an optional digit, "." the decimal point, "," anywhere before it groups
// thousands, text in quotes literal. Halves round away from zero. An empty format gives
// FloatToStr.
QString FormatFloat(const QString& format, double value);

// value rounded to the given number of decimals the way a DECIMAL column stores it: on the
// value's shortest decimal text, halves away from zero.
double RoundToDecimals(double value, int decimals);

// Whole-text readers; blanks around the number are ignored. Only "." is a decimal point.
bool TextToFloat(const QString& text, double& value);
bool TextToInt64(const QString& text, qint64& value);

// "2024.03.10"; the empty (null) date gives an empty text.
QString DateToStr(const QDate& date);
// Reads year.month.day ("." "-" or "/" between them). A text without any digit (an emptied
// date mask) reads as the empty date. false for anything else that is no date.
bool TextToDate(const QString& text, QDate& date);

// "hh:mm:ss"; the empty (null) time gives an empty text.
QString TimeToStr(const QTime& time);
bool TextToTime(const QString& text, QTime& time);

// The date text, followed by " hh:mm:ss" unless the time is midnight; empty for the null value.
// Date-times are UTC-less wall-clock values (Qt::UTC), so no daylight-saving gap can void one.
QString DateTimeToStr(const QDateTime& value);
bool TextToDateTime(const QString& text, QDateTime& value);

// The conversion error of a text, as typed, that does not read as the value wanted: "'X' nem
// érvényes egész szám", "... szám", "... dátum", "... időpont".
enum class ConvertTarget { Integer, Float, Date, Time };
[[noreturn]] void RaiseConvertError(const QString& text, ConvertTarget target);
