#pragma once
// Start-up and shutdown of the main window (app/Startup.cpp).
namespace mirel {

class Main_Form;

struct StartupState {
  bool DataReady = false;
  bool OpeningUnskipped = false;
  bool Unloaded = false;
  bool InIdle = false;  // in the idle loop: nothing runs but the menus
};

// Runs the program on an existing main window: the load sequence, play,
// then the unload sequence. Returns the exit status (0 after a normal end).
int RunProgram(Main_Form& form);

}  // namespace mirel
