#pragma once

#include <QDate>
#include <QStringList>
#include <QTemporaryDir>

#include "scripted_ui.h"
#include "test_database.h"

// A company "Próba Kft." with four assets over two cost locations and two account sets, their
// items and rates, balances recalculated; the listings write into a directory of the test's own.
class ListingFixture {
 public:
  ListingFixture();

  // The data file of a report, decoded.
  QString Data(const QString& report) const;
  // The values of every "field=value" line of the data file, in order.
  QStringList Values(const QString& report, const QString& field) const;
  // The report drawn by the renderer into a PDF and read back as text, blanks collapsed.
  QString Pdf(const QString& report) const;
  // The report's three files against tests/reports/golden/listings/golden.*; today's date
  // becomes "TODAY" so the files stay fixed.
  void ExpectGoldenFiles(const QString& report, const QString& golden) const;

  QString UserDir() const { return m_dir.path() + "/"; }

  TestDatabase db;
  ScriptedUi ui;

 private:
  QTemporaryDir m_dir;
};
