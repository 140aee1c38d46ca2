#pragma once

#include <QString>
#include <cstdint>

// The kinds of progress report, in this order.
enum TProgressType {
  NewFile,
  ProgressUpdate,
  EndOfBatch,
  TotalFiles2Process,
  TotalSize2Process,
  NewExtra,
  ExtraUpdate
};

// The state of the operation under way, for progress displays.
class TProgressDetails {
 public:
  void Clear();
  // Applies one report: a name and a size for new items, a byte count for updates.
  void Advance(TProgressType kind, int64_t size, const QString& name);

  TProgressType ProgType() const { return m_type; }
  int ItemNumber() const { return m_itemNumber; }
  const QString& ItemName() const { return m_itemName; }
  int64_t ItemSize() const { return m_itemSize; }
  int64_t ItemPosition() const { return m_itemPosition; }
  int TotalCount() const { return m_totalCount; }
  int64_t TotalSize() const { return m_totalSize; }
  int64_t TotalPosition() const { return m_totalPosition; }
  int ItemPerCent() const;
  int TotalPerCent() const;

 private:
  TProgressType m_type = EndOfBatch;
  int m_itemNumber = 0;
  QString m_itemName;
  int64_t m_itemSize = 0;
  int64_t m_itemPosition = 0;
  int m_totalCount = 0;
  int64_t m_totalSize = 0;
  int64_t m_totalPosition = 0;
};

// The caption of an extra step: message 11400 + step, or text when the id has none.
QString ZipExtraStepCaption(int step, const QString& text);
