#pragma once
// Ctrl-C, SIGTERM and SIGHUP ask the run to stop, as the window's interrupt button
// does: the run looks at the request between rows and ends there.
namespace interrupts {

// Installs the handlers for SIGINT, SIGTERM and SIGHUP. The first signal is answered
// at once on standard error; `terminal`: it first clears the progress line.
void Install(bool terminal);
// True once either signal has arrived.
bool Requested();
// The signal that arrived first, 0 before one did.
int Signal();

}  // namespace interrupts
