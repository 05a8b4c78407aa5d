#include "app/ui/panel/trackpad_note.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QtMath>

#include "app/ui/kit/themed_label.h"
#include "app/ui/style/fonts.h"
#include "app/ui/style/symbols.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {
namespace {

constexpr double kNoteSymbolSize = 13;

// The symbol before the missing-trackpad note, kept in the label colour.
class NoteSymbol : public QLabel {
 public:
  NoteSymbol() {
    setFixedSize(qCeil(kNoteSymbolSize), qCeil(kNoteSymbolSize));
    paint();
    connect(&Appearance::instance(), &Appearance::changed, this, [this] { paint(); });
  }

 private:
  void paint() {
    setPixmap(symbols::pixmap(QStringLiteral("rectangle.and.hand.point.up.left"), kNoteSymbolSize,
                              colors().secondaryLabel, devicePixelRatioF()));
  }
};

}  // namespace

QWidget* makeTrackpadNote() {
  auto* note = new QWidget;
  auto* row = new QHBoxLayout(note);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(6);
  auto* label = new ThemedLabel(
      QStringLiteral(
          "No trackpad connected. These settings apply when you connect a Magic Trackpad."),
      fonts::caption(), TextRole::secondary);
  label->setWordWrap(true);
  row->addWidget(new NoteSymbol, 0, Qt::AlignTop);
  row->addWidget(label, 1);
  return note;
}

}  // namespace quillon::ui
