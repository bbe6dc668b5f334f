// Termination signals (TERM, INT, HUP) turned into a request to stop, which
// the program polls where it can stop cleanly: a handler only records the
// signal, and a watcher thread runs what must not wait for a poll, such as
// closing a dialog another process shows.
#pragma once

// Installs the handlers and starts the watcher; the first call counts.
void CatchStopSignals();

// The first stop signal received, or 0.
int StopSignal();

// Runs `action` on the watcher thread when a stop signal arrives (at once,
// if one already has). Up to a few actions may be registered.
void WhenStopSignalled(void (*action)());

// Kills the program's child processes, such as a dialog's: what waits for
// them goes on.
void EndChildProcesses();
