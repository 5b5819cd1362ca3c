#pragma once
// A logout (SIGHUP), a kill (SIGTERM) or Ctrl+C (SIGINT) asks the game to
// end as the window's close box does, with the unload run on the main loop.
// The handler only notes the signal and writes it into a pipe; once the
// first has come, the signals take their default action again, so a second
// one ends the program at once, even in the middle of the unload.
namespace mirel {

class EndSignals {
 public:
  // Catches the three signals, except one the program was started to
  // ignore (nohup).
  static void Install();
  // The pipe's end that becomes readable when a signal has come; -1 when
  // there is none.
  static int Fd();
  // True once for every signal that came since the last call.
  static bool Take();
  // The first signal that came, 0 for none.
  static int Received();
  // Ends the process by that signal, as its default action would, so that
  // whoever started the game sees how it ended. Returns when none came.
  static void EndByReceived();
};

}  // namespace mirel
