#pragma once
// The libraries' helper threads (the X event reader, the session bus) are
// started detached: asking one to stop returns before its thread is gone,
// so it may still be leaving while the process ends. LeakSanitizer's check
// at the very end stops every thread and can crash on one half gone. Under
// the sanitizers the process therefore waits, as the last of its own exit
// steps, until it is alone (a bounded while, so a stuck thread cannot hang
// the end); in other builds this does nothing.
namespace mirel {

// To be called before the libraries start their threads: exit steps run in
// the reverse order of their registration, and this one must come after
// theirs.
void AwaitHelperThreadsAtExit();

}  // namespace mirel
