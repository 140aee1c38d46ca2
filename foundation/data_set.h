#pragma once

#include <QObject>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

#include "field.h"

class TDataSource;

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

// What a dataset tells its data sources and, through them, its data links.
enum class TDataEvent {
  FieldChange,    // one field's value changed in the edit buffer
  RecordChange,   // the current record changed as a whole (editing began)
  DataSetChange,  // rows changed: opened, posted, cancelled, deleted, inserted, refreshed
  DataSetScroll,  // the cursor moved
  LayoutChange,   // the fields or their display settings changed
  UpdateRecord,   // linked controls are to write their text into the fields (before Post)
  UpdateState,    // the state changed (also opening and closing)
};

// The values of one row, one per field, in field order.
using TRecord = std::vector<QVariant>;

// Names a row of an open dataset; it stays valid while the dataset stays open and the row
// exists. To come back to a position after closing and opening again, use RecNo.
struct TBookmark {
  qint64 Id = -1;
  bool IsValid() const { return Id >= 0; }
  bool operator==(const TBookmark&) const = default;
};

// The dataset abstraction every table, query and test dataset derives from: states, a cursor
// over rows, an edit buffer, fields, events and notifications to data sources.
//
// Rules kept: Edit on an empty dataset inserts; moving the cursor while editing posts a
// modified record and cancels an unmodified one; linked controls write their text
// (UpdateRecord) before Post; a failed Post leaves the dataset in its editing state; after a
// failed Open the dataset is closed.
class TDataSet : public QObject {
 public:
  using TDataSetNotifyEvent = std::function<void(TDataSet*)>;

  explicit TDataSet(QObject* owner = nullptr);
  ~TDataSet() override;

  bool Active() const { return m_state != dsInactive; }
  void SetActive(bool active);
  void Open();
  void Close();
  TDataSetState State() const { return m_state; }

  void First();
  void Last();
  void Next();
  void Prior();
  int MoveBy(int distance);  // returns the number of rows actually moved
  bool Bof() const { return m_bof; }
  bool Eof() const { return m_eof; }
  bool IsEmpty() const { return RecordCount() == 0; }
  int RecordCount() const;   // rows shown; deleted rows do not count
  int RecNo() const;         // 1-based position of the current row; 0 without rows
  void SetRecNo(int recNo);  // 1..RecordCount; other values are ignored
  TBookmark GetBookmark() const;
  void GotoBookmark(const TBookmark& bookmark);  // raises "No record" for a row that is gone
  bool BookmarkValid(const TBookmark& bookmark) const;

  void Append();
  void Insert();  // a new row before the current one
  void Edit();
  void Post();
  void Cancel();
  void Delete();
  void Refresh();  // finishes editing and shows the held rows again; it does not re-query
  // Posts a modified record, cancels an unmodified one; nothing while browsing.
  void CheckBrowseMode();
  // Asks the linked controls to write their text into the fields.
  void UpdateRecord();
  bool Modified() const { return m_modified; }
  bool CanModify() const { return Active() && GetCanModify(); }

  int FieldCount() const { return static_cast<int>(m_fields.size()); }
  TField* Fields(int index) const;
  TField* FindField(const QString& name) const;    // case-insensitive; nullptr when none
  TField* FieldByName(const QString& name) const;  // raises when none

  // Rows as a grid shows them, read without moving the cursor: the row being inserted is a
  // row of its own at its place, the record being edited shows its edited values.
  int DisplayRowCount() const;
  int DisplayRowOfCursor() const;  // -1 when there is none
  QString DisplayTextAt(int row, int fieldIndex) const;
  void GotoDisplayRow(int row);

  TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
  TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
  TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;

 protected:
  // The storage of a concrete dataset. Rows are addressed by their position 0..count-1.
  virtual void InternalOpen() = 0;  // calls BeginFields/AddField and readies the rows
  virtual void InternalClose() = 0;
  virtual int InternalRecordCount() const = 0;
  virtual void InternalReadRecord(int row, TRecord& record) const = 0;
  virtual TBookmark InternalBookmark(int row) const = 0;
  virtual int InternalBookmarkRow(const TBookmark& bookmark) const = 0;  // -1 when gone
  // Writes the edit buffer: the changed row `row` while editing, a new row to be placed at
  // position `row` while inserting. May adjust the record (the stored form of its values).
  // Raising leaves the dataset in its editing state.
  virtual void InternalPost(TRecord& record, int row, bool inserting) = 0;
  virtual void InternalDelete(int row) = 0;
  virtual void InternalEdit() {}
  virtual void InternalRefresh() {}
  virtual bool GetCanModify() const { return true; }

  // The fields of the opening in progress, in order. A field of the same name (any case)
  // from an earlier opening is reused with its display settings.
  void BeginFields();
  TField* AddField(const QString& name, TFieldType type, int size, int fieldNo,
                   int decimalScale = -1, bool fixedLength = false);
  // For the destructor of a concrete dataset: closes without events, while its storage
  // still exists.
  void CloseOnDestroy();
  // Field display settings changed: grids re-read their columns.
  void NotifyLayoutChanged();
  // The values of the current record (the edit buffer while editing).
  const TRecord& CurrentRecord() const { return m_record; }

 private:
  friend class TField;
  friend class TDataSource;

  QVariant FieldValue(const TField* field) const;
  void SetFieldValue(TField* field, QVariant value);
  bool HasRecord() const { return m_hasRecord; }
  void DataEvent(TDataEvent event, TField* field = nullptr);
  void SetState(TDataSetState state);
  void ReadCurrent();
  void EmptyRecord(TRecord& record) const;
  void BeginInsert(int row);
  void Fire(const TDataSetNotifyEvent& event);
  void CheckActive() const;
  void CheckCanModify() const;
  void InvalidatePeek() const { m_peekRow = -1; }
  void RegisterSource(TDataSource* source);
  void UnregisterSource(TDataSource* source);

  TDataSetState m_state = dsInactive;
  std::vector<std::unique_ptr<TField>> m_fieldObjects;  // every field ever created
  std::vector<TField*> m_fields;                        // the fields of this opening
  int m_row = -1;                                       // current row; -1 without rows
  int m_insertRow = -1;                                 // where the inserted row goes
  bool m_bof = true;
  bool m_eof = true;
  bool m_hasRecord = false;
  bool m_modified = false;
  TRecord m_record;     // current values; the edit buffer while editing
  TRecord m_oldRecord;  // the values before editing began
  mutable int m_peekRow = -1;
  mutable TRecord m_peekRecord;
  std::vector<TDataSource*> m_sources;
};
