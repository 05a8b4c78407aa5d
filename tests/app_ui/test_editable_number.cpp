// The number field: click to edit, commit on Return, focus loss and
// "endNumberEditing" after 0.3 s; Escape and bad text keep the value.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include "app/ui/kit/editable_number.h"
#include "app/ui/kit/end_number_editing.h"
#include "ui_events.h"

namespace quillon::ui {
namespace {

struct NumberFixture : ::testing::Test {
  double value = 0.6;
  int writes = 0;
  QWidget window;
  EditableNumber* number = nullptr;
  QLineEdit* elsewhere = nullptr;  // something else that takes the focus

  void SetUp() override {
    auto* layout = new QVBoxLayout(&window);
    number = new EditableNumber({[this] { return value; },
                                 [this](double v) {
                                   value = v;
                                   ++writes;
                                 }},
                                {0, 3}, 2);
    elsewhere = new QLineEdit;
    layout->addWidget(number);
    layout->addWidget(elsewhere);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  void startEditing() {
    test::click(number, {5, 5});
    ASSERT_TRUE(number->editing());
    QCoreApplication::processEvents();  // the selection comes on the next turn
  }
  void type(const QString& text) { QTest::keyClicks(number->field(), text); }
};

TEST_F(NumberFixture, AClickShowsTheValueSelectedSoTypingReplacesIt) {
  EXPECT_EQ(number->toolTip(), QStringLiteral("Click to type a value"));
  startEditing();
  EXPECT_TRUE(number->field()->hasFocus());
  EXPECT_EQ(number->field()->selectedText(), QStringLiteral("0.60"));
  EXPECT_EQ(number->width(), EditableNumber::kFieldWidth);
  type(QStringLiteral("1,5"));
  QTest::keyClick(number->field(), Qt::Key_Return);
  EXPECT_FALSE(number->editing());
  EXPECT_DOUBLE_EQ(value, 1.5);
  EXPECT_EQ(number->displayText(), QStringLiteral("1.50"));
}

TEST_F(NumberFixture, TypedTextIsReadClampedAndRounded) {
  struct Case {
    const char* typed;
    double expected;
    int writes;
  };
  for (const Case& c : {Case{"2.346", 2.35, 1}, Case{"1.234", 1.23, 1}, Case{"12 apples", 3, 1},
                        Case{"abc", 0.6, 0}, Case{"", 0.6, 0}}) {
    value = 0.6;
    writes = 0;
    startEditing();
    type(QString::fromUtf8(c.typed));
    if (*c.typed == '\0') number->field()->clear();
    QTest::keyClick(number->field(), Qt::Key_Return);
    EXPECT_FALSE(number->editing()) << c.typed;
    EXPECT_DOUBLE_EQ(value, c.expected) << c.typed;
    EXPECT_EQ(writes, c.writes) << c.typed;
  }
}

TEST_F(NumberFixture, EscapeLeavesTheValue) {
  startEditing();
  type(QStringLiteral("1.9"));
  QTest::keyClick(number->field(), Qt::Key_Escape);
  EXPECT_FALSE(number->editing());
  EXPECT_DOUBLE_EQ(value, 0.6);
  EXPECT_EQ(writes, 0);
  EXPECT_FALSE(number->field()->isVisible());
}

TEST_F(NumberFixture, TheNotificationCommitsOnlyAfterAThirdOfASecond) {
  startEditing();
  type(QStringLiteral("1.1"));
  // The click that started editing posts it too: it must not end editing.
  EndNumberEditing::post();
  EXPECT_TRUE(number->editing());
  EXPECT_EQ(writes, 0);
  QTest::qWait(EditableNumber::kNotificationGuardMs + 60);
  EndNumberEditing::post();
  EXPECT_FALSE(number->editing());
  EXPECT_DOUBLE_EQ(value, 1.1);
}

TEST_F(NumberFixture, FocusLossCommitsEvenInsideTheGuard) {
  startEditing();
  type(QStringLiteral("0.7"));
  EndNumberEditing::post();  // ignored: too early
  elsewhere->setFocus(Qt::MouseFocusReason);
  EXPECT_FALSE(number->editing());
  EXPECT_DOUBLE_EQ(value, 0.7);
  EXPECT_EQ(writes, 1);
}

TEST_F(NumberFixture, ANotificationWhileNotEditingDoesNothing) {
  EndNumberEditing::post();
  EXPECT_EQ(writes, 0);
  EXPECT_FALSE(number->editing());
}

}  // namespace
}  // namespace quillon::ui
