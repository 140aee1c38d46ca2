#include "progress_details.h"

#include <algorithm>

#include "zip_messages.h"

void TProgressDetails::Clear() { *this = TProgressDetails(); }

void TProgressDetails::Advance(TProgressType kind, int64_t size, const QString& name) {
  m_type = kind;
  switch (kind) {
    case NewFile:
      ++m_itemNumber;
      m_itemName = name;
      m_itemSize = size;
      m_itemPosition = 0;
      break;
    case ProgressUpdate:
      m_itemPosition += size;
      m_totalPosition += size;
      break;
    case EndOfBatch:
      m_itemName.clear();
      m_itemSize = 0;
      break;
    case TotalFiles2Process:
      Clear();
      m_type = kind;
      m_totalCount = int(size);
      break;
    case TotalSize2Process:
      m_totalSize = size;
      break;
    case NewExtra:
      m_itemName = name;
      m_itemSize = size;
      m_itemPosition = 0;
      break;
    case ExtraUpdate:
      m_itemPosition += size;
      break;
  }
}

int TProgressDetails::ItemPerCent() const {
  if (m_itemSize <= 0) return 0;
  // Large items divide the size first, which stays within 32 bits.
  int64_t p =
      m_itemSize > 214748 ? m_itemPosition / (m_itemSize / 100) : m_itemPosition * 100 / m_itemSize;
  return int(std::clamp<int64_t>(p, 0, 100));
}

int TProgressDetails::TotalPerCent() const {
  if (m_totalSize <= 0) return 0;
  return int(std::clamp<int64_t>(m_totalPosition * 100 / m_totalSize, 0, 100));
}

QString ZipExtraStepCaption(int step, const QString& text) {
  QString caption = ZipLoadStr(11400 + step);
  return caption.isEmpty() ? text : caption;
}
