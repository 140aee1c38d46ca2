#include "codepage.h"

#include <iconv.h>

#include <array>
#include <cerrno>

#include "exceptions.h"

namespace {

using Table = std::array<unsigned char, 256>;

Table identity() {
  Table t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
  return t;
}

const Table& ansiToDosTable() {
  static const Table table = [] {
    Table t = identity();
    const unsigned char rows[][2] = {
        {0xC1, 0x41}, {0xE1, 0xA0}, {0xC9, 0x90}, {0xE9, 0x82}, {0xCD, 0xD6},
        {0xED, 0xA1}, {0xD3, 0xE0}, {0xF3, 0xA2}, {0xD6, 0x99}, {0xF6, 0x94},
        {0xD4, 0x8A}, {0xD5, 0x8A}, {0xF4, 0x8B}, {0xF5, 0x8B}, {0xDA, 0xE9},
        {0xFA, 0xA3}, {0xDC, 0x9A}, {0xFC, 0x81}, {0xDB, 0xEB}, {0xFB, 0xFB},
    };
    for (const auto& r : rows) t[r[0]] = r[1];
    return t;
  }();
  return table;
}

const Table& dosToAnsiTable() {
  static const Table table = [] {
    Table t = identity();
    // 0x8A is the capital Ő; it comes back capital so that an Ő survives a round trip.
    const unsigned char rows[][2] = {
        {0xB5, 0xC1}, {0x8F, 0xC1}, {0xA0, 0xE1}, {0x90, 0xC9}, {0x82, 0xE9},
        {0xD6, 0xCD}, {0xA1, 0xED}, {0xE0, 0xD3}, {0xA2, 0xF3}, {0x99, 0xD6},
        {0x94, 0xF6}, {0x8A, 0xD5}, {0x8B, 0xF5}, {0x93, 0xF5}, {0xE9, 0xDA},
        {0xA3, 0xFA}, {0x9A, 0xDC}, {0x81, 0xFC}, {0xEB, 0xDB}, {0xFB, 0xFB},
    };
    for (const auto& r : rows) t[r[0]] = r[1];
    return t;
  }();
  return table;
}

QByteArray mapBytes(const QByteArray& in, const Table& t) {
  QByteArray out(in);
  for (char& c : out) c = static_cast<char>(t[static_cast<unsigned char>(c)]);
  return out;
}

const char* iconvName(CodePage cp) {
  switch (cp) {
    case CodePage::Cp1250: return "CP1250";
    case CodePage::Cp852: return "CP852";
    case CodePage::Utf8: return "UTF-8";
    case CodePage::Iso8859_2: return "ISO-8859-2";
  }
  return "UTF-8";
}

// Converts with iconv between UTF-8 and a one-byte code page; a character the target cannot
// hold becomes "?". A byte the code page leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98 of
// Windows-1250) reads as the control character of the same number and is written back from
// it, as Windows converts them, so such bytes survive a round trip.
QByteArray convert(const QByteArray& in, const char* from, const char* to, bool toUnicode) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1))
    throw Exception(QStringLiteral("Nem támogatott kódlap: %1 -> %2").arg(from, to));
  QByteArray out;
  out.reserve(in.size() * (toUnicode ? 2 : 1) + 8);
  char* src = const_cast<char*>(in.constData());
  size_t srcLeft = in.size();
  char buf[4096];
  while (srcLeft > 0) {
    char* dst = buf;
    size_t dstLeft = sizeof buf;
    size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buf, int(dst - buf));
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: replace one input unit and go on.
      const unsigned char b = static_cast<unsigned char>(*src);
      const unsigned char next = srcLeft > 1 ? static_cast<unsigned char>(src[1]) : 0;
      if (toUnicode) {
        if (b >= 0x80 && b < 0xA0) {
          out.append(static_cast<char>(0xC2));
          out.append(static_cast<char>(b));
        } else {
          out.append("?");
        }
        ++src;
        --srcLeft;
      } else if (b == 0xC2 && next >= 0x80 && next < 0xA0) {
        out.append(static_cast<char>(next));
        src += 2;
        srcLeft -= 2;
      } else {
        // Skip one UTF-8 sequence.
        unsigned char c = static_cast<unsigned char>(*src);
        size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
        if (len > srcLeft) len = srcLeft;
        src += len;
        srcLeft -= len;
        out.append("?");
      }
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

QByteArray FromUnicode(const QString& text, CodePage cp) {
  QByteArray utf8 = text.toUtf8();
  if (cp == CodePage::Utf8) return utf8;
  return convert(utf8, "UTF-8", iconvName(cp), false);
}

QString ToUnicode(const QByteArray& bytes, CodePage cp) {
  if (cp == CodePage::Utf8) return QString::fromUtf8(bytes);
  return QString::fromUtf8(convert(bytes, iconvName(cp), "UTF-8", true));
}

QByteArray AnsiToDos(const QByteArray& text) { return mapBytes(text, ansiToDosTable()); }
QByteArray DosToAnsi(const QByteArray& text) { return mapBytes(text, dosToAnsiTable()); }
unsigned char AnsiToDosByte(unsigned char c) { return ansiToDosTable()[c]; }
unsigned char DosToAnsiByte(unsigned char c) { return dosToAnsiTable()[c]; }
