#pragma once

#include <QSize>

// The size of the screen the forms are fitted to (the primary screen).
QSize ScreenSize();

// For tests: while one lives, ScreenSize() answers size.
class FakeScreenSize {
 public:
  explicit FakeScreenSize(QSize size);
  ~FakeScreenSize();
  FakeScreenSize(const FakeScreenSize&) = delete;
  FakeScreenSize& operator=(const FakeScreenSize&) = delete;

 private:
  QSize m_previous;
};
