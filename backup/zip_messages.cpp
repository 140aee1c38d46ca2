#include "zip_messages.h"

#include <QStringList>

namespace {

struct ZipMessageRow {
  int id;
  const char* text;
};

// Some ids stand twice with the same text; the lookup takes the first row.
const ZipMessageRow kZipMessages[] = {
    {10101, "Fatal Error in ZipLIB.DLL: abort exception"},
    {10102, "Error - no zip file specified!"},
    {10103, "Requested memory not available"},
    {10104, "Error - passwords do NOT match\nPassword ignored"},
    {10105, "Copying: "},
    {10105, "Copying: "},
    {10106, "Exception in Event handler "},
    {10106, "Exception in Event handler "},
    {10107, "Was busy, Instructions may have been lost!"},
    {10107, "Was busy, Instructions may have been lost!"},
    {10108, " Busy, Please wait"},
    {10108, " Busy, Please wait"},
    {10109, "not Active"},
    {10109, "not Active"},
    {10110, "Index (%d) outside range 1..%d"},
    {10110, "Index (%d) outside range 1..%d"},
    {10111, "Temporary zipfile: %s"},
    {10111, "Temporary zipfile: %s"},
    {10112, "Busy + %s"},
    {10113, "Exception in Event "},
    {10118, "DLL Error - Aborting"},
    {10119, "DLL Error - Busy"},
    {10120, "DLL Error - User Cancelled"},
    {10121, "DLL Error - Not enough memory"},
    {10122, "DLL Error - Invalid structure"},
    {10123, "DLL Error - Exception in handler "},
    {10124, "critical DLL Error %d"},
    {10125, " Unknown error %d"},
    {10140, "Error while copying the SFX header"},
    {10141, "Rename is not implemented for a spanned zip file"},
    {10142, "Processing: "},
    {10142, "Processing: "},
    {10143, " renamed to: "},
    {10143, " renamed to: "},
    {10144, "Invalid date/time argument for file: "},
    {10150, "Error - no add password given"},
    {10151, "Error - no extract password given"},
    {10152, "&Ok"},
    {10153, "&Cancel"},
    {10154, "Password"},
    {10155, "Enter Password "},
    {10156, "Confirm Password "},
    {10157, "Cancel all"},
    {10158, "Abort"},
    {10159, " for file: "},
    {10180, "Source archive is the same as the destination archive!"},
    {10181, "Overwrite file '%s' in '%s' ?"},
    {10182, "Copying a file from '%s' to '%s' failed"},
    {10183, "File '%s' is not present in '%s'!"},
    {10184, "Error while copying the SFX data"},
    {10185, "Destination zip archive could not be opened!"},
    {10186, "CopyZippedFiles is not implemented for a spanned zip file"},
    {10201, "Seek error reading Zip archive!"},
    {10202, "Unknown error in List() function\n"},
    {10203, "Warning - Error in zip structure!"},
    {10204, "Warning - Garbage at the end of the zipfile!"},
    {10205, "File larger than 4GB"},
    {10206, "Unknown Compression Method"},
    {10301, "Error - no files to zip!"},
    {10302, "Unattended action not possible without a password"},
    {10303, "AddFreshen or AddUpdate not possible on a spanned archive"},
    {10304, "Error %.1d occurred during Auto SFX creation."},
    {10305, "Error - your ZipLIB.dll can not use streams, please update to version >= 1.60"},
    {10306, "Input stream may not be set to the output stream"},
    {10307, "Wildcards are not allowed in Filename or file specification"},
    {10308, "Destination directory '%s' must exist!"},
    {10401, "Error - no files selected for deletion"},
    {10402, "Delete Files from archive is not implemented for a spanned zip file"},
    {10501, "Fatal Error in UnzLIB.DLL: abort exception"},
    {10502, "Warning - Unattended Extract: possible not all files extracted"},
    {10503, "Error - your UnzLIB.dll can not use streams, please update to version >= 1.60"},
    {10504, "Extract directory '%s' must exist"},
    {10650, "Failed to load %s"},
    {10651, "Unable to load %s - It is old or corrupt"},
    {10652, "Loaded "},
    {10653, "Unloaded "},
    {10802, "Error - ZIPSFX.BIN not found!"},
    {10803, "Error: input file is not a zip file"},
    {10804, "SFX Functions not supported"},
    {10805, "SFX Message string exceeds 255 characters!"},
    {10805, "SFX Message string exceeds 255 characters!"},
    {10806, "SFX Default path exceeds 255 characters!"},
    {10806, "SFX Default path exceeds 255 characters!"},
    {10807, "SFX Dialog title exceeds 255 characters!"},
    {10807, "SFX Dialog title exceeds 255 characters!"},
    {10808, "SFX Command line exceeds 255 characters!"},
    {10808, "SFX Command line exceeds 255 characters!"},
    {10809, "SFX Fallback path exceeds 255 characters!"},
    {10809, "SFX Fallback path exceeds 255 characters!"},
    {10901, "Error - no .EXE file specified"},
    {10902, "Error: input file is not an .EXE file"},
    {10903, "Error determining the type of SFX archive"},
    {11001, "Input file does not exist"},
    {11002, "Zip file could not be opened"},
    {11003, "Not a valid drive: %s"},
    {11004, "Drive %s is NOT defined"},
    {11005, "Volume label could not be set"},
    {11006, "Not enough memory to display MsgBox"},
    {11007, "User canceled operation"},
    {11008, "Seek error in input file"},
    {11009, "Creation of output file failed"},
    {11010, "Write error in output file"},
    {11011, "Error while reading the End Of Central Directory"},
    {11012, "Error while reading a local header"},
    {11013, "Error while reading a central header"},
    {11014, "A local header signature is wrong"},
    {11015, "A central header signature is wrong"},
    {11016, "Error while reading a local file name"},
    {11017, "Error while reading a central file name"},
    {11018, "Error while reading a local extra field"},
    {11019, "Error while reading a central extra field"},
    {11020, "Error while reading/writing a data descriptor area"},
    {11021, "Error while reading zipped data"},
    {11022, "Error while reading a file comment"},
    {11023, "Error while reading the archive comment"},
    {11024,
     "UnKnown error in function ReadSpan(), WriteSpan(), ChangeFileDetails() or "
     "CopyZippedFiles()\n"},
    {11025, "Unattended disk spanning not implemented"},
    {11026, "A local header not found in internal structure"},
    {11027, "Temporary file could not be created"},
    {11028, "Error while writing a local header"},
    {11029, "Error while writing a central header"},
    {11030, "Error while writing the End Of Central Directory"},
    {11031, "Error while reading a Extended Local signature"},
    {11032, "This disk has not enough free space available"},
    {11033, "Please insert last disk"},
    {11034, "Please insert disk volume %.1d of %.1d"},
    {11035, "\nin drive: %s"},
    {11036, "This archive is not a valid Zip archive"},
    {11037, "This is the first disk in a backup set,\nplease insert the last disk of this set"},
    {11038, "This is the %dth disk in a backup set,\nplease insert the last disk of this set"},
    {11039, "There is already a file %s\nDo you want to overwrite this file"},
    {11040,
     "ATTENTION: This is previous disk no %d!!!\nAre you sure you want to overwrite the contents"},
    {11041, "Error - Self extracting archives(.exe) can not be spanned"},
    {11042, "Error while copying a filename of a CEH structure"},
    {11043, "Seek error while skipping a EOC structure"},
    {11044, "Error while copying the zip archive comment"},
    {11045, "This is the first file in a backup set,\nplease choose the last file of this set"},
    {11046, "Please insert disk volume %.1d"},
    {11047, "Central directory"},
    {11048, "DiskSpanning not supported"},
    {11049, "Unknown Error"},
    {11050, "Last part left as : %s"},
    {11050, "Last part left as : %s"},
    {11101, "Erase %s"},
    {11101, "Erase %s"},
    {11102, "Confirm"},
    {11102, "Confirm"},
    {11201, "Size of FileExtraData is larger than available array"},
    {11301, "ChangeFileDetails is not implemented for a spanned zip file"},
    {11302, "No Event Handler found to Change File Details"},
    {11303, "Error while writing a local extra field"},
    {11304, "Error while writing a central extra field"},
    {11305, "Error while writing a file comment"},
    {11306, "No FileName in changed file details"},
    {11307, "The combined length of CEH + FileName + FileComment + ExtraData exceeds 65535"},
    {11308, "Changing details of: "},
    {11309, "Duplicate Filename: %s"},
    {11310, "Cannot change details of Excrypted file"},
    {11311, "Invalid Filename: '%s'"},
    {11312, "Cannot change path"},
    {11313, "Filespec '%s' skipped"},
    {11401, "*Resetting Archive bit"},
    {11402, "*Copying Zip File"},
    {11403, "*SFX"},
    {11404, "*??"},
    {11405, "*Finalising"},
    {11406, "*Copying"},
    {11407, "*Central Directory"},
    {11408, "*Checking"},
    {11409, "*Loading Directory"},
    {11409, "*Loading Directory"},
    {11410, "*Joining split zip file"},
    {11411, "*Splitting zip file"},
    {11500, "Dropping %d empty directory entries"},
    {11501, "Nothing to write"},
    {11600, "EraseFloppy - Removing %s"},
    {11600, "EraseFloppy - Removing %s"},
    {11601, "EraseFloppy - Deleting %s"},
    {11601, "EraseFloppy - Deleting %s"},
    {11602, "Trace : GetNewDisk Opening: %s"},
    {11602, "Trace : GetNewDisk Opening: %s"},
};

ZipLanguageHook& Hook() {
  static ZipLanguageHook hook;
  return hook;
}

const char kNotLinked[] = "\nthe message table is probably not linked to the executable";

}  // namespace

void SetZipLanguageHook(ZipLanguageHook hook) { Hook() = std::move(hook); }

QString ZipResLoadStr(int id) {
  if (id < 10000) return {};
  for (const ZipMessageRow& row : kZipMessages)
    if (row.id == id) return QString::fromUtf8(row.text);
  return {};
}

QString ZipLoadStr(int id) {
  QString text;
  if (Hook()) text = Hook()(id);
  // No string resources of our own stand in this range: the table follows.
  if (text.isEmpty()) text = ZipResLoadStr(id);
  return text;
}

QString ZipLoadStrDef(int id, const QString& def) {
  QString text = ZipLoadStr(id);
  return text.isEmpty() ? def : text;
}

QString ZipFormat(const QString& format, const QVariantList& args) {
  QString out;
  int next = 0;
  for (qsizetype i = 0; i < format.size(); ++i) {
    QChar c = format[i];
    if (c != '%' || i + 1 >= format.size()) {
      out += c;
      continue;
    }
    if (format[i + 1] == '%') {
      out += '%';
      ++i;
      continue;
    }
    qsizetype j = i + 1;
    int precision = -1;
    if (format[j] == '.') {
      ++j;
      precision = 0;
      while (j < format.size() && format[j].isDigit())
        precision = precision * 10 + format[j++].digitValue();
    }
    if (j >= format.size()) {
      out += format.mid(i);
      break;
    }
    QChar kind = format[j];
    QVariant arg = next < args.size() ? args[next] : QVariant();
    ++next;
    if (kind == 'd') {
      qlonglong v = arg.toLongLong();
      QString digits = QString::number(v < 0 ? -v : v);
      if (precision > digits.size()) digits = QString(precision - digits.size(), '0') + digits;
      out += (v < 0 ? QStringLiteral("-") : QString()) + digits;
    } else if (kind == 's') {
      QString s = arg.toString();
      out += precision >= 0 ? s.left(precision) : s;
    } else {
      out += format.mid(i, j - i + 1);
      --next;
    }
    i = j;
  }
  return out;
}

QString ZipFmtLoadStr(int id, const QVariantList& args) {
  QString text = ZipLoadStr(id);
  return text.isEmpty() ? text : ZipFormat(text, args);
}

EZipArchiver::EZipArchiver(const QString& message, bool display, int id)
    : Exception(message), m_display(display), m_resId(id) {}

EZipArchiver EZipArchiver::CreateResFmt(int id, const QVariantList& args) {
  QString text = ZipLoadStr(id);
  if (text.isEmpty())
    return EZipArchiver(ZipFormat("id = %d %s", {id, QString(kNotLinked)}), true, id);
  return EZipArchiver(ZipFormat(text, args), true, id);
}

EZipArchiver EZipArchiver::CreateDisp(const QString& text, bool display) {
  return EZipArchiver(text, display, 0);
}

EZipArchiver EZipArchiver::CreateResDisp(int id, bool display) {
  QString text = ZipLoadStr(id);
  if (text.isEmpty()) text = ZipFormat("id = %d %s", {id, QString(kNotLinked)});
  return EZipArchiver(text, display, id);
}

EZipArchiver EZipArchiver::CreateResDisk(int id, int disk) {
  QString text = ZipLoadStr(id);
  if (text.isEmpty())
    return EZipArchiver(ZipFormat("id = %d [disk = %d]%s", {id, disk, QString(kNotLinked)}), true,
                        id);
  return EZipArchiver(ZipFormat(text, {disk}), true, id);
}

EZipArchiver EZipArchiver::CreateResDrive(int id, const QString& drive) {
  QString text = ZipLoadStr(id);
  if (text.isEmpty())
    return EZipArchiver(ZipFormat("id = %d [drive = %s]%s", {id, drive, QString(kNotLinked)}), true,
                        id);
  return EZipArchiver(ZipFormat(text, {drive}), true, id);
}
