// The data-file run: the walk over the rows, group breaks, sums and the band elements.
#include <QCoreApplication>
#include <charconv>
#include <cmath>

#include "exceptions.h"
#include "format_settings.h"
#include "report_file.h"
#include "row_source.h"
#include "ui_services.h"
#include "wr_printer.h"
#include "wreport.h"

namespace {

// The class library's plain message: the program's title as caption, an OK button.
void simpleMessage(const QString& text) {
  Ui().MessageBox(text, QCoreApplication::applicationName(), MsgType::Information, mbOK, mbOK);
}

// Data files are the program's own output: a failure to write one is the caller's to see,
// never a message in the middle of the walk. A band's handler runs listing code (queries among
// it): its failure is told with its own text after the message.
template <class F>
void guarded(F&& step, const QString& message, bool withCause = false) {
  try {
    step();
  } catch (const EInOutError&) {
    throw;
  } catch (const std::exception& e) {
    // Our exceptions give their message as UTF-8.
    simpleMessage(withCause ? message + u'\n' + QString::fromUtf8(e.what()) : message);
  }
}

}  // namespace

bool ReportSumValue(const QString& text, QChar thousandSeparator, QChar decimalSeparator,
                    double& value) {
  // Read on a byte copy: the summation runs for every numeric field of every row.
  const QString t = text.trimmed();
  char buffer[128];
  qsizetype n = 0;
  bool decimal = false;
  for (QChar c : t) {
    if (c == thousandSeparator) continue;
    if (c == decimalSeparator && !decimal) {
      decimal = true;
      c = u'.';
    }
    if (c.unicode() > 127 || n == qsizetype(sizeof buffer)) return false;
    buffer[n++] = char(c.unicode());
  }
  const char* begin = buffer;
  const char* end = buffer + n;
  if (begin != end && *begin == '+') ++begin;  // from_chars takes no plus sign
  double v = 0;
  const auto [stop, error] = std::from_chars(begin, end, v);
  if (begin == end || error != std::errc() || stop != end || !std::isfinite(v)) return false;
  value = v;
  return true;
}

QString ReportSumText(double sum, bool currency) {
  // As a currency field shows its amount.
  return currency ? FormatFloat(QStringLiteral(",0.00;-,0.00"), sum) : FloatToStr(sum);
}

// ---- controls ----

int TWField::FieldIndex() const {
  if (!DataSource || DataField.isEmpty()) return -1;
  if (m_index < 0 || m_index >= DataSource->FieldCount()) {
    m_index = DataSource->FindField(DataField);
    return m_index;
  }
  const QString name = DataSource->FieldName(m_index);
  if (name != DataField && name.compare(DataField, Qt::CaseInsensitive) != 0)
    m_index = DataSource->FindField(DataField);
  return m_index;
}

QString TWField::Text() const {
  if (!DataSource) return Hint;
  const int index = FieldIndex();
  return index < 0 ? QString() : DataSource->DisplayText(index);
}

// ---- bands ----

void TWBand::enter() {
  if (OnEnter) OnEnter();
}

void TWBand::writeElement(TWRPrinter& printer, const QString& open, const QString& close,
                          const QList<std::pair<QString, QString>>& values) {
  TWreport* report = Report();
  if (!report) throw Exception(QStringLiteral("A sáv nem tartozik jelentéshez: ") + Name);
  TReportFile& out = report->DataFile();
  out.Line(open);
  for (const auto& [name, value] : values) out.ValueLine(name, value);
  out.Line(close);
  printer.CurrentY += Height * printer.ScaleY;
}

void TWHeader::Print(TWRPrinter& printer) {
  enter();
  QList<std::pair<QString, QString>> values;
  for (const auto& c : Children()) {
    if (c->Tag == wtField) {
      if (auto* field = dynamic_cast<TWField*>(c.get()))
        values.append({field->Name, field->Text()});
    } else if (c->Tag == wtPageNo) {
      if (auto* pageNo = dynamic_cast<TWControl*>(c.get()); pageNo && !pageNo->Hint.isEmpty())
        values.append({pageNo->Name, pageNo->Hint});
    }
  }
  writeElement(printer, QStringLiteral("<HEADER ID=\"") + Name + QStringLiteral("\">"),
               QStringLiteral("</HEADER>"), values);
}

void TWDetail::Print(TWRPrinter& printer) {
  enter();
  QList<std::pair<QString, QString>> values;
  for (const auto& c : Children()) {
    if (c->Tag != wtField) continue;
    if (auto* field = dynamic_cast<TWField*>(c.get())) values.append({field->Name, field->Text()});
  }
  writeElement(printer,
               QStringLiteral("<DETAIL ID=\"") + Name + QStringLiteral("\" height=\"") +
                   DetailHeightText(Height) + QStringLiteral("\">"),
               QStringLiteral("</DETAIL>"), values);
}

void TWFooter::Print(TWRPrinter& printer) {
  enter();
  printer.Tag(QStringLiteral("<FOOTER>"));
  QList<std::pair<QString, QString>> values;
  for (const auto& c : Children()) {
    if (c->Tag != wtField) continue;
    if (auto* field = dynamic_cast<TWField*>(c.get())) values.append({field->Name, field->Text()});
  }
  writeElement(printer, QStringLiteral("<FOOTER ID=\"") + Name + QStringLiteral("\">"),
               QStringLiteral("</FOOTER>"), values);
}

void TWFooter::Print(TWGroup& group, TWRPrinter& printer) {
  enter();
  printer.Tag(QStringLiteral("<FOOTER>"));
  QList<std::pair<QString, QString>> values;
  for (const auto& c : Children()) {
    if (c->Tag != wtField) continue;
    auto* field = dynamic_cast<TWField*>(c.get());
    if (!field) continue;
    QString value;
    // Added and read by the same position, so no other column can shift a total.
    const int index = group.sumSlot(field);
    if (index >= 0)
      value = ReportSumText(group.Sums[index], group.Datasource->IsCurrency(index));
    else if (!group.footerText(field, value))
      value = field->Text();
    values.append({field->Name, value});
  }
  writeElement(printer, QStringLiteral("<FOOTER ID=\"") + Name + QStringLiteral("\">"),
               QStringLiteral("</FOOTER>"), values);
}

// ---- group ----

QString TWGroup::currentKey() const {
  if (DataField.isEmpty()) return LastKey;
  if (!Datasource) throw Exception(QStringLiteral("A csoportnak nincs adatforrása: ") + Name);
  const int index = Datasource->FindField(DataField);
  if (index < 0) throw Exception(QStringLiteral("Nincs ilyen mező: ") + DataField);
  return Datasource->Text(index);
}

void TWGroup::Start(TWRPrinter& printer) {
  std::fill(Sums.begin(), Sums.end(), 0.0);
  // The footer fields bound to the walked rows that print no sum keep their last row's text.
  m_footerTexts.clear();
  m_footerKept = false;
  const TRowSource* walked = Report() ? Report()->Datasource : nullptr;
  if (Footer) {
    for (const auto& c : Footer->Children()) {
      auto* field = c->Tag == wtField ? dynamic_cast<const TWField*>(c.get()) : nullptr;
      if (!field || !field->DataSource || sumSlot(field) >= 0) continue;
      if (field->DataSource == Datasource || field->DataSource == walked)
        m_footerTexts.append({field, QString()});
    }
  }
  if (!DataField.isEmpty()) LastKey = currentKey();
  Report()->DataFile().Line(QStringLiteral("<GROUP ID=\"%1\">").arg(Name));
  // The subgroup starts whatever the header did: a group it never opened it would close.
  if (Header)
    guarded([&] { Header->Print(printer); }, QStringLiteral("Hiba Wgroup.newdeatil -ban"), true);
  if (SubGroup) SubGroup->Start(printer);
}

void TWGroup::NewDetail(TWRPrinter& printer) {
  m_rowRead = nullptr;
  guarded(
      [&] {
        if (currentKey() != LastKey) {
          if (LastKey != QLatin1String("@@@")) Stop(printer);
          Start(printer);
        }
        if (SubGroup)
          SubGroup->NewDetail(printer);
        else if (Detail)
          Detail->Print(printer);
      },
      QStringLiteral("Hiba Wgroup.newdeatil -ban"));
  addSums();
  keepFooterTexts();
}

void TWGroup::addSums() {
  if (!Datasource) return;
  // Nothing runs between the subgroup's summation and ours, so its reading is this row's.
  if (SubGroup && SubGroup->m_rowRead && SubGroup->m_rowRead->From == Datasource) {
    m_rowRead = SubGroup->m_rowRead;
    for (const auto& [i, v] : m_rowRead->Values) Sums[i] += v;
    return;
  }
  guarded(
      [&] {
        m_rowNumbers.From = Datasource;
        m_rowNumbers.Values.clear();
        const int count = Datasource->FieldCount();
        for (int i = 0; i < count; ++i) {
          if (!Datasource->IsNumeric(i)) continue;
          QString text;
          try {
            text = Datasource->Text(i).trimmed();
          } catch (const Exception&) {
            simpleMessage(QStringLiteral("hiba Wgroup összegzésnél/1 i=%1 %2 %3")
                              .arg(i)
                              .arg(Datasource->FieldName(i), text));
            continue;
          }
          double value = 0;
          if (ReportSumValue(text, ThousandSeparator, DecimalSeparator, value) && i < kSumSlots) {
            Sums[i] += value;
            m_rowNumbers.Values.emplace_back(i, value);
          }
        }
        m_rowRead = &m_rowNumbers;
      },
      QStringLiteral("Hiba Wgroup. összegzőben"));
}

void TWGroup::keepFooterTexts() {
  if (!Footer || m_footerTexts.isEmpty()) return;
  guarded(
      [&] {
        m_footerKept = false;
        for (auto& [field, text] : m_footerTexts) text = field->Text();
        m_footerKept = true;
      },
      QStringLiteral("Hiba Wgroup.newdeatil -ban"));
}

int TWGroup::sumSlot(const TWField* field) const {
  if (!field->DataSource || field->DataSource != Datasource) return -1;
  const int index = field->FieldIndex();
  return index >= 0 && index < kSumSlots && Datasource->IsNumeric(index) ? index : -1;
}

bool TWGroup::footerText(const TWField* field, QString& text) const {
  if (!m_footerKept) return false;
  for (const auto& [f, t] : m_footerTexts) {
    if (f == field) {
      text = t;
      return true;
    }
  }
  return false;
}

void TWGroup::Stop(TWRPrinter& printer) {
  guarded(
      [&] {
        if (SubGroup) SubGroup->Stop(printer);
        // A failing footer leaves its element out; the group is closed all the same.
        if (Footer)
          guarded([&] { Footer->Print(*this, printer); }, QStringLiteral("Hiba Wgroup.stop -ban"),
                  true);
        Report()->DataFile().Line(QStringLiteral("</GROUP>"));
      },
      QStringLiteral("Hiba Wgroup.stop -ban"));
}

// ---- report ----

TReportFile& TWreport::DataFile() {
  if (!m_dataFile) throw Exception(QStringLiteral("Nincs megnyitott jelentés: ") + Name);
  return *m_dataFile;
}

void TWreport::BeginReport(const QString& name) {
  if (!Printer) throw Exception(QStringLiteral("A jelentésnek nincs nyomtatója: ") + Name);
  m_dataFile = std::make_unique<TReportFile>(Printer->FileName + name + QStringLiteral(".xml"));
  TReportFile& out = *m_dataFile;
  out.Line(QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>"));
  out.Line(QStringLiteral("<REPORT>"));
  out.Line(QStringLiteral("<info Title=\"%1\" Email=\"%2\" Fax=\"%3\">")
               .arg(ReportLineText(Title), ReportLineText(Email), ReportLineText(Fax)));
  out.Line(QStringLiteral("</info>"));
  Printer->CurrentY = 0;
  Printer->PageNo = 1;
  CheckBands();
  if (PageHeader) PageHeader->CheckControls();
  if (PageFooter) PageFooter->CheckControls();
  if (MainGroup) {
    MainGroup->Prepare();
    MainGroup->Start(*Printer);
  }
}

void TWreport::EndReport() {
  if (MainGroup) MainGroup->Stop(*Printer);
  TReportFile& out = DataFile();
  out.Line(QStringLiteral("</REPORT>"));
  out.Close();
  m_dataFile.reset();
}

void TWreport::Execute(const QString& name) {
  try {
    // The groups take their first keys when the report begins: rows left elsewhere by an
    // earlier use would open a group of their own.
    if (Datasource) Datasource->First();
    BeginReport(name);
    if (Datasource) {
      Datasource->First();
      while (!Datasource->Eof()) {
        if (MainGroup) MainGroup->NewDetail(*Printer);
        Datasource->Next();
      }
    }
    EndReport();
  } catch (...) {
    m_dataFile.reset();  // an unfinished file never replaces the earlier one
    throw;
  }
}

void WriteReportFiles(TWreport& report, const QString& userDir, const QString& name,
                      double designWidth) {
  TWRPrinterPF printer;
  printer.ScaleX = printer.PageWidth / designWidth;
  printer.ScaleY = printer.PageHeight / 882;
  printer.PageFontScale = 1 / printer.ScaleY;
  printer.FileName = userDir;
  report.Printer = &printer;
  report.Title = name;
  report.Email.clear();
  report.Fax.clear();
  try {
    report.MakeForm(userDir, name);
    report.Execute(name);
  } catch (...) {
    report.Printer = nullptr;
    throw;
  }
  report.Printer = nullptr;
}
