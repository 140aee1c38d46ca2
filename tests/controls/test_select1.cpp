#include <gtest/gtest.h>

#include <QTableWidget>
#include <QTest>

#include "date_edit_host.h"
#include "gui_test_util.h"
#include "select1.h"

namespace {

struct PickHost : DateEditHost<Tselect1> {
  explicit PickHost(const QStringList& codes) {
    for (const QString& code : codes) edit->AddItem(QStringLiteral("szöveg ") + code, code);
    edit->SetPopupTitle(QStringLiteral("Pontosság"));
  }
  // Opens the list with F2; act sees it while it is open. The selected row, -1 for none.
  int Open(std::function<void(TSelect1Popup*)> act = {}) {
    int selected = -2;
    OnNextModal([&selected, act](QWidget* w) {
      auto* popup = qobject_cast<TSelect1Popup*>(w);
      ASSERT_NE(popup, nullptr);
      const auto rows = popup->StrGrid->selectionModel()->selectedRows();
      selected = rows.isEmpty() ? -1 : rows.first().row();
      if (act)
        act(popup);
      else
        popup->reject();
    });
    window.activateWindow();  // back from an earlier list, as the window manager does
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    Enter();
    QTest::keyClick(edit, Qt::Key_F2);
    return selected;
  }
};

TEST(Select1, SelectsTheLastRowMatchingTheTypedBeginning) {
  const struct {
    QStringList codes;
    const char* typed;
    int selected;
  } cases[] = {
      {{"N", "H", "4"}, "H", 1},
      {{"N", "H", "4"}, "", -1},
      {{"10", "100"}, "1", 1},
      {{"N", "H", "4"}, "X", -1},
  };
  for (const auto& c : cases) {
    PickHost h(c.codes);
    h.edit->setText(QString::fromLatin1(c.typed));
    EXPECT_EQ(h.Open(), c.selected) << c.typed;
    EXPECT_EQ(h.edit->text(), QString::fromLatin1(c.typed));  // closed without a choice
  }
}

TEST(Select1, ChoosingPutsTheTrimmedCode) {
  PickHost h({QStringLiteral(" N "), QStringLiteral("H"), QStringLiteral("4")});
  QString title;
  h.Open([&title](TSelect1Popup* popup) {
    title = popup->windowTitle();
    EXPECT_EQ(popup->StrGrid->rowCount(), 3);
    EXPECT_EQ(popup->StrGrid->item(2, 1)->text(), QStringLiteral("szöveg 4"));
    popup->StrGrid->selectRow(0);
    QTest::keyClick(popup->StrGrid, Qt::Key_Return);
  });
  EXPECT_EQ(title, QStringLiteral("Pontosság"));
  EXPECT_EQ(h.edit->text(), QStringLiteral("N"));
  // A mouse release in the list takes the row under it.
  h.Open([](TSelect1Popup* popup) {
    const QRect cell = popup->StrGrid->visualRect(popup->StrGrid->model()->index(2, 0));
    QTest::mouseClick(popup->StrGrid->viewport(), Qt::LeftButton, {}, cell.center());
  });
  EXPECT_EQ(h.edit->text(), QStringLiteral("4"));
}

TEST(Select1, ButtonOpensTheList) {
  PickHost h({QStringLiteral("N")});
  EXPECT_TRUE(h.edit->Button()->objectName().startsWith(QStringLiteral("BTN")));
  EXPECT_EQ(h.edit->Button()->text(), QStringLiteral("F2"));
  bool opened = false;
  OnNextModal([&opened](QWidget* w) {
    opened = qobject_cast<TSelect1Popup*>(w) != nullptr;
    static_cast<QDialog*>(w)->reject();
  });
  h.edit->Button()->click();
  EXPECT_TRUE(opened);
}

TEST(Select1, PopupHeightAndPlace) {
  EXPECT_EQ(TSelect1Popup::HeightFor(3, 20, 192), 120);
  EXPECT_EQ(TSelect1Popup::HeightFor(9, 20, 192), 240);
  EXPECT_EQ(TSelect1Popup::HeightFor(10, 20, 192), 192);
  const QSize screen(1024, 768);
  EXPECT_EQ(TSelect1Popup::Place(QPoint(100, 200), QSize(165, 120), screen), QPoint(110, 225));
  EXPECT_EQ(TSelect1Popup::Place(QPoint(-50, -40), QSize(165, 120), screen), QPoint(0, 0));
  // Near the bottom right corner the whole popup stays on the screen.
  EXPECT_EQ(TSelect1Popup::Place(QPoint(1000, 750), QSize(165, 120), screen), QPoint(859, 648));
}

TEST(Select1, OpenedPopupLiesOnTheScreen) {
  PickHost h({QStringLiteral("N"), QStringLiteral("H"), QStringLiteral("4")});
  const QRect screen = h.window.screen()->geometry();
  h.window.move(screen.right() - h.window.width() + 5, screen.bottom() - h.window.height() + 5);
  QRect placed;
  h.Open([&placed](TSelect1Popup* popup) {
    placed = popup->frameGeometry();
    popup->reject();
  });
  EXPECT_TRUE(screen.contains(placed))
      << placed.x() << "," << placed.y() << " " << placed.width() << "x" << placed.height()
      << " in " << screen.width() << "x" << screen.height();
  EXPECT_EQ(placed.height() - (h.window.frameGeometry().height() - h.window.height()),
            h.edit->Button()->height() * 6);
}

}  // namespace
