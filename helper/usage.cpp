#include "helper/usage.h"

namespace quillon {

const char* usageText() {
  return "Quillon Helper - pointer curves and scroll direction for trackpad and mouse.\n"
         "Started by the Quillon app; not meant to be run by hand.\n"
         "\n"
         "  run        run in the foreground (what the background agent does)\n"
         "  preview --device trackpad|mouse --mode custom|windows\n"
         "          [--speed N --accel N | --win-speed N --scale N --match distance|share "
         "[--windows FILE]]\n"
         "          [--shape N --threshold N --max-boost N] [--dpi N] [--accel-off 1]\n"
         "             print a curve as JSON: [hand mm/s, pointer points per hand mm]\n";
}

}  // namespace quillon
