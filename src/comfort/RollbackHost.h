#pragma once
// What going back through the story needs of the game; the main window's
// side of it lives beside the window (its RollbackAdapter).
#include <cstddef>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/Text.h"

namespace mirel {


class RollbackHost {
 public:
  virtual ~RollbackHost() = default;

  // Everything the play is at the start of a record: the play variables,
  // the pictures and controls, the song. Unchanged pictures are shared
  // with the state taken before.
  struct State {
    virtual ~State() = default;
    // The memory blocks it holds, for counting shared ones once.
    virtual void Blocks(std::vector<std::pair<const void*, size_t>>& out) const = 0;
  };
  virtual std::shared_ptr<const State> Capture(const State* before) = 0;
  virtual void Restore(const State& s) = 0;

  enum class Wait { None, Click, Choice, Other };
  virtual Wait Waiting() const = 0;
  // In the story itself: not the title, the gallery, a dialog or the ending.
  virtual bool InStory() const = 0;
  // The record about to run is one a slot may resume at (a save point or
  // the scenario's first record).
  virtual bool AtSavePoint() const = 0;

  // Runs on out of sight, silent and without waiting, or ends doing so and
  // shows the screen once.
  virtual void Quiet(bool on) = 0;
  // Leaves the waits to the game's loop, which starts the next record.
  [[noreturn]] virtual void Unwind() = 0;
  // Ends the click wait / picks answer `index` of the open choice.
  virtual void Advance() = 0;
  virtual void Pick(int index) = 0;
  virtual int Picked() const = 0;
  // Yes or no from the player.
  virtual bool Confirm(const Text& question) = 0;
  // A brief line for the player.
  virtual void Note(const std::string& text) = 0;

  // The play as a slot would keep it, resuming at the record about to run.
  virtual std::array<Text, 4> Portable() const = 0;
  // What the slot's lines leave out of the point, and putting it back once
  // the loaded play has started.
  virtual Text PortableExtras() const = 0;
  virtual void RestoreExtras(const Text& extras) = 0;
  // Loads such lines as a slot is loaded; does not return inside a game.
  virtual void Load(const std::array<Text, 4>& snapshot) = 0;
  // The title screen waits for the player.
  virtual bool OnTitle() const = 0;
  // Where this story's quick save is kept; empty when nowhere.
  virtual std::string QuickSavePath() = 0;
};


}  // namespace mirel
