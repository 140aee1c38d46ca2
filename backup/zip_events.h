#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>

#include "progress_details.h"
#include "zip_types.h"

// The events of the zip component; Sender is the component.
struct TZipEvents {
  std::function<void(QObject* Sender, int ErrCode, const QString& Message)> OnMessage;
  std::function<void(QObject* Sender, TProgressType ProgrType, const QString& Filename,
                     int64_t FileSize)>
      OnProgress;
  std::function<void(QObject* Sender, const QString& Item, int64_t TotalSize, int PerCent)>
      OnItemProgress;
  std::function<void(QObject* Sender, int64_t TotalSize, int PerCent)> OnTotalProgress;
  std::function<void(QObject* Sender, const TProgressDetails& Details)> OnProgressDetails;
  std::function<void(QObject* Sender)> OnTick;
  std::function<void(QObject* Sender, bool& Abort)> OnAfterCallback;
  std::function<void(QObject* Sender)> OnDirUpdate;
  std::function<void(QObject* Sender, int SeqNo, const ZipDirEntry& ZipEntry)> OnNewName;
  // Questions.
  std::function<void(QObject* Sender, const QString& ForFile, int& DoExtract)> OnCRC32Error;
  std::function<void(QObject* Sender, const QString& ForFile, bool& DoOverwrite)>
      OnExtractOverwrite;
  std::function<void(QObject* Sender, const QString& ForFile, int SkipReason, int ErrorCode)>
      OnExtractSkipped;
  std::function<void(QObject* Sender, bool IsZipAction, QString& NewPassword,
                     const QString& ForFile, unsigned& RepeatCount, int& Action)>
      OnPasswordError;
  std::function<void(QObject* Sender, const QString& ForFile, bool& DoOverwrite)>
      OnCopyZipOverwrite;
  std::function<void(QObject* Sender, const QString& ForFile, QString& FileComment,
                     bool& IsChanged)>
      OnFileComment;
  std::function<void(QObject* Sender, const QString& ForFile, QByteArray& Data, bool& IsChanged)>
      OnFileExtra;
  std::function<void(QObject* Sender, QString& FileName, const QString& ExtName, bool& IsChanged)>
      OnSetAddName;
  std::function<void(QObject* Sender, const QString& OldFileName, QString& NewFileName,
                     bool& IsChanged)>
      OnSetExtName;
  std::function<void(QObject* Sender, QString& OldFileName, bool& IsChanged)> OnSetNewName;
  std::function<void(QObject* Sender, int DiskSeqNo, int DiskTotal, const QString& Drive,
                     bool& Cancel)>
      OnGetNextDisk;
  std::function<void(QObject* Sender, int PreviousDisk, const QString& PreviousFile, int Status,
                     int& Action)>
      OnStatusDisk;
};
