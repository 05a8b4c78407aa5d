#include "app/ui/kit/end_number_editing.h"

namespace quillon::ui {

EndNumberEditing& EndNumberEditing::center() {
  static EndNumberEditing c;
  return c;
}

}  // namespace quillon::ui
