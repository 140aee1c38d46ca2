#include "data_source.h"

#include <algorithm>

TDataSource::TDataSource(QObject* owner) : QObject(owner) {}

TDataSource::~TDataSource() {
  SetDataSet(nullptr);
  const auto links = m_links;
  for (TDataLink* link : links) link->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
  if (m_dataSet == dataSet) return;
  if (m_dataSet) m_dataSet->UnregisterSource(this);
  m_dataSet = dataSet;
  if (m_dataSet) m_dataSet->RegisterSource(this);
  NotifyLinksOfState();
}

void TDataSource::Edit() {
  if (m_autoEdit && State() == dsBrowse) m_dataSet->Edit();
}

void TDataSource::NotifyLinksOfState() {
  const auto links = m_links;
  for (TDataLink* link : links) link->UpdateState();
  if (OnStateChange) OnStateChange(this);
}

void TDataSource::DataEvent(TDataEvent event, TField* field) {
  if (event == TDataEvent::UpdateState) {
    NotifyLinksOfState();
    return;
  }
  const auto links = m_links;
  for (TDataLink* link : links) link->DataEvent(event, field);
  switch (event) {
    case TDataEvent::FieldChange:
      if (OnDataChange) OnDataChange(this, field);
      break;
    case TDataEvent::RecordChange:
    case TDataEvent::DataSetChange:
    case TDataEvent::DataSetScroll:
    case TDataEvent::LayoutChange:
      if (OnDataChange) OnDataChange(this, nullptr);
      break;
    case TDataEvent::UpdateRecord:
      if (OnUpdateData) OnUpdateData(this);
      break;
    case TDataEvent::UpdateState:
      break;
  }
}

TDataLink::~TDataLink() { SetDataSource(nullptr); }

void TDataLink::SetDataSource(TDataSource* dataSource) {
  if (m_dataSource == dataSource) return;
  if (m_dataSource) {
    auto& links = m_dataSource->m_links;
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
  }
  m_dataSource = dataSource;
  if (m_dataSource) m_dataSource->m_links.push_back(this);
  UpdateState();
}

bool TDataLink::Edit() {
  if (!m_readOnly && m_dataSource) m_dataSource->Edit();
  return m_editing;
}

void TDataLink::UpdateState() {
  const TDataSet* ds = DataSet();
  const bool active = ds && ds->Active();
  const bool editing = active && (ds->State() == dsEdit || ds->State() == dsInsert);
  if (active != m_active) {
    m_active = active;
    ActiveChanged();
  }
  if (editing != m_editing) {
    m_editing = editing;
    EditingChanged();
  }
}

void TDataLink::DataEvent(TDataEvent event, TField* field) {
  if (!m_active) return;
  switch (event) {
    case TDataEvent::FieldChange:
    case TDataEvent::RecordChange:
      RecordChanged(field);
      break;
    case TDataEvent::DataSetChange:
      DataSetChanged();
      break;
    case TDataEvent::DataSetScroll:
      DataSetScrolled();
      break;
    case TDataEvent::LayoutChange:
      LayoutChanged();
      break;
    case TDataEvent::UpdateRecord:
      UpdateData();
      break;
    case TDataEvent::UpdateState:
      UpdateState();
      break;
  }
}

void TFieldDataLink::SetFieldName(const QString& name) {
  if (m_fieldName == name) return;
  m_fieldName = name;
  UpdateField();
}

bool TFieldDataLink::CanModify() const { return !ReadOnly() && m_field && m_field->CanModify(); }

bool TFieldDataLink::Edit() {
  if (CanModify()) TDataLink::Edit();
  return Editing();
}

void TFieldDataLink::Reset() { RecordChanged(nullptr); }

void TFieldDataLink::UpdateField() {
  TDataSet* ds = DataSet();
  m_field = (Active() && ds && !m_fieldName.isEmpty()) ? ds->FindField(m_fieldName) : nullptr;
  m_modified = false;
  if (OnDataChange) OnDataChange();
}

void TFieldDataLink::ActiveChanged() {
  UpdateField();
  if (OnActiveChange) OnActiveChange();
}

void TFieldDataLink::EditingChanged() {
  if (OnEditingChange) OnEditingChange();
}

void TFieldDataLink::LayoutChanged() { UpdateField(); }

void TFieldDataLink::RecordChanged(TField* field) {
  if (field && field != m_field) return;
  m_modified = false;
  if (OnDataChange) OnDataChange();
}

void TFieldDataLink::UpdateData() {
  if (!m_modified) return;
  if (m_field && OnUpdateData) OnUpdateData();
  m_modified = false;
}
