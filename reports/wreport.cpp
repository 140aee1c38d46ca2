// The band tree, its checks and the two layout files; the data-file run is in wreport_run.cpp.
#include "wreport.h"

#include <QDir>
#include <algorithm>

#include "report_file.h"
#include "ui_services.h"

namespace {

void layoutFault(const QString& text, const QString& caption) {
  Ui().MessageBox(text, caption, MsgType::Error, mbOK, mbOK);
}

QString notAllowed(const TWComponent& c) {
  return QStringLiteral("Nem megengedett elem: ") + c.Name;
}

// One positioned text of a band in the layout file.
struct ControlRecord {
  int top, left, width, height;
  QString fontName;
  int fontSize;
  bool bold, italic, underline;
  TAlignment alignment;
  QString text;
  int borderSize;
};

}  // namespace

QString ReportLineText(QString text) {
  if (!text.contains(u'\r') && !text.contains(u'\n')) return text;
  for (QChar& c : text) {
    if (c == u'\r' || c == u'\n') c = u' ';
  }
  return text;
}

QString DetailHeightText(int height) {
  QString text = QString::asprintf("%3d", height);
  for (int i = 0; i < 2 && i < text.size(); ++i) {
    if (text[i] == u' ') text[i] = u'0';
  }
  return text;
}

// ---- tree ----

TWComponent::TWComponent(QString name, int tag, int width, int height)
    : Name(std::move(name)), Tag(tag), Width(width), Height(height) {}

TWComponent::~TWComponent() = default;

void TWComponent::SetBounds(const TWBounds& b) {
  Left = b.Left;
  Top = b.Top;
  Width = b.Width;
  Height = b.Height;
}

TWreport* TWComponent::Report() const {
  // Components are never moved to another parent, so the report once found stays.
  if (m_report) return m_report;
  for (const TWComponent* c = this; c; c = c->m_parent) {
    if (auto* r = dynamic_cast<const TWreport*>(c)) return m_report = const_cast<TWreport*>(r);
  }
  return nullptr;
}

void TWContainer::adopt(std::unique_ptr<TWComponent> child) {
  child->m_parent = this;
  m_children.push_back(std::move(child));
}

TWControl::TWControl(QString name, int tag) : TWComponent(std::move(name), tag, 65, 17) {}
TWField::TWField(QString name) : TWControl(std::move(name), wtField) {}
TWLabel::TWLabel(QString name) : TWControl(std::move(name), wtLabel) {}
TWPageNo::TWPageNo(QString name) : TWControl(std::move(name), wtPageNo) {}

TWHeader::TWHeader(QString name) : TWHeader(std::move(name), wtGroupHeader) {}
TWHeader::TWHeader(QString name, int tag) : TWBand(std::move(name), tag, 645, 50) {
  RepeatNewpage = true;
}
TWFooter::TWFooter(QString name) : TWHeader(std::move(name), wtGroupFooter) {}
TWDetail::TWDetail(QString name) : TWBand(std::move(name), wtDetail, 645, 25) {}
TWGroup::TWGroup(QString name) : TWContainer(std::move(name), wtGroup, 650, 100), Sums(151) {}
TWreport::TWreport(QString name) : TWContainer(std::move(name), wtReport, 660, 200) {}
TWreport::~TWreport() = default;

// ---- checks ----

void TWHeader::CheckControls() {
  for (const auto& c : Children()) {
    if (c->Tag != wtField && c->Tag != wtLabel && c->Tag != wtPageNo)
      layoutFault(notAllowed(*c), QStringLiteral("ReportHeader Hiba"));
  }
}

void TWDetail::CheckControls() {
  for (const auto& c : Children()) {
    if (c->Tag != wtField && c->Tag != wtLabel)
      layoutFault(notAllowed(*c), QStringLiteral("ReportHeader Hiba"));
  }
}

void TWreport::CheckBands() {
  PageHeader = nullptr;
  PageFooter = nullptr;
  MainGroup = nullptr;
  const QString caption = QStringLiteral("Report Hiba");
  for (const auto& c : Children()) {
    TWComponent* child = c.get();
    // A component whose class cannot take its role is as foreign as any other.
    auto* band = dynamic_cast<TWHeader*>(child);
    auto* group = dynamic_cast<TWGroup*>(child);
    if (child->Tag == wtPageHeader && band) {
      if (PageHeader)
        layoutFault(QStringLiteral("Több PageHeader van!"), caption);
      else
        PageHeader = band;
    } else if (child->Tag == wtPageFooter && band) {
      if (PageFooter)
        layoutFault(QStringLiteral("Több PageFooter van!"), caption);
      else
        PageFooter = band;
    } else if (child->Tag == wtGroup && group) {
      if (MainGroup)
        layoutFault(QStringLiteral("Több MainGroup van!"), caption);
      else
        MainGroup = group;
    } else {
      layoutFault(notAllowed(*child), caption);
    }
  }
}

void TWGroup::Prepare() {
  Header = nullptr;
  Footer = nullptr;
  Detail = nullptr;
  SubGroup = nullptr;
  const QString caption = QStringLiteral("Hiba");
  for (const auto& c : Children()) {
    TWComponent* child = c.get();
    auto* header = dynamic_cast<TWHeader*>(child);
    auto* footer = dynamic_cast<TWFooter*>(child);
    auto* detail = dynamic_cast<TWDetail*>(child);
    auto* group = dynamic_cast<TWGroup*>(child);
    if (child->Tag == wtGroupHeader && header && !footer) {
      if (Header)
        layoutFault(QStringLiteral("Több group header!"), caption);
      else
        Header = header;
    } else if (child->Tag == wtGroupFooter && footer) {
      if (Footer)
        layoutFault(QStringLiteral("Több group Footer!"), caption);
      else
        Footer = footer;
    } else if (child->Tag == wtDetail && detail) {
      if (Detail)
        layoutFault(QStringLiteral("Több Detail!"), caption);
      else
        Detail = detail;
    } else if (child->Tag == wtGroup && group) {
      if (SubGroup)
        layoutFault(QStringLiteral("Több SubGroup!"), caption);
      else
        SubGroup = group;
    } else {
      layoutFault(notAllowed(*child), QStringLiteral("Group Hiba"));
    }
  }
  if (Detail && SubGroup)
    layoutFault(QStringLiteral("nem lehet SubGroup és Detail együtt!"),
                QStringLiteral("Group Hiba"));
  if (SubGroup) SubGroup->Prepare();
  if (Detail) Detail->CheckControls();
}

// ---- layout and field list ----

namespace {

// The bands in the order both files list them: the report's page header and footer, and the
// bands of each group in their stored order, subgroups in place.
void walkBands(const TWContainer& parent, bool isReport,
               const std::function<void(TWBand&)>& visit) {
  for (const auto& c : parent.Children()) {
    const int tag = c->Tag;
    const bool band = isReport ? tag == wtPageHeader || tag == wtPageFooter
                               : tag == wtGroupHeader || tag == wtGroupFooter || tag == wtDetail;
    if (band) {
      if (auto* band = dynamic_cast<TWBand*>(c.get())) visit(*band);
    } else if (tag == wtGroup) {
      if (auto* group = dynamic_cast<TWGroup*>(c.get())) walkBands(*group, false, visit);
    }
  }
}

void writeFieldList(const TWreport& report, const QString& path) {
  TReportFile out(path);
  out.Line(QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>"));
  out.Line(QStringLiteral("<MEZOK>"));
  QString fields;
  walkBands(report, true, [&](TWBand& band) {
    for (const auto& c : band.Children()) {
      if (c->Tag == wtField) fields += u'[' + c->Name + QStringLiteral("],");
    }
  });
  out.Line(fields);
  out.Line(QStringLiteral("</MEZOK>"));
  out.Close();
}

void writeBandLayout(TReportFile& out, TWBand& band, int& runningTop) {
  std::vector<ControlRecord> records;
  for (const auto& c : band.Children()) {
    auto* control = dynamic_cast<TWControl*>(c.get());
    if (!control) continue;
    QString text;
    if (c->Tag == wtLabel) {
      auto* label = dynamic_cast<TWLabel*>(control);
      text = label ? label->Caption : QString();
    } else if (c->Tag == wtField) {
      text = u'[' + c->Name + u']';
    } else if (c->Tag == wtPageNo) {
      text = QStringLiteral("[PageNo]");
    } else {
      continue;
    }
    // The renderer's files write a text of exactly "0" as "a".
    if (text == QLatin1String("0")) text = QStringLiteral("a");
    records.push_back({control->Top, control->Left, control->Width, control->Height,
                       control->Font.Name.left(20), control->Font.Size, control->Font.Bold,
                       control->Font.Italic, control->Font.Underline, control->Alignment,
                       ReportLineText(text), control->Bordersize});
  }
  std::stable_sort(records.begin(), records.end(),
                   [](const ControlRecord& a, const ControlRecord& b) {
                     return a.top < b.top || (a.top == b.top && a.left < b.left);
                   });

  QString line = QStringLiteral(
                     "<block ID=\"%1\" top=\"%2\" left=\"0\" width=\"%3\" height=\"%4\" "
                     "minspace=\"%5\"")
                     .arg(band.Name)
                     .arg(runningTop)
                     .arg(band.Width)
                     .arg(band.Height)
                     .arg(band.MinSpaceInpage);
  if (band.Tag != wtDetail)
    line += QStringLiteral(" repeatnewpage=\"%1\"")
                .arg(band.RepeatNewpage ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
  line += QStringLiteral(" border-width=\"%1\">").arg(band.BorderSize);
  out.Line(line);

  for (const ControlRecord& r : records) {
    out.Line(QStringLiteral("<block  top=\"%1\" left=\"%2\" width=\"%3\" height=\"%4\" "
                            "border-width=\"%5\">")
                 .arg(r.top)
                 .arg(r.left)
                 .arg(r.width)
                 .arg(r.height)
                 .arg(r.borderSize));
    const QString font =
        r.fontName.startsWith(u'M') ? QStringLiteral("Times New Roman") : r.fontName;
    QString seq = QStringLiteral("<inline-sequence font-family=\"%1\" font-size=\"%2\"")
                      .arg(font)
                      .arg(r.fontSize);
    if (r.italic) seq += QStringLiteral(" font-style=\"italic\" ");
    if (r.bold) seq += QStringLiteral(" font-wight=\"bold\" ");
    if (r.underline) seq += QStringLiteral(" font-decoration=\"underline\" ");
    seq += QStringLiteral(" text-align=\"");
    seq += r.alignment == taRightJustify ? QStringLiteral("right\">")
           : r.alignment == taCenter     ? QStringLiteral("center\">")
                                         : QStringLiteral("left\">");
    out.Line(seq);
    out.Line(r.text);
    out.Line(QStringLiteral("</inline-sequence>"));
    out.Line(QStringLiteral("</block>"));
  }
  out.Line(QStringLiteral("</block>"));
  runningTop += band.Height;
}

}  // namespace

void TWreport::MakeFieldList(const QString& dir, const QString& name) {
  writeFieldList(*this, QDir(dir).filePath(name + QStringLiteral(".def")));
}

void TWreport::MakeForm(const QString& dir, const QString& name) {
  int runningTop = 0;
  MakeFieldList(dir, name);
  TReportFile out(QDir(dir).filePath(name + QStringLiteral(".frm")));
  for (const char* line :
       {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>", "<root>", "   <layout-master-set>",
        "   <simple-page-master", "     page-master-name=\"PAGE0\"", "     page-height=\"380MM\"",
        "     page-width=\"210MM\">", "</simple-page-master>", "</layout-master-set>",
        "<page-sequence>", "<sequence-specification-single page-master-name=\"PAGE0\">",
        "<flow section-name=\"xsl-body\">"})
    out.Line(QLatin1String(line));
  walkBands(*this, true, [&](TWBand& band) { writeBandLayout(out, band, runningTop); });
  for (const char* line :
       {"</flow>", "</sequence-specification-single>", "</page-sequence>", "</root>"})
    out.Line(QLatin1String(line));
  out.Close();
}

TWLabel& AddLabel(TWBand& band, const QString& name, const TWBounds& at, const QString& caption,
                  TAlignment alignment) {
  auto& l = band.Add<TWLabel>(name, at);
  l.Caption = caption;
  l.Alignment = alignment;
  return l;
}

TWField& AddField(TWBand& band, const QString& name, const TWBounds& at, TRowSource* rows,
                  const QString& dataField, TAlignment alignment) {
  auto& f = band.Add<TWField>(name, at);
  if (rows) f.Bind(*rows, dataField);
  f.Alignment = alignment;
  return f;
}
