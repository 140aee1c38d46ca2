#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include "data_source.h"

// The CSV settings the CSV import form reads; the component does nothing by itself.
class TCSVEXPIMP : public QObject {
 public:
  explicit TCSVEXPIMP(QObject* owner = nullptr) : QObject(owner) {}

  TDataSource* Datasource() const { return m_datasource; }
  void SetDatasource(TDataSource* source) { m_datasource = source; }

  QString CSVnev = QStringLiteral("Export.CSV");  // file name
  QString Elvalaszt = QStringLiteral(";");        // field separator
  bool Elsonemkell = false;                       // the first line is not needed
  bool OKMsg = true;                              // report success with a message
  bool VegereElvalaszto = true;                   // a separator after the last field too

 private:
  QPointer<TDataSource> m_datasource;
};
