#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "w_font.h"

class TRowSource;
class TWRPrinter;
class TReportFile;
class TWreport;
class TWGroup;

// The banded report component. A listing declares its report as a tree in code, the way a
// form would hold it:
//
//   TWreport Wreport1(QStringLiteral("Wreport1"));
//   Wreport1.Datasource = &DSKartfej;            // a TRowSource over the listing's query
//   auto& g1 = Wreport1.Add<TWGroup>(QStringLiteral("WGroup1"));
//   g1.Datasource = &DSKartfej;
//   g1.DataField = QStringLiteral("KOLTSHELY");
//   auto& h1 = g1.Add<TWHeader>(QStringLiteral("WHeader1"));
//   h1.Height = 40;
//   auto& WField11 = h1.Add<TWField>(QStringLiteral("WField11"), {500, 4, 80, 16});
//   h1.OnEnter = [&] { WField11.Hint = QDate::currentDate().toString("yyyy.MM.dd"); };
//   h1.Add<TWLabel>(QStringLiteral("WLabel1"), {8, 4, 200, 18}).Caption = "Leltár lista";
//   auto& d1 = g1.Add<TWDetail>(QStringLiteral("WDetail1"));
//   d1.Add<TWField>(QStringLiteral("WField1"), {8, 2, 60, 16}).Bind(DSKartfej, "LELTSZAM");
//
// Every decision is taken on a component's Tag (its role), as the files carry it; a page
// header is a TWHeader with Tag wtPageHeader, a page footer a TWFooter with wtPageFooter.
// The report writes the data file ".xml" (Execute), the field list ".def" and the layout
// ".frm" (MakeForm) that the renderer reads, all Windows-1250 with CR LF.

enum TWTag : int {
  wtReport = 0,
  wtGroupHeader = 1,
  wtGroupFooter = 2,
  wtPageHeader = 3,
  wtPageFooter = 4,
  wtGroup = 5,
  wtDetail = 6,
  wtField = 7,
  wtLabel = 8,
  wtPageNo = 9,
};

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Position and size in the design pixels of the listing form, relative to the parent band.
struct TWBounds {
  int Left = 0;
  int Top = 0;
  int Width = 65;
  int Height = 17;
};

class TWComponent {
 public:
  virtual ~TWComponent();
  TWComponent(const TWComponent&) = delete;
  TWComponent& operator=(const TWComponent&) = delete;

  QString Name;
  int Tag;
  int Left = 0;
  int Top = 0;
  int Width;
  int Height;

  TWComponent* Parent() const { return m_parent; }
  void SetBounds(const TWBounds& b);
  // The report the component belongs to; nullptr while it is in none.
  TWreport* Report() const;

 protected:
  TWComponent(QString name, int tag, int width, int height);

 private:
  friend class TWContainer;
  TWComponent* m_parent = nullptr;
  mutable TWreport* m_report = nullptr;
};

// A component that holds others in their stored order.
class TWContainer : public TWComponent {
 public:
  template <class T>
  T& Add(const QString& name) {
    auto child = std::make_unique<T>(name);
    T& ref = *child;
    adopt(std::move(child));
    return ref;
  }
  template <class T>
  T& Add(const QString& name, const TWBounds& bounds) {
    T& ref = Add<T>(name);
    ref.SetBounds(bounds);
    return ref;
  }
  const std::vector<std::unique_ptr<TWComponent>>& Children() const { return m_children; }

 protected:
  using TWComponent::TWComponent;

 private:
  void adopt(std::unique_ptr<TWComponent> child);
  std::vector<std::unique_ptr<TWComponent>> m_children;
};

// ---- controls ----

class TWControl : public TWComponent {
 public:
  TWFont Font;
  TAlignment Alignment = taLeftJustify;
  bool Border = false;  // kept with the layout; only Bordersize reaches a file
  int Bordersize = 0;
  QString Hint;

 protected:
  TWControl(QString name, int tag);
};

// A data-aware text: the display text of its field for the current row, or its Hint when it
// is bound to no data source.
class TWField : public TWControl {
 public:
  explicit TWField(QString name);

  TRowSource* DataSource = nullptr;
  QString DataField;
  QString Mask;  // kept with the layout; no effect on any file

  TWField& Bind(TRowSource& source, const QString& field) {
    DataSource = &source;
    DataField = field;
    return *this;
  }
  // The position of the bound field in its source; -1 when unbound or not found.
  int FieldIndex() const;
  // What the control shows now.
  QString Text() const;

 private:
  // The last position found, checked by name before use: a source may be reopened.
  mutable int m_index = -1;
};

class TWLabel : public TWControl {
 public:
  explicit TWLabel(QString name);
  QString Caption;
};

// The page number; the renderer puts the number in. In a header it writes its Hint, when set.
class TWPageNo : public TWControl {
 public:
  explicit TWPageNo(QString name);
};

// ---- bands ----

class TWBand : public TWContainer {
 public:
  bool Border = false;  // kept with the layout; only BorderSize reaches a file
  int BorderSize = 0;
  int MinSpaceInpage = 0;
  bool RepeatNewpage = false;
  // Runs first when the band prints, so a listing can fill in values for this row.
  std::function<void()> OnEnter;

 protected:
  using TWContainer::TWContainer;
  void enter();
  // The band's element: the opening line, one value line per (name, value), the closing line;
  // then the sink's position moves down by the band's height.
  void writeElement(TWRPrinter& printer, const QString& open, const QString& close,
                    const QList<std::pair<QString, QString>>& values);
};

class TWHeader : public TWBand {
 public:
  explicit TWHeader(QString name);
  virtual void Print(TWRPrinter& printer);
  // A page header or footer holds fields, labels and page numbers only.
  void CheckControls();

 protected:
  TWHeader(QString name, int tag);
};

class TWFooter : public TWHeader {
 public:
  explicit TWFooter(QString name);
  // A footer printed outside a group: every field shows its text.
  void Print(TWRPrinter& printer) override;
  // Numeric fields bound to the group's own data source print the group's sums.
  virtual void Print(TWGroup& group, TWRPrinter& printer);
};

class TWDetail : public TWBand {
 public:
  explicit TWDetail(QString name);
  virtual void Print(TWRPrinter& printer);
  // A detail holds fields and labels only.
  void CheckControls();
};

class TWGroup : public TWContainer {
 public:
  explicit TWGroup(QString name);

  static constexpr int kSumSlots = 151;

  bool Border = false;
  int BorderSize = 0;
  TRowSource* Datasource = nullptr;
  QString DataField;  // the key; a group without one spans the whole report

  // Found by Prepare; not owned.
  TWHeader* Header = nullptr;
  TWFooter* Footer = nullptr;
  TWDetail* Detail = nullptr;
  TWGroup* SubGroup = nullptr;
  // Running sums by the position of the field in the group's data source.
  std::vector<double> Sums;
  QString LastKey = QStringLiteral("@@@");  // "@@@": no group keyed yet

  void Prepare();
  void Start(TWRPrinter& printer);
  void NewDetail(TWRPrinter& printer);
  void Stop(TWRPrinter& printer);

 private:
  friend class TWFooter;
  QString currentKey() const;
  void addSums();
  void keepFooterTexts();
  // The slot of Sums a footer field prints; -1 when it prints no sum.
  int sumSlot(const TWField* field) const;
  // The text kept for a footer field; false when none is kept for it.
  bool footerText(const TWField* field, QString& text) const;

  // The texts of the footer's fields bound to the walked rows, taken after each row of the
  // group: at a group break the rows already stand on the next group's first row.
  QList<std::pair<const TWField*, QString>> m_footerTexts;
  bool m_footerKept = false;  // the texts are those of a row of this group
  // The numbers of the current row (slot, value) and the source read; a group over the same
  // source as its subgroup adds what the subgroup read for the row instead of reading again.
  struct TRowNumbers {
    const TRowSource* From = nullptr;
    std::vector<std::pair<int, double>> Values;
  };
  TRowNumbers m_rowNumbers;
  const TRowNumbers* m_rowRead = nullptr;  // set once this row's numbers are read whole
};

class TWreport : public TWContainer {
 public:
  explicit TWreport(QString name);
  ~TWreport() override;

  TRowSource* Datasource = nullptr;
  // Found by CheckBands; not owned.
  TWHeader* PageHeader = nullptr;
  TWHeader* PageFooter = nullptr;
  TWGroup* MainGroup = nullptr;
  // Set by the caller before each run, freed by it after.
  TWRPrinter* Printer = nullptr;
  QString Title;
  QString Email;
  QString Fax;

  // Writes Printer->FileName + name + ".xml". Throws EInOutError when the file cannot be
  // written, and then leaves any earlier file of that name as it was; layout faults are shown
  // through the UI services and the run goes on.
  void Execute(const QString& name);
  void BeginReport(const QString& name);
  void EndReport();
  void CheckBands();

  // dir/name.def, then dir/name.frm.
  void MakeForm(const QString& dir, const QString& name);
  void MakeFieldList(const QString& dir, const QString& name);

  // The open data file; throws when no run is open.
  TReportFile& DataFile();

 private:
  std::unique_ptr<TReportFile> m_dataFile;
};

// Shorthands for declaring a listing's controls: a label with its caption, a field bound to
// rows (or unbound, showing its Hint, when rows is nullptr).
TWLabel& AddLabel(TWBand& band, const QString& name, const TWBounds& at, const QString& caption,
                  TAlignment alignment = taLeftJustify);
TWField& AddField(TWBand& band, const QString& name, const TWBounds& at, TRowSource* rows,
                  const QString& dataField, TAlignment alignment = taLeftJustify);

// The calling sequence every listing writes its report files by: a page sink over userDir
// (ending with "/") scaled to a design page designWidth wide and 882 high, the report's title
// set to name, the layout files and then the data file, the sink freed again. Throws
// EInOutError when a file cannot be written.
void WriteReportFiles(TWreport& report, const QString& userDir, const QString& name,
                      double designWidth = 640);

// The report files are line-based: a line break inside a value becomes a blank.
QString ReportLineText(QString text);
// A detail's height as the data file gives it: at least three digits, zero-padded.
QString DetailHeightText(int height);
// The number a group adds for a field's text: blanks trimmed, every thousands separator
// removed, the first decimal separator read as "."; false for a text that is no number.
bool ReportSumValue(const QString& text, QChar thousandSeparator, QChar decimalSeparator,
                    double& value);
// A footer's sum: two decimals for a currency field, else the shortest general form.
QString ReportSumText(double sum, bool currency);
