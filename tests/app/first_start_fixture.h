#pragma once

#include <memory>

#include "main_form.h"
#include "system_db_fixture.h"

// The main form after a first start on an empty first company, in a program directory of the
// test's own (OwnProgramDir, m_prog): the creation asked for and answered yes, the status line
// naming the first company, the form the active window, the answers cleared.
class FirstStartTest : public SystemDbTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Starts it in m_form; false when the first company was not open within ten seconds.
  bool StartFirstCompany();

  QString m_prog;
  std::unique_ptr<TMainForm> m_form;
};
