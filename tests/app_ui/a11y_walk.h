#pragma once

// What a screen reader finds in a window: every interactive element the
// accessibility tree publishes for the window's visible controls, with its
// role, name, value and actions. A picker whose choices are elements of
// their own counts as its choices.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>
#include <QTextEdit>
#include <QWidget>
#include <ostream>
#include <set>
#include <vector>

namespace quillon::ui::test {

struct A11yElement {
  QAccessibleInterface* iface = nullptr;
  QAccessible::Role role = QAccessible::NoRole;
  QString name;
  bool roleKnown = false;  // a role a screen reader can operate
  bool named = false;
  bool valueBearing = false;
  bool valued = false;
  bool actionable = false;
};

struct A11yCounts {
  int elements = 0;
  int roled = 0;
  int named = 0;
  int valueBearing = 0;
  int valued = 0;
  int actionable = 0;
};

inline std::ostream& operator<<(std::ostream& os, const A11yCounts& c) {
  return os << c.elements << " elements: " << c.roled << " with a role, " << c.named
            << " with a name, " << c.valued << " of " << c.valueBearing << " with their value, "
            << c.actionable << " with an action";
}

inline bool interactiveRole(QAccessible::Role r) {
  static const std::set<QAccessible::Role> roles = {
      QAccessible::Button,       QAccessible::CheckBox,  QAccessible::RadioButton,
      QAccessible::PageTab,      QAccessible::Slider,    QAccessible::SpinBox,
      QAccessible::EditableText, QAccessible::ScrollBar, QAccessible::ComboBox,
      QAccessible::ButtonMenu,   QAccessible::Link};
  return roles.count(r) > 0;
}

// The controls a person operates, by what they are rather than by what
// they publish, so that a control publishing nothing still counts.
inline bool interactiveWidget(const QWidget* w) {
  if (qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
      qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTextEdit*>(w)) {
    return true;
  }
  for (const char* c :
       {"quillon::ui::SegmentedControl", "quillon::ui::PlainSlider", "quillon::ui::EditableNumber",
        "quillon::ui::Stepper", "quillon::ui::ScrollBar"}) {
    if (w->inherits(c)) return true;
  }
  return false;
}

inline A11yElement describeElement(QAccessibleInterface* iface, bool numberWidget) {
  A11yElement e;
  e.iface = iface;
  e.role = iface->role();
  e.name = iface->text(QAccessible::Name);
  e.roleKnown = interactiveRole(e.role);
  e.named = !e.name.trimmed().isEmpty();
  e.valueBearing = numberWidget || e.role == QAccessible::Slider ||
                   e.role == QAccessible::SpinBox || e.role == QAccessible::ScrollBar ||
                   e.role == QAccessible::EditableText;
  e.valued = (iface->valueInterface() != nullptr || iface->textInterface() != nullptr) &&
             (e.role == QAccessible::EditableText || !iface->text(QAccessible::Value).isEmpty());
  if (e.role == QAccessible::SpinBox && !iface->text(QAccessible::Value).isEmpty()) e.valued = true;
  // A disabled control offers no action until it is enabled again.
  QAccessibleActionInterface* actions = iface->actionInterface();
  e.actionable =
      (actions != nullptr && !actions->actionNames().isEmpty()) || iface->state().disabled;
  return e;
}

inline std::vector<A11yElement> interactiveElements(QWidget* window) {
  std::vector<A11yElement> out;
  QList<QWidget*> widgets = window->findChildren<QWidget*>();
  widgets.prepend(window);
  for (QWidget* w : widgets) {
    if (!interactiveWidget(w) || !w->isVisibleTo(window)) continue;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    if (iface == nullptr) {
      out.push_back(A11yElement{});
      continue;
    }
    std::vector<A11yElement> choices;
    for (int i = 0; i < iface->childCount(); ++i) {
      QAccessibleInterface* c = iface->child(i);
      if (c && c->object() == nullptr && interactiveRole(c->role())) {
        choices.push_back(describeElement(c, false));
      }
    }
    if (!choices.empty()) {
      out.insert(out.end(), choices.begin(), choices.end());
    } else {
      out.push_back(describeElement(iface, w->inherits("quillon::ui::EditableNumber")));
    }
  }
  return out;
}

inline A11yCounts countElements(const std::vector<A11yElement>& elements) {
  A11yCounts c;
  for (const A11yElement& e : elements) {
    ++c.elements;
    c.roled += e.roleKnown ? 1 : 0;
    c.named += e.named ? 1 : 0;
    c.valueBearing += e.valueBearing ? 1 : 0;
    c.valued += e.valueBearing && e.valued ? 1 : 0;
    c.actionable += e.actionable ? 1 : 0;
  }
  return c;
}

// Every element can be operated without sight: a known role, a name, an
// action, and a value where it carries one.
inline void expectEveryElementComplete(const std::vector<A11yElement>& elements) {
  for (const A11yElement& e : elements) {
    SCOPED_TRACE(e.name.toStdString());
    EXPECT_TRUE(e.roleKnown) << "role " << e.role;
    EXPECT_TRUE(e.named);
    EXPECT_TRUE(e.actionable);
    if (e.valueBearing) {
      EXPECT_TRUE(e.valued);
    }
  }
}

}  // namespace quillon::ui::test
