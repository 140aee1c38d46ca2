// The renderer program as the listings start it: its PDF, its exit codes, its preview.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "codepage.h"
#include "printer_settings.h"
#include "report_document.h"
#include "report_preview.h"
#include "sample_report.h"
#include "scripted_ui.h"
#include "test_util.h"

namespace {

struct RunResult {
  int exitCode = -1;
  QString out;
  QString err;
};

RunResult run(const QString& program, const QStringList& arguments) {
  QProcess p;
  p.start(program, arguments);
  RunResult r;
  if (!p.waitForFinished(60000)) {
    ADD_FAILURE() << "did not end: " << program.toStdString();
    p.kill();
    p.waitForFinished();
    return r;
  }
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = QString::fromUtf8(p.readAllStandardOutput());
  r.err = QString::fromUtf8(p.readAllStandardError());
  return r;
}

QString simplified(const QString& text) { return text.simplified(); }

class RendererTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString userDir;
  QString gravlen = BinDir() + "/Gravlen";
  void SetUp() override { userDir = dir.path() + '/'; }

  // The sample report written as a listing writes it, on a page chosen in the printer setup
  // that takes it onto two pages.
  void writeSample() {
    TSampleReport sample;
    sample.AddGoldenRows();
    sample.Write(userDir, "leltliskltsh");
    TPrinterSettings settings;
    settings.Layout = QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Landscape,
                                  QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    settings.Save(userDir);
  }
  QString pageText(const QString& pdf, int page) {
    const RunResult r = run("pdftotext", {"-f", QString::number(page), "-l", QString::number(page),
                                          "-layout", pdf, "-"});
    EXPECT_EQ(r.exitCode, 0) << "pdftotext";
    return r.out;
  }
};

TEST_F(RendererTest, PdfHoldsEveryValueSumAndTheRepeatedHeader) {
  writeSample();
  const QString pdf = dir.filePath("out.pdf");
  ASSERT_EQ(run(gravlen, {"--pdf", pdf, userDir + "leltliskltsh.xml", userDir}).exitCode, 0);
  const RunResult info = run("pdfinfo", {pdf});
  EXPECT_TRUE(info.out.contains(QRegularExpression("Pages:\\s+2\\n"))) << info.out.toStdString();
  EXPECT_TRUE(info.out.contains("(A5)")) << "the kept page setup was not used";

  const QString page1 = pageText(pdf, 1);
  const QString page2 = pageText(pdf, 2);
  const QString all = simplified(page1 + ' ' + page2);
  // Every value line of the data file is on a page, the sums of the footers among them.
  const QStringList xml =
      ToUnicode(ReadFileBytes(userDir + "leltliskltsh.xml"), CodePage::Cp1250).split("\r\n");
  int values = 0;
  for (const QString& line : xml) {
    const qsizetype eq = line.indexOf('=');
    if (eq <= 0 || line.startsWith('<')) continue;
    ++values;
    EXPECT_TRUE(all.contains(simplified(line.mid(eq + 1)))) << line.toStdString();
  }
  EXPECT_GT(values, 80);
  for (const char* sum : {"968 990.50", "258864.1", "22 469 490.75", "4318964.15"})
    EXPECT_TRUE(all.contains(sum)) << sum;
  EXPECT_TRUE(all.contains(QStringLiteral("ő")) && all.contains(QStringLiteral("ű")));
  EXPECT_TRUE(all.contains(QStringLiteral("Mindösszesen:")));

  // The second page starts with the headers of the groups still open, with its own number.
  const QString top2 = simplified(page2.left(page2.indexOf(QRegularExpression("\\n\\s*000"))));
  for (const QString& header :
       {QStringLiteral("Költséghelyes leltár lista"), QStringLiteral("Oldal: 2"),
        QStringLiteral("Leltári szám Megnevezés"), QStringLiteral("Költséghely: K02 Műhely"),
        QStringLiteral("Főkönyvi szám:")})
    EXPECT_TRUE(top2.contains(header)) << header.toStdString() << "\n" << top2.toStdString();
  EXPECT_TRUE(simplified(page1).contains("Oldal: 1"));
}

TEST_F(RendererTest, ExitCodesTellWhatWentWrong) {
  writeSample();
  QByteArray cut = ReadFileBytes(userDir + "leltliskltsh.xml");
  cut.chop(40);  // a file cut short must not print as a shorter report
  WriteFileBytes(userDir + "cut.xml", cut);
  QFile::copy(userDir + "leltliskltsh.def", userDir + "cut.def");
  QFile::copy(userDir + "leltliskltsh.frm", userDir + "cut.frm");
  // Cut layouts and field lists must not print as shorter reports either, nor an empty
  // layout as a blank page.
  const QByteArray frm = ReadFileBytes(userDir + "leltliskltsh.frm");
  const QByteArray def = ReadFileBytes(userDir + "leltliskltsh.def");
  const qsizetype secondBand = frm.indexOf("<block ID=\"", frm.indexOf("<block ID=\"") + 1);
  ASSERT_GT(secondBand, 0);
  const QByteArray frame = frm.left(frm.indexOf("<block ID=\"")) +
                           "</flow>\r\n</sequence-specification-single>\r\n"
                           "</page-sequence>\r\n</root>\r\n";
  const struct {
    const char* name;
    QByteArray def, frm;
  } damaged[] = {
      {"cutfrm", def, frm.left(secondBand)},
      {"cutdef", def.left(def.indexOf("[WFLeltszam]")), frm},
      {"cutdefend", def.left(def.indexOf("</MEZOK>")), frm},
      {"emptyfrm", def, ""},
      {"nobands", def, frame},
      // A page sequence named otherwise is not the one the bands must stand in.
      {"othersequence", def,
       QByteArray(frm).replace("sequence-specification-single", "sequence-single")},
  };
  for (const auto& d : damaged) {
    QFile::copy(userDir + "leltliskltsh.xml", userDir + d.name + ".xml");
    WriteFileBytes(userDir + d.name + ".def", d.def);
    WriteFileBytes(userDir + d.name + ".frm", d.frm);
  }
  WriteFileBytes(userDir + "plain", "x");
  const struct {
    QStringList arguments;
    int exitCode;
  } cases[] = {
      {{}, 1},
      {{"--pdf", dir.filePath("a.pdf")}, 1},
      {{userDir + "leltliskltsh.xml", userDir, "extra"}, 1},
      {{"--pdf", dir.filePath("a.pdf"), userDir + "nincs.xml", userDir}, 2},
      {{"--pdf", dir.filePath("a.pdf"), userDir + "cut.xml", userDir}, 2},
      {{"--pdf", dir.filePath("plain/a.pdf"), userDir + "leltliskltsh.xml"}, 3},
      {{"--pdf", dir.filePath("a.pdf"), userDir + "cutfrm.xml", userDir}, 2},
      {{"--pdf", dir.filePath("a.pdf"), userDir + "cutdef.xml", userDir}, 2},
      {{"--pdf", dir.filePath("a.pdf"), userDir + "cutdefend.xml", userDir}, 2},
      {{"--pdf", dir.filePath("a.pdf"), userDir + "emptyfrm.xml", userDir}, 2},
      {{"--pdf", dir.filePath("a.pdf"), userDir + "nobands.xml", userDir}, 2},
      {{"--pdf", dir.filePath("a.pdf"), userDir + "othersequence.xml", userDir}, 2},
      {{"--pdf", dir.filePath("b.pdf"), userDir + "leltliskltsh.xml", userDir}, 0},
  };
  for (const auto& c : cases) {
    const RunResult r = run(gravlen, c.arguments);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
    if (c.exitCode == 2) EXPECT_TRUE(r.err.contains("Gravlen: ")) << r.err.toStdString();
  }
  EXPECT_FALSE(QFile::exists(dir.filePath("a.pdf")));
  EXPECT_TRUE(QFile::exists(dir.filePath("b.pdf")));
}

// The preview opens on the first page of the report; the screenshot is kept beside the tests.
TEST_F(RendererTest, PreviewShowsTheFirstPage) {
  writeSample();
  TReportDocument document;
  document.Load(userDir + "leltliskltsh.xml", userDir);
  TPrinterSettings settings;
  settings.Load(userDir);
  QPrinter printer(QPrinter::HighResolution);
  settings.ApplyTo(printer);
  TReportPreview preview(document, &printer);
  preview.show();
  QApplication::processEvents();
  auto* view = preview.findChild<QPrintPreviewWidget*>();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->pageCount(), 2);
  EXPECT_EQ(view->currentPage(), 1);
  EXPECT_TRUE(preview.ActionPdf->isEnabled());

  const QImage shot = preview.grab().toImage();
  shot.save(QDir::current().filePath("renderer-preview.png"));
  // The page is drawn: white paper with dark text on it.
  int dark = 0, white = 0;
  for (int y = 0; y < shot.height(); y += 2)
    for (int x = 0; x < shot.width(); x += 2) {
      const int g = qGray(shot.pixel(x, y));
      dark += g < 80;
      white += g > 250;
    }
  EXPECT_GT(white, shot.width() * shot.height() / 40);
  EXPECT_GT(dark, 200);

  // Save as PDF asks for the name; a place that cannot take the file is told.
  ScriptedUi ui;
  ui.Answer(dir.filePath("saved.pdf")).Answer(dir.filePath("nincs/saved.pdf"));
  preview.ActionPdf->trigger();
  EXPECT_TRUE(ReadFileBytes(dir.filePath("saved.pdf")).startsWith("%PDF"));
  EXPECT_TRUE(ui.Calls().last().kind == ScriptedUi::Kind::SaveFile);
  preview.ActionPdf->trigger();
  EXPECT_EQ(ui.Texts().last(),
            QStringLiteral("A fájl nem írható: ") + dir.filePath("nincs/saved.pdf"));
}

}  // namespace
