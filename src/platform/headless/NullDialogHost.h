#pragma once
#include "platform/DialogHost.h"

namespace mirel {

// Keeps nothing on screen: for tests and headless runs.
class NullDialogHost final : public DialogHost {
 public:
  void ShowDialog(const DialogModel&) override {}
  void UpdateDialog(const DialogModel&) override {}
  void CloseDialog(const DialogModel&) override {}
};

}  // namespace mirel
