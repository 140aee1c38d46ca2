#include "data_set.h"

#include <algorithm>

#include "data_source.h"
#include "exceptions.h"

namespace {

[[noreturn]] void Raise(const QString& message) { throw EDatabaseError(message); }

}  // namespace

TDataSet::TDataSet(QObject* owner) : QObject(owner) {}

TDataSet::~TDataSet() {
  const auto sources = m_sources;
  for (TDataSource* source : sources) source->SetDataSet(nullptr);
}

void TDataSet::SetActive(bool active) {
  if (active)
    Open();
  else
    Close();
}

void TDataSet::Open() {
  if (Active()) return;
  Fire(BeforeOpen);
  BeginFields();
  try {
    InternalOpen();
    m_row = InternalRecordCount() > 0 ? 0 : -1;
    m_insertRow = -1;
    m_bof = true;
    m_eof = m_row < 0;
    m_modified = false;
    InvalidatePeek();
    ReadCurrent();
  } catch (...) {
    m_fields.clear();
    m_record.clear();
    m_hasRecord = false;
    m_row = -1;
    InternalClose();
    throw;
  }
  SetState(dsBrowse);
  Fire(AfterOpen);
  if (m_hasRecord) Fire(AfterScroll);
}

void TDataSet::Close() {
  if (!Active()) return;
  Fire(BeforeClose);
  CloseOnDestroy();
  Fire(AfterClose);
}

void TDataSet::CloseOnDestroy() {
  if (!Active()) return;
  // Pending edits are dropped, as closing always did.
  m_fields.clear();
  m_hasRecord = false;
  m_row = m_insertRow = -1;
  m_bof = m_eof = true;
  m_modified = false;
  m_record.clear();
  m_oldRecord.clear();
  InvalidatePeek();
  m_state = dsInactive;
  InternalClose();
  DataEvent(TDataEvent::UpdateState);
}

int TDataSet::RecordCount() const { return Active() ? InternalRecordCount() : 0; }

int TDataSet::RecNo() const {
  if (!Active()) return 0;
  if (m_state == dsInsert) return m_insertRow + 1;
  return m_row + 1;
}

void TDataSet::First() {
  CheckActive();
  CheckBrowseMode();
  Fire(BeforeScroll);
  const int n = RecordCount();
  m_row = n > 0 ? 0 : -1;
  m_bof = true;
  m_eof = n == 0;
  ReadCurrent();
  DataEvent(TDataEvent::DataSetScroll);
  Fire(AfterScroll);
}

void TDataSet::Last() {
  CheckActive();
  CheckBrowseMode();
  Fire(BeforeScroll);
  const int n = RecordCount();
  m_row = n - 1;
  m_eof = true;
  m_bof = n == 0;
  ReadCurrent();
  DataEvent(TDataEvent::DataSetScroll);
  Fire(AfterScroll);
}

void TDataSet::Next() { MoveBy(1); }
void TDataSet::Prior() { MoveBy(-1); }

int TDataSet::MoveBy(int distance) {
  CheckActive();
  CheckBrowseMode();
  Fire(BeforeScroll);
  int moved = 0;
  if ((distance > 0 && !m_eof) || (distance < 0 && !m_bof)) {
    const int n = RecordCount();
    m_bof = m_eof = false;
    int target = m_row + distance;
    if (target >= n) {
      target = n - 1;
      m_eof = true;
    }
    if (target < 0) {
      target = n > 0 ? 0 : -1;
      m_bof = true;
    }
    moved = target - m_row;
    m_row = target;
    if (moved != 0) {
      ReadCurrent();
      DataEvent(TDataEvent::DataSetScroll);
    }
  }
  Fire(AfterScroll);
  return moved;
}

void TDataSet::SetRecNo(int recNo) {
  CheckActive();
  if (recNo < 1 || recNo > RecordCount()) return;
  CheckBrowseMode();
  if (recNo > RecordCount()) return;
  Fire(BeforeScroll);
  m_row = recNo - 1;
  m_bof = m_eof = false;
  ReadCurrent();
  DataEvent(TDataEvent::DataSetScroll);
  Fire(AfterScroll);
}

TBookmark TDataSet::GetBookmark() const {
  if (!Active() || !m_hasRecord || m_state == dsInsert) return {};
  return InternalBookmark(m_row);
}

bool TDataSet::BookmarkValid(const TBookmark& bookmark) const {
  return Active() && bookmark.IsValid() && InternalBookmarkRow(bookmark) >= 0;
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
  CheckActive();
  CheckBrowseMode();
  const int row = bookmark.IsValid() ? InternalBookmarkRow(bookmark) : -1;
  if (row < 0) Raise(QStringLiteral("No record"));
  Fire(BeforeScroll);
  m_row = row;
  m_bof = m_eof = false;
  ReadCurrent();
  DataEvent(TDataEvent::DataSetScroll);
  Fire(AfterScroll);
}

void TDataSet::Append() { BeginInsert(-1); }
void TDataSet::Insert() { BeginInsert(std::max(m_row, 0)); }

void TDataSet::BeginInsert(int row) {
  CheckActive();
  CheckBrowseMode();
  CheckCanModify();
  Fire(BeforeInsert);
  Fire(BeforeScroll);
  m_insertRow = row < 0 ? RecordCount() : std::min(row, RecordCount());
  EmptyRecord(m_record);
  m_oldRecord.clear();
  m_hasRecord = true;
  m_modified = false;
  m_bof = m_eof = false;
  SetState(dsInsert);
  DataEvent(TDataEvent::DataSetChange);
  Fire(AfterInsert);
  Fire(AfterScroll);
}

void TDataSet::Edit() {
  CheckActive();
  if (m_state == dsEdit || m_state == dsInsert) return;
  if (RecordCount() == 0) {
    Insert();
    return;
  }
  CheckCanModify();
  Fire(BeforeEdit);
  InternalEdit();
  m_oldRecord = m_record;
  m_modified = false;
  SetState(dsEdit);
  DataEvent(TDataEvent::RecordChange);
  Fire(AfterEdit);
}

void TDataSet::Post() {
  CheckActive();
  UpdateRecord();
  Fire(BeforePost);
  const bool inserting = m_state == dsInsert;
  const int row = inserting ? m_insertRow : m_row;
  InternalPost(m_record, row, inserting);
  m_row = row;
  m_insertRow = -1;
  m_modified = false;
  m_oldRecord.clear();
  m_bof = m_eof = false;
  InvalidatePeek();
  ReadCurrent();
  SetState(dsBrowse);
  DataEvent(TDataEvent::DataSetChange);
  Fire(AfterPost);
}

void TDataSet::Cancel() {
  if (m_state != dsEdit && m_state != dsInsert) return;
  Fire(BeforeCancel);
  m_insertRow = -1;
  m_modified = false;
  m_oldRecord.clear();
  ReadCurrent();
  if (RecordCount() == 0) m_bof = m_eof = true;
  SetState(dsBrowse);
  DataEvent(TDataEvent::DataSetChange);
  Fire(AfterCancel);
}

void TDataSet::Delete() {
  CheckActive();
  if (m_state == dsInsert) {
    Cancel();
    return;
  }
  if (RecordCount() == 0)
    Raise(QStringLiteral("Cannot perform this operation on an empty dataset"));
  CheckCanModify();
  Fire(BeforeDelete);
  Fire(BeforeScroll);
  InternalDelete(m_row);
  const int n = RecordCount();
  m_row = std::min(m_row, n - 1);
  m_bof = m_eof = n == 0;
  m_modified = false;
  m_oldRecord.clear();
  InvalidatePeek();
  ReadCurrent();
  SetState(dsBrowse);
  DataEvent(TDataEvent::DataSetChange);
  Fire(AfterDelete);
  Fire(AfterScroll);
}

void TDataSet::Refresh() {
  CheckActive();
  CheckBrowseMode();
  InternalRefresh();
  m_row = std::min(m_row, RecordCount() - 1);
  if (m_row < 0 && RecordCount() > 0) m_row = 0;
  InvalidatePeek();
  ReadCurrent();
  DataEvent(TDataEvent::DataSetChange);
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  if (m_state != dsEdit && m_state != dsInsert) return;
  UpdateRecord();
  if (m_modified)
    Post();
  else
    Cancel();
}

void TDataSet::UpdateRecord() {
  if (m_state != dsEdit && m_state != dsInsert)
    Raise(QStringLiteral("Dataset not in edit or insert mode"));
  DataEvent(TDataEvent::UpdateRecord);
}

TField* TDataSet::Fields(int index) const {
  if (index < 0 || index >= FieldCount())
    Raise(QStringLiteral("List index out of bounds (%1)").arg(index));
  return m_fields[index];
}

TField* TDataSet::FindField(const QString& name) const {
  for (TField* f : m_fields)
    if (f->FieldName().compare(name, Qt::CaseInsensitive) == 0) return f;
  return nullptr;
}

TField* TDataSet::FieldByName(const QString& name) const {
  TField* f = FindField(name);
  if (!f) Raise(QStringLiteral("Field '%1' not found").arg(name));
  return f;
}

int TDataSet::DisplayRowCount() const { return RecordCount() + (m_state == dsInsert ? 1 : 0); }

int TDataSet::DisplayRowOfCursor() const {
  if (m_state == dsInsert) return m_insertRow;
  return m_hasRecord ? m_row : -1;
}

QString TDataSet::DisplayTextAt(int row, int fieldIndex) const {
  if (!Active() || fieldIndex < 0 || fieldIndex >= FieldCount() || row < 0 ||
      row >= DisplayRowCount())
    return {};
  const TRecord* record = nullptr;
  int storageRow = row;
  if (m_state == dsInsert) {
    if (row == m_insertRow) record = &m_record;
    if (row > m_insertRow) storageRow = row - 1;
  } else if (row == m_row && m_hasRecord) {
    record = &m_record;
  }
  if (!record) {
    if (m_peekRow != storageRow) {
      m_peekRecord.resize(m_fields.size());
      InternalReadRecord(storageRow, m_peekRecord);
      m_peekRow = storageRow;
    }
    record = &m_peekRecord;
  }
  return m_fields[fieldIndex]->TextOf((*record)[fieldIndex], true);
}

void TDataSet::GotoDisplayRow(int row) {
  CheckActive();
  if (m_state == dsInsert) {
    if (row == m_insertRow) return;
    const int before = RecordCount();
    const int insertRow = m_insertRow;
    CheckBrowseMode();
    // When the new row was dropped, the rows after it move up by one.
    if (RecordCount() == before && row > insertRow) --row;
  }
  SetRecNo(row + 1);
}

void TDataSet::BeginFields() { m_fields.clear(); }

TField* TDataSet::AddField(const QString& name, TFieldType type, int size, int fieldNo,
                           int decimalScale, bool fixedLength) {
  TField* field = nullptr;
  for (auto& f : m_fieldObjects) {
    if (f->FieldName().compare(name, Qt::CaseInsensitive) == 0 &&
        std::find(m_fields.begin(), m_fields.end(), f.get()) == m_fields.end()) {
      field = f.get();
      break;
    }
  }
  if (!field) {
    m_fieldObjects.emplace_back(new TField(this, name));
    field = m_fieldObjects.back().get();
  }
  field->m_fieldName = name;
  field->m_dataType = type;
  field->m_size = type == ftString ? size : 0;
  field->m_fieldNo = fieldNo;
  field->m_decimalScale = type == ftFloat ? decimalScale : -1;
  field->m_fixedLength = type == ftString && fixedLength;
  field->m_index = static_cast<int>(m_fields.size());
  m_fields.push_back(field);
  return field;
}

void TDataSet::NotifyLayoutChanged() {
  if (Active()) DataEvent(TDataEvent::LayoutChange);
}

QVariant TDataSet::FieldValue(const TField* field) const {
  const auto i = static_cast<size_t>(field->Index());
  return i < m_record.size() ? m_record[i] : QVariant();
}

void TDataSet::SetFieldValue(TField* field, QVariant value) {
  if (m_state != dsEdit && m_state != dsInsert)
    Raise(QStringLiteral("Dataset not in edit or insert mode"));
  if (field->ReadOnly())
    Raise(QStringLiteral("Field '%1' cannot be modified").arg(field->FieldName()));
  const auto i = static_cast<size_t>(field->Index());
  if (i >= m_record.size()) return;
  m_record[i] = std::move(value);
  m_modified = true;
  DataEvent(TDataEvent::FieldChange, field);
}

void TDataSet::DataEvent(TDataEvent event, TField* field) {
  const auto sources = m_sources;
  for (TDataSource* source : sources) source->DataEvent(event, field);
}

void TDataSet::SetState(TDataSetState state) {
  if (m_state == state) return;
  m_state = state;
  DataEvent(TDataEvent::UpdateState);
}

void TDataSet::ReadCurrent() {
  const int n = InternalRecordCount();
  if (m_row >= 0 && m_row < n) {
    m_record.resize(m_fields.size());
    InternalReadRecord(m_row, m_record);
    m_hasRecord = true;
  } else {
    EmptyRecord(m_record);
    m_hasRecord = false;
  }
}

void TDataSet::EmptyRecord(TRecord& record) const {
  record.resize(m_fields.size());
  for (size_t i = 0; i < m_fields.size(); ++i) record[i] = m_fields[i]->EmptyValue();
}

void TDataSet::Fire(const TDataSetNotifyEvent& event) {
  if (event) event(this);
}

void TDataSet::CheckActive() const {
  if (!Active()) Raise(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void TDataSet::CheckCanModify() const {
  if (!GetCanModify()) Raise(QStringLiteral("Cannot modify a read-only dataset"));
}

void TDataSet::RegisterSource(TDataSource* source) {
  if (std::find(m_sources.begin(), m_sources.end(), source) == m_sources.end())
    m_sources.push_back(source);
}

void TDataSet::UnregisterSource(TDataSource* source) {
  m_sources.erase(std::remove(m_sources.begin(), m_sources.end(), source), m_sources.end());
}
