#pragma once

#include <iosfwd>
#include <string>

#include "app/core/env.h"

namespace quillon::app {

// "--helper WORD": "register" starts the helper agent, "unregister" stops
// it, any other word only reports; then the two status lines. Runs before
// any application object or window exists and writes nothing else, so it
// works without a display. Returns the exit status, 0.
int runHelperCommand(Env& env, const std::string& word, std::ostream& out);

// The two status lines: the agent's status number, then Helper::Status.
std::string helperStatusLines(Env& env);

// The command on a backend of its own. Delayed work (the helper's start-up
// check) is dropped: it belongs to the running app, not to this one-shot
// command.
int runHelperCommand(platform::AppBackend& backend, const std::string& word, std::ostream& out);

}  // namespace quillon::app
