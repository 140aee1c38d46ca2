#pragma once

#include <QObject>
#include <functional>
#include <vector>

#include "data_set.h"

class TDataLink;

// Connects a dataset to data-aware controls and grids: it passes the dataset's notifications
// on to its data links and lets them put the dataset into edit state (AutoEdit).
class TDataSource : public QObject {
 public:
  explicit TDataSource(QObject* owner = nullptr);
  ~TDataSource() override;

  TDataSet* DataSet() const { return m_dataSet; }
  void SetDataSet(TDataSet* dataSet);
  bool AutoEdit() const { return m_autoEdit; }
  void SetAutoEdit(bool autoEdit) { m_autoEdit = autoEdit; }
  TDataSetState State() const { return m_dataSet ? m_dataSet->State() : dsInactive; }
  // Puts a browsing dataset into edit state when AutoEdit allows it.
  void Edit();

  // Field is the changed field, or nullptr when the whole record or the rows changed.
  std::function<void(TDataSource*, TField*)> OnDataChange;
  std::function<void(TDataSource*)> OnStateChange;
  std::function<void(TDataSource*)> OnUpdateData;

 private:
  friend class TDataSet;
  friend class TDataLink;
  void DataEvent(TDataEvent event, TField* field);
  void NotifyLinksOfState();

  TDataSet* m_dataSet = nullptr;
  bool m_autoEdit = true;
  std::vector<TDataLink*> m_links;
};

// A control's or grid's view of a data source. Subclasses react to the notifications.
class TDataLink {
 public:
  TDataLink() = default;
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;
  virtual ~TDataLink();

  TDataSource* DataSource() const { return m_dataSource; }
  void SetDataSource(TDataSource* dataSource);
  TDataSet* DataSet() const { return m_dataSource ? m_dataSource->DataSet() : nullptr; }
  bool Active() const { return m_active; }    // the dataset is open
  bool Editing() const { return m_editing; }  // the dataset is editing or inserting
  bool ReadOnly() const { return m_readOnly; }
  void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
  // Puts the dataset into edit state through the data source; true when it is editing.
  virtual bool Edit();
  // Makes the control write its change into the record now, as Post would (a control
  // that is left writes back at once, so the record holds what was typed).
  void UpdateRecord() { UpdateData(); }

 protected:
  virtual void ActiveChanged() {}
  virtual void EditingChanged() {}
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  virtual void DataSetScrolled() { DataSetChanged(); }
  virtual void LayoutChanged() { DataSetChanged(); }
  virtual void RecordChanged(TField* field) {}
  virtual void UpdateData() {}

 private:
  friend class TDataSource;
  void DataEvent(TDataEvent event, TField* field);
  void UpdateState();

  TDataSource* m_dataSource = nullptr;
  bool m_active = false;
  bool m_editing = false;
  bool m_readOnly = false;
};

// The link of a control bound to one field.
class TFieldDataLink : public TDataLink {
 public:
  const QString& FieldName() const { return m_fieldName; }
  void SetFieldName(const QString& name);
  TField* Field() const { return m_field; }
  bool CanModify() const;
  bool Edit() override;
  // The control's text changed; it will be asked to write it (OnUpdateData) before Post.
  void Modified() { m_modified = true; }
  bool IsModified() const { return m_modified; }
  // Shows the field's value again, dropping the control's change.
  void Reset();

  std::function<void()> OnDataChange;     // show the field's value
  std::function<void()> OnEditingChange;  // the dataset began or ended editing
  std::function<void()> OnUpdateData;     // write the control's text into the field
  std::function<void()> OnActiveChange;   // the dataset opened or closed
  // The control is being destroyed: the link, detached from its dataset only in its own
  // destructor, must not call into it meanwhile.
  void ClearHandlers() {
    OnDataChange = nullptr;
    OnEditingChange = nullptr;
    OnUpdateData = nullptr;
    OnActiveChange = nullptr;
  }

 protected:
  void ActiveChanged() override;
  void EditingChanged() override;
  void LayoutChanged() override;
  void RecordChanged(TField* field) override;
  void UpdateData() override;

 private:
  void UpdateField();

  QString m_fieldName;
  TField* m_field = nullptr;
  bool m_modified = false;
};
