#include "listing_parts.h"

#include "exceptions.h"
#include "format_settings.h"
#include "listing_reports.h"
#include "ui_services.h"
#include "uni_sql_query.h"

namespace listing {

void Prepare(TUniSQLQuery& query, TUniSQLDatabase& database, const QStringList& sql) {
  query.SetDatabase(&database);
  query.SetSQL(sql);
}

QString CompanyName(TUniSQLDatabase& database, const QString& sql) {
  TUniSQLQuery QCeg;
  Prepare(QCeg, database, {sql});
  QCeg.Open();
  return QCeg.IsEmpty() ? QString() : QCeg.FieldByName(QStringLiteral("CEGNEV"))->AsString();
}

QString DateParam(const QDate& date) {
  return date.isValid() ? DateToStr(date) : QStringLiteral("1900.01.01");
}

void MarkCurrency(TUniSQLQuery& query, const QStringList& fields) {
  for (const QString& name : fields) query.FieldByName(name)->SetCurrency(true);
}

TWLabel& AddTitle(TWBand& band, const QString& name, const TWBounds& at, const QString& caption) {
  auto& label = AddLabel(band, name, at, caption, taCenter);
  label.Font.Bold = true;
  label.Font.Size = 12;
  return label;
}

void AddLabels(TWBand& band, std::initializer_list<TColumn> labels) {
  for (const TColumn& c : labels)
    AddLabel(band, QString::fromLatin1(c.Name), c.At, QString::fromUtf8(c.Caption), c.Alignment);
}

void Guarded(const std::function<void()>& handler, const QString& message) {
  try {
    handler();
  } catch (const Exception&) {
    Ui().MessageBox(message, QString(), MsgType::Error);
  }
}

}  // namespace listing

QString WorkTableName(const QString& prefix, const QString& logonName) {
  QString name = prefix + logonName;
  name.replace(u'`', QStringLiteral("``"));
  return u'`' + name + u'`';
}

// Blanks group the thousands, as "### ### ##0.00" shows an amount.
QString AmountText(double value) { return FormatFloat(QStringLiteral(",0.00;-,0.00"), value); }
