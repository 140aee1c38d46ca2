#pragma once

#include <QByteArray>
#include <QString>

// Text inside the program is Unicode; files for Windows-side peers are Windows-1250 and files
// for DOS-side programs are code page 852; ISO-8859-2 for XML files that declare it.
enum class CodePage { Cp1250, Cp852, Utf8, Iso8859_2 };

QByteArray FromUnicode(const QString& text, CodePage cp);
QString ToUnicode(const QByteArray& bytes, CodePage cp);

// Byte for byte between Windows-1250 and CP852 through the program's own tables, which map only
// the Hungarian letters (and map some of them loosely, as peer files expect).
QByteArray AnsiToDos(const QByteArray& text);
QByteArray DosToAnsi(const QByteArray& text);

// The tables themselves, for callers that convert single bytes.
unsigned char AnsiToDosByte(unsigned char c);
unsigned char DosToAnsiByte(unsigned char c);
