#pragma once
// For --stats: how long the start took and how much memory the run needed.
namespace mirel {

class TimingStats {
 public:
  // At every pump: notes when the title screen first waits for the player.
  void Pumped(bool titleShown);
  // The window's first painted frame, counted from the process's start.
  void FirstFrame();
  void Print() const;

 private:
  double titleMs_ = -1;
  double firstFrameMs_ = -1;
};

}  // namespace mirel
