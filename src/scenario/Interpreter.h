#pragma once
// What the interpreter keeps while it runs the story (scenario/Interpreter.cpp).
#include <cstdint>
#include <functional>

namespace mirel {

struct InterpreterState {
  int32_t StepResult = 0;
  int GameDepth = 0;
  // Records in a row that neither wait nor show before play is stopped as a
  // loop that cannot end, and how often events run meanwhile.
  static constexpr int32_t kMaxQuietSteps = 100000;
  static constexpr uint32_t kQuietPumpMs = 20;
  // Told the index of every record the interpreter runs (tests, tracing).
  std::function<void(int32_t)> StepHook;
  // A walk through the routes with no player: while one is set, RunStep
  // draws, sounds and waits for nothing; the walker picks the answers and is
  // told of the endings and the quit instead.
  struct RouteWalk {
    virtual ~RouteWalk() = default;
    virtual int16_t Answer(int shown) = 0;
    virtual void Ending() = 0;
    virtual void Quit() = 0;
  };
  RouteWalk* Walk = nullptr;
};

}  // namespace mirel
