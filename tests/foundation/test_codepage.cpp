#include <gtest/gtest.h>

#include <map>

#include "codepage.h"

namespace {

// The changed rows of both tables, as the peers' files expect them; every other byte maps to
// itself.
const std::map<int, int> kAnsiToDos = {
    {0xC1, 0x41}, {0xE1, 0xA0}, {0xC9, 0x90}, {0xE9, 0x82}, {0xCD, 0xD6}, {0xED, 0xA1},
    {0xD3, 0xE0}, {0xF3, 0xA2}, {0xD6, 0x99}, {0xF6, 0x94}, {0xD4, 0x8A}, {0xD5, 0x8A},
    {0xF4, 0x8B}, {0xF5, 0x8B}, {0xDA, 0xE9}, {0xFA, 0xA3}, {0xDC, 0x9A}, {0xFC, 0x81},
    {0xDB, 0xEB}, {0xFB, 0xFB}};
const std::map<int, int> kDosToAnsi = {
    {0xB5, 0xC1}, {0x8F, 0xC1}, {0xA0, 0xE1}, {0x90, 0xC9}, {0x82, 0xE9}, {0xD6, 0xCD},
    {0xA1, 0xED}, {0xE0, 0xD3}, {0xA2, 0xF3}, {0x99, 0xD6}, {0x94, 0xF6}, {0x8A, 0xD5},
    {0x8B, 0xF5}, {0x93, 0xF5}, {0xE9, 0xDA}, {0xA3, 0xFA}, {0x9A, 0xDC}, {0x81, 0xFC},
    {0xEB, 0xDB}, {0xFB, 0xFB}};

const QString kHungarian = QStringLiteral("áéíóöőúüűÁÉÍÓÖŐÚÜŰ");

TEST(CodePage, TablesPinnedEntryByEntry) {
  for (int b = 0; b < 256; ++b) {
    auto a = kAnsiToDos.find(b);
    EXPECT_EQ(AnsiToDosByte(b), a == kAnsiToDos.end() ? b : a->second) << "AnsiToDos " << b;
    auto d = kDosToAnsi.find(b);
    EXPECT_EQ(DosToAnsiByte(b), d == kDosToAnsi.end() ? b : d->second) << "DosToAnsi " << b;
  }
}

TEST(CodePage, WholeTexts) {
  EXPECT_EQ(AnsiToDos(QByteArray("\xC1rv\xE1z")), QByteArray("Arv\xA0z"));
  EXPECT_EQ(AnsiToDos(QByteArray()), QByteArray());
  EXPECT_EQ(DosToAnsi(QByteArray()), QByteArray());
  const QByteArray ascii("Plain ASCII 0123 ;:[]");
  EXPECT_EQ(AnsiToDos(ascii), ascii);
  EXPECT_EQ(DosToAnsi(ascii), ascii);
}

TEST(CodePage, CapitalOSurvivesRoundTrip) {
  const QByteArray cp1250 = FromUnicode(QStringLiteral("Ő"), CodePage::Cp1250);
  ASSERT_EQ(cp1250, QByteArray("\xD5"));
  EXPECT_EQ(DosToAnsi(AnsiToDos(cp1250)), cp1250);
  EXPECT_EQ(ToUnicode(DosToAnsi(AnsiToDos(cp1250)), CodePage::Cp1250), QStringLiteral("Ő"));
}

TEST(CodePage, HungarianLettersThroughUnicode) {
  for (CodePage cp : {CodePage::Cp1250, CodePage::Cp852, CodePage::Utf8}) {
    const QByteArray bytes = FromUnicode(kHungarian, cp);
    EXPECT_EQ(ToUnicode(bytes, cp), kHungarian) << int(cp);
  }
  // Each letter is one byte in both code pages, and the two real code pages agree with each
  // other letter by letter, except where the program's tables map loosely (Á -> A).
  const QByteArray w = FromUnicode(kHungarian, CodePage::Cp1250);
  const QByteArray d = FromUnicode(kHungarian, CodePage::Cp852);
  ASSERT_EQ(w.size(), kHungarian.size());
  ASSERT_EQ(d.size(), kHungarian.size());
  for (int i = 0; i < w.size(); ++i) {
    EXPECT_EQ(DosToAnsiByte(d[i]), static_cast<unsigned char>(w[i])) << i;
    if (kHungarian[i] != QChar(u'Á')) {
      EXPECT_EQ(AnsiToDosByte(w[i]), static_cast<unsigned char>(d[i])) << i;
    }
  }
}

// Windows-1250 leaves these bytes undefined; they come through unchanged both ways.
TEST(CodePage, UndefinedWindows1250BytesSurviveARoundTrip) {
  const QByteArray bytes("\x81\x83\x88\x90\x98\xC5\x90r");
  const QString text = ToUnicode(bytes, CodePage::Cp1250);
  EXPECT_EQ(text, QStringLiteral("\u0081\u0083\u0088\u0090\u0098Ĺ\u0090r"));
  EXPECT_EQ(FromUnicode(text, CodePage::Cp1250), bytes);
}

TEST(CodePage, UnmappableCharacterBecomesQuestionMark) {
  EXPECT_EQ(FromUnicode(QStringLiteral("a€b\u4e2dc"), CodePage::Cp852), QByteArray("a?b?c"));
  EXPECT_EQ(FromUnicode(QStringLiteral("a€b\u4e2dc"), CodePage::Iso8859_2), QByteArray("a?b?c"));
}

TEST(CodePage, IsoLatin2AgreesWithWindows1250OnHungarianLetters) {
  EXPECT_EQ(FromUnicode(kHungarian, CodePage::Iso8859_2), FromUnicode(kHungarian, CodePage::Cp1250));
  EXPECT_EQ(FromUnicode(QStringLiteral("Š"), CodePage::Iso8859_2), QByteArray("\xa9"));
}

}  // namespace
