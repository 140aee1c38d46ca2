#pragma once

#include <QString>
#include <QVariantList>
#include <functional>

#include "exceptions.h"

// The English texts of the zip component family, by message id (10101 to 11602).

// A language hook may replace the built-in texts; the program installs none.
using ZipLanguageHook = std::function<QString(int id)>;
void SetZipLanguageHook(ZipLanguageHook hook);

// The text of id: the hook, then the built-in table; empty when neither has one.
QString ZipLoadStr(int id);
QString ZipLoadStrDef(int id, const QString& def);
// The text formatted with args (%d, %s, %.1d, %%); empty when the id has no text.
QString ZipFmtLoadStr(int id, const QVariantList& args);
// The built-in table only.
QString ZipResLoadStr(int id);
// The class library's formatting for the placeholders the texts use.
QString ZipFormat(const QString& format, const QVariantList& args);

// An error of the zip family carrying its message id; Display asks for it to be shown.
class EZipArchiver : public Exception {
 public:
  static EZipArchiver CreateResFmt(int id, const QVariantList& args);
  static EZipArchiver CreateDisp(const QString& text, bool display);
  static EZipArchiver CreateResDisp(int id, bool display);
  static EZipArchiver CreateResDisk(int id, int disk);
  static EZipArchiver CreateResDrive(int id, const QString& drive);

  bool DisplayMsg() const { return m_display; }
  int ResId() const { return m_resId; }

 private:
  EZipArchiver(const QString& message, bool display, int id);
  bool m_display;
  int m_resId;
};
