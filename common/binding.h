#pragma once

#include <functional>
#include <utility>

namespace quillon {

// A value binding: how a control reads and writes one setting. The model
// hands these out; a control only calls them, so it holds no settings logic.
template <class T>
struct Binding {
  std::function<T()> get;
  std::function<void(T)> set;

  T operator()() const { return get(); }
  void operator()(T value) const { set(std::move(value)); }
};

}  // namespace quillon
