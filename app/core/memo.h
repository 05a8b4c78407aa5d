#pragma once

#include <optional>
#include <utility>

namespace quillon::app {

// Keeps the last value computed and the inputs it came from: a slider that
// moves one setting does not recompute the curves that do not depend on it.
template <class Key, class Value>
class Memo {
 public:
  template <class Make>
  const Value& get(const Key& key, Make&& make) {
    if (key_ != key) {
      value_ = std::forward<Make>(make)();
      key_ = key;
    }
    return value_;
  }

 private:
  std::optional<Key> key_;
  Value value_{};
};

}  // namespace quillon::app
