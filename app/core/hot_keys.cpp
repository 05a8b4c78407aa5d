#include "app/core/hot_keys.h"

#include "app/core/model.h"

namespace quillon::app::HotKeys {

std::vector<std::optional<uint64_t>> registerAll(Env& env, std::function<void(Action)> perform) {
  env.sys.hotKeys.installHandler([&env, perform = std::move(perform)](uint32_t id) {
    for (const Key& key : kKeys) {
      if (key.id == id) {
        env.runLoop.after(0, [perform, action = key.action] { perform(action); });
      }
    }
  });
  std::vector<std::optional<uint64_t>> refs;
  for (const Key& key : kKeys) {
    // A failed registration is not reported: that shortcut simply does
    // nothing.
    refs.push_back(env.sys.hotKeys.registerHotKey(key.keyCode, kModifiers, kSignature, key.id));
  }
  return refs;
}

void perform(Model& model, Action action) {
  switch (action) {
    case Action::resetCurrent:
      model.resetCurrent();
      break;
    case Action::macDefault:
      model.macDefault();
      break;
    case Action::resetAll:
      model.resetAll();
      break;
  }
}

}  // namespace quillon::app::HotKeys
