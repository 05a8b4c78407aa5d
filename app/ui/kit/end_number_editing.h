#pragma once

// The app-wide notification "endNumberEditing": the panel posts it on every
// click inside it, and every number field that is being edited commits.

#include <QObject>

namespace quillon::ui {

class EndNumberEditing : public QObject {
  Q_OBJECT
 public:
  static constexpr const char* kName = "endNumberEditing";
  static EndNumberEditing& center();
  static void post() { emit center().posted(); }

 signals:
  void posted();

 private:
  EndNumberEditing() = default;
};

}  // namespace quillon::ui
