#pragma once

#include "db_edit.h"

// An amount edit bound to a dataset field: a plain data-aware edit that, on a number field,
// takes the amount keys ("c" clears to 0, "k" opens the calculator, "," and "." type the
// decimal separator). On a text or date field it behaves as the plain edit.
class TDBFTEDit : public TDBEdit {
  Q_OBJECT

 public:
  explicit TDBFTEDit(QWidget* owner = nullptr);

  // On a number field: wide enough to show an amount up to a thousand million whole.
  QSize minimumSizeHint() const override;
  QSize sizeHint() const override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};
