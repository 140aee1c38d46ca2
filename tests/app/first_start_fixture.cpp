#include "first_start_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

void FirstStartTest::SetUp() {
  SystemDbTest::SetUp();
  m_prog = OwnProgramDir();
}

void FirstStartTest::TearDown() {
  m_form.reset();
  SystemDbTest::TearDown();
}

bool FirstStartTest::StartFirstCompany() {
  m_ui.Answer(mbYes);  // create the databases
  m_form = std::make_unique<TMainForm>(QStringList{"zarn"});
  m_form->show();
  const bool started =
      QTest::qWaitFor([&] { return m_form->PanelStatus->text() == kFirstCompanyLine; }, 10000);
  QApplication::setActiveWindow(m_form.get());
  m_ui.Clear();
  return started;
}
