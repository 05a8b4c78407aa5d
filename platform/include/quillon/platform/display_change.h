#pragma once

#include <functional>
#include <memory>
#include <utility>

namespace quillon::platform {

// Core Graphics calls its display reconfiguration callback once for each
// display that a change affects: each with the begin flag before the
// change, then each again after it. A display that comes with the change
// has no begin call and one that goes may have no end call, so counting
// calls does not find a change's end. The end calls of one change come
// together, in one turn of the main run loop: the first of them posts one
// end to the loop's next turn, and the others join it. The core sees one
// begin and one end per change.
class ReconfigurationCoalescer {
 public:
  // Runs a function on the main run loop, after the calls under way.
  using Post = std::function<void(std::function<void()>)>;
  using Deliver = std::function<void(bool beginning)>;

  ReconfigurationCoalescer(Post post, Deliver deliver)
      : post_(std::move(post)), state_(std::make_shared<State>(State{std::move(deliver)})) {}

  // One call of Core Graphics' callback. A posted end that runs after this
  // object is gone does nothing.
  void onDisplayCallback(bool beginning) {
    State& s = *state_;
    if (beginning) {
      if (!s.changing) {
        s.changing = true;
        s.deliver(true);
      }
      return;
    }
    if (s.endPosted) return;
    s.endPosted = true;
    post_([weak = std::weak_ptr<State>(state_)] {
      const std::shared_ptr<State> state = weak.lock();
      if (!state) return;
      state->endPosted = false;
      state->changing = false;
      state->deliver(false);
    });
  }

 private:
  struct State {
    Deliver deliver;
    bool changing = false;
    bool endPosted = false;
  };
  Post post_;
  std::shared_ptr<State> state_;
};

}  // namespace quillon::platform
