#include "app/core/no_windows.h"

#include <QCoreApplication>

namespace quillon::app {

void NoWindows::terminateApp(int status) {
  QCoreApplication::exit(status);
}

}  // namespace quillon::app
