#pragma once

#include "data_source.h"
#include "exit_edit.h"

// A plain edit bound to a dataset field, as a name, a remark or a code is typed: every
// character goes in as it is typed. While focused and editable it shows the field's edit text,
// otherwise its display text, in the field's alignment; it takes the field's edit mask and, for
// a text field, its size as the longest text. Keys that change the text put the dataset into
// edit state first and beep when it cannot; characters the field does not take beep; Esc shows
// the field's value again. Leaving writes the text into the field; a text the field cannot take
// is shown as an error and keeps the focus.
class TDBEdit : public TExitEdit {
  Q_OBJECT

 public:
  explicit TDBEdit(QWidget* owner = nullptr);
  ~TDBEdit() override;

  TDataSource* DataSource() const { return m_dataLink.DataSource(); }
  void SetDataSource(TDataSource* dataSource);
  const QString& DataField() const { return m_dataLink.FieldName(); }
  void SetDataField(const QString& name);
  bool ReadOnly() const { return m_dataLink.ReadOnly(); }
  void SetReadOnly(bool readOnly);
  TField* Field() const { return m_dataLink.Field(); }

 protected:
  void Entered() override;
  Leave Leaving() override;
  void Left() override;
  void keyPressEvent(QKeyEvent* event) override;
  // Puts the dataset into edit state for a change of the text; beeps and returns false when
  // the edit or its dataset cannot change.
  bool StartEditing();

 private:
  void DataChange();
  void UpdateData();
  void UpdateReadOnly();
  void TakeField();

  TFieldDataLink m_dataLink;
  const TField* m_takenField = nullptr;
};

// Whether a field takes a character (numbers: digits and signs, floats also the decimal
// separator and an exponent; other fields every character).
bool IsValidFieldChar(const TField* field, QChar c);
