#pragma once

#include "helper/state.h"

namespace quillon {

// Watches the support folder, not config.json: the app replaces the file by
// renaming a new one over it, which a watch on the old file would not see.
// Every event of the folder leads to reloadConfig(), whose date test decides
// whether anything is applied. Leaves no watcher when the folder cannot be
// opened; the five-second timer then notices changes on its own.
void watchConfigFolder(HelperState& state);

// For the five-second timer: opens the watch again when there is none or
// when it watches a folder that has since been deleted or replaced (a watch
// stays on the folder it was opened on, even once that folder is gone).
void keepConfigWatch(HelperState& state);

}  // namespace quillon
