#include "style_settings.h"

#include <QGuiApplication>

#include "app_globals.h"
#include "file_lookup.h"
#include "memory_ini_file.h"

StyleSettings& Style() {
  static StyleSettings style;
  return style;
}

int ClampCrTabMode(int mode) { return qBound(1, mode, 2); }

void ReadStyleSettings(const QString& fileName, const QString& programDir) {
  TMemoryIniFile ini(fileName);
  const QString section = QStringLiteral("STILUS");
  auto color = [&](const char* key, TColor def) {
    return TColor(ini.ReadInteger(section, QLatin1String(key), int(def)));
  };
  AppGlobals& g = Globals();
  StyleSettings& s = Style();
  g.CrTabMode = ClampCrTabMode(ini.ReadInteger(section, QStringLiteral("CR_TAB"), 2));
  s.DatDir = ini.ReadString(section, QStringLiteral("DATDIR"), programDir);
  s.NormalSzin = color("NormalSzin", clInactiveBorder);
  s.AblakSzin = color("AblakSzin", clInactiveBorder);
  s.HibaSzin = color("HibaSzin", clInactiveBorder);
  s.NBetuSzin = color("NBetuSzin", clWindowText);
  s.ABetuSzin = color("ABetuSzin", clWindowText);
  s.HBetuSzin = color("HBetuSzin", clWindowText);
  g.GridScale = ini.ReadInteger(section, QStringLiteral("GrSzorzo"), 100) / 100.0;
  g.FontScale = ini.ReadInteger(section, QStringLiteral("FontSzorzo"), 100) / 100.0;
}

void LoadStyleSettings() {
  const QString dir = Globals().ProgramDir;
  ReadStyleSettings(ResolvePath(dir, QLatin1String(kStyleFileName)), dir);
}

QPalette::ColorRole SystemColorRole(int index) {
  switch (index) {
    case 0:
      return QPalette::Button;  // scroll bar
    case 1:
      return QPalette::Window;  // desktop
    case 2:
      return QPalette::Highlight;  // active caption
    case 3:
      return QPalette::Midlight;  // inactive caption
    case 4:
      return QPalette::Window;  // menu
    case 5:
      return QPalette::Base;  // window background
    case 6:
      return QPalette::Shadow;  // window frame
    case 7:
      return QPalette::WindowText;  // menu text
    case 8:
      return QPalette::WindowText;  // window text
    case 9:
      return QPalette::HighlightedText;  // caption text
    case 10:
      return QPalette::Window;  // active border
    case 11:
      return QPalette::Window;  // inactive border
    case 12:
      return QPalette::Dark;  // application workspace
    case 13:
      return QPalette::Highlight;
    case 14:
      return QPalette::HighlightedText;
    case 15:
      return QPalette::Button;  // button face
    case 16:
      return QPalette::Dark;  // button shadow
    case 17:
      return QPalette::PlaceholderText;  // grey text
    case 18:
      return QPalette::ButtonText;
    case 19:
      return QPalette::Text;  // inactive caption text
    case 20:
      return QPalette::Light;  // button highlight
    case 21:
      return QPalette::Shadow;  // 3D dark shadow
    case 22:
      return QPalette::Midlight;  // 3D light
    case 23:
      return QPalette::ToolTipText;  // info text
    case 24:
      return QPalette::ToolTipBase;  // info background
    case 26:
      return QPalette::Link;  // hot light
    case 27:
      return QPalette::Highlight;  // gradient active caption
    case 28:
      return QPalette::Midlight;  // gradient inactive caption
    case 29:
      return QPalette::Highlight;  // menu highlight
    case 30:
      return QPalette::Window;  // menu bar
    default:
      return QPalette::NoRole;
  }
}

QColor ColorOf(TColor color) {
  if (color & 0x80000000u) {
    const QPalette::ColorRole role = SystemColorRole(int(color & 0xFF));
    if (role == QPalette::NoRole) return QColor(Qt::black);
    return QGuiApplication::palette().color(QPalette::Active, role);
  }
  return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}
