#include "platform/DialogHost.h"

#include <stdexcept>

namespace mirel {

DialogControl* DialogModel::Find(const std::string& controlName) {
  for (auto& c : controls)
    if (c.name == controlName) return &c;
  return nullptr;
}

const DialogControl* DialogModel::Find(const std::string& controlName) const {
  for (auto& c : controls)
    if (c.name == controlName) return &c;
  return nullptr;
}

DialogControl& DialogModel::At(const std::string& controlName) {
  if (DialogControl* c = Find(controlName)) return *c;
  throw std::out_of_range("no control " + controlName + " in " + name);
}

}  // namespace mirel
