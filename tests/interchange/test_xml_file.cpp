#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "exceptions.h"
#include "test_util.h"
#include "xml_file.h"

namespace {

TEST(TxmlFile, WritesAttributesOnTheirOwnLinesAndEndsStartTagsLate) {
  QTemporaryDir dir;
  const QString path = dir.filePath("cmd.xml");
  TxmlFile xml(path);
  xml.OpenElement("CMD");
  xml.AddAttribute("ADOSZAM", "1234");
  xml.AddAttribute("VEXORAB", "X");
  xml.OpenElement("TETEL");
  xml.CloseElement("TETEL");
  xml.CloseElement("CMD");
  xml.OpenElement("NAME");
  xml.CloseElement("NAME");
  xml.Close();
  EXPECT_EQ(ReadFileBytes(path), QByteArray("<CMD\r\n   ADOSZAM=\"1234\"\r\n   VEXORAB=\"X\">\r\n"
                                            "<TETEL>\r\n</TETEL>\r\n\r\n"
                                            "</CMD>\r\n\r\n"
                                            "<NAME>\r\n</NAME>\r\n\r\n"));
}

TEST(TxmlFile, WritesCodePage852AndEscapesValues) {
  QTemporaryDir dir;
  const QString path = dir.filePath("a.xml");
  TxmlFile xml(path);
  EXPECT_EQ(xml.CodePage(), 852);
  xml.WriteText("<?xml version=\"1.0\" encoding=\"ISO-8859-2\"?>");
  xml.OpenElement("A");
  xml.AddAttribute("SZOVEG", "gép \"A\" & <B>");
  xml.Close();  // ends the pending start tag
  EXPECT_EQ(ReadFileBytes(path),
            QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-2\"?>\r\n<A\r\n"
                       "   SZOVEG=\"g\x82p &quot;A&quot; &amp; &lt;B&gt;\">\r\n"));
}

TEST(TxmlFile, MisuseRaisesAndKeepsTheFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("b.xml");
  TxmlFile xml(path);
  EXPECT_THROW(xml.AddAttribute("A", "1"), Exception);  // no start tag open
  xml.OpenElement("X");
  xml.Close();
  const QByteArray written = ReadFileBytes(path);
  EXPECT_EQ(written, QByteArray("<X>\r\n"));
  EXPECT_THROW(xml.OpenElement("Y"), EInOutError);
  EXPECT_THROW(xml.WriteText("t"), EInOutError);
  EXPECT_THROW(xml.CloseElement("X"), EInOutError);
  EXPECT_EQ(ReadFileBytes(path), written);

  // A writer given up before Close leaves the old file as it was.
  {
    TxmlFile again(path);
    again.OpenElement("Z");
  }
  EXPECT_EQ(ReadFileBytes(path), written);
  EXPECT_THROW(TxmlFile(dir.filePath("missing/c.xml")), EInOutError);
}

TEST(XmlTextHelpers, DatesAndPadding) {
  const struct {
    const char* in;
    const char* normalized;
  } dates[] = {
      {"2005-03-22", "2005.03.22"},         {"05.03.22", ""},
      {"2005.03.22 10:15", "200503221015"}, {" 2005/03\\22 ", "2005.03.22"},
      {"2005_03,22;", "2005.03.22"},        {"", ""},
  };
  for (const auto& d : dates) EXPECT_EQ(NormalizeDateText(d.in), d.normalized) << d.in;
  EXPECT_EQ(StripDateSeparators(" 2005.03.22 10:15 "), "200503221015");
  EXPECT_EQ(PadLeft("123", 2, '0'), "123");
  EXPECT_EQ(PadLeft("7", 3, ' '), "  7");
  EXPECT_EQ(IntToZeroPadded(2, 3), "03");
  EXPECT_EQ(IntToZeroPadded(2, 12), "12");
  EXPECT_EQ(DateToDigitText(QDate(2005, 3, 22)), "20050322");
  EXPECT_EQ(DateToDottedText(QDate(2005, 3, 22)), "2005.03.22");
  EXPECT_EQ(DateToDottedText(QDate()), "");
}

}  // namespace
