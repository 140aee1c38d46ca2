#pragma once

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <functional>

// The per-asset computation of a depreciation run, without database or widgets: the card items
// up to the run date are cut into day-counted pieces at value increases ("3"), transfers in
// ("D") and year ends; each part of two days or more gives one run line in both valuations.

// One card item as the run reads it.
struct CardItem {
  QDate DATUM;
  QChar TIPUS;
  double NETTO = 0;
  double NETTOSZ = 0;
  double BRUTTO = 0;
};

// A yearly rate pair in % per year; -1 and -2 are the special rates.
struct YearRate {
  double KULCS = 0;    // tax law
  double KULCSSZ = 0;  // accounting law
};

struct PrecisionPeriod {
  QDate PDATUM1;
  QDate PDATUM2;
  QChar PONTOS;
};

// One line of the run table.
struct RunLine {
  QDate DATUMTOL;
  QDate DATUMIG;
  int NAPOK = 0;
  double BRUTTO = 0;
  double KULCSSZ = 0;
  double ECSSZ = 0;
  double KULCSA = 0;
  double ECSA = 0;
  double NETTOSZ = 0;  // accounting net after the line
  double NETTOA = 0;   // tax net after the line
};

struct AssetCard {
  QString LELTSZAM;
  double MARERTEK = 0;
  QList<CardItem> items;       // every item of the card, in DATUM, TIPUS order
  QMap<int, YearRate> rates;   // by year
};

class DepreciationCalculator {
 public:
  using MessageSink = std::function<void(const QString&)>;

  // periods in PDATUM1 order; messages receives the per-part warnings.
  DepreciationCalculator(QList<PrecisionPeriod> periods, MessageSink messages);

  // The lines of one asset for a run up to runDate.
  QList<RunLine> ProcessAsset(const AssetCard& card, const QDate& runDate);

 private:
  struct Totals {
    long double accounting = 0;
    long double tax = 0;
  };
  void processAsset(const AssetCard& card, const QDate& runDate, Totals& totals,
                    QList<RunLine>& out);
  static QDate nextChangeLimit(const QList<CardItem>& rows, int current, const QDate& runDate);
  void splitByYear(const AssetCard& card, double brutto, long double nettosz, long double netto,
                   QDate first, const QDate& last, Totals& totals, QList<RunLine>& out);
  void computeInterval(const AssetCard& card, double brutto, long double& nettosz,
                       long double& netto, QDate first, QDate last, Totals& totals,
                       QList<RunLine>& out);
  QChar precisionFor(const QDate& first, const QDate& last) const;

  QList<PrecisionPeriod> m_periods;
  MessageSink m_messages;
  int DaysInYear = 365;
};

// Rounds to the nearest integer, halves to the even neighbour.
long double RoundHalfEven(long double x);

// An amount as SQL text: fixed point with two decimals and a full stop.
QString FormatParamNum(double x);
