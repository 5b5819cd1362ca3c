#pragma once
// What the scenario commands keep between records (scenario/Commands.cpp).


namespace mirel {

struct CommandsState {
  bool jumpFound_ = false;  // the last JumpToBlock found its block
};

}  // namespace mirel
