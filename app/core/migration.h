#pragma once

#include "app/core/env.h"

namespace quillon::app::Migration {

// Removes and moves what older builds left behind, once per normal start,
// before anything is read. Every step ignores its own failure and the next
// one runs regardless.
void perform(Env& env);

}  // namespace quillon::app::Migration
