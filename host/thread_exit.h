#pragma once

namespace wt {

// Makes the process's exit wait, briefly, for its other threads to finish.
//
// QtCore deletes the key of its per-thread data among its own exit
// handlers. Qt's worker threads (the D-Bus connection thread, the global
// thread pool's threads) are stopped by exit handlers of their own, and a
// stopped thread that has not quite finished when QtCore deletes that key
// never frees its thread data: a leak at every few hundredth exit. Called
// before QApplication exists, the wait runs after the handlers that stop
// those threads and before QtCore's own.
void AwaitThreadsAtExit();

} // namespace wt
