#pragma once
// Ctrl-C and SIGTERM ask the run to stop, as the window's interrupt button
// does: the run looks at the request between rows and ends there.
namespace interrupts {

// Installs the handlers for SIGINT and SIGTERM.
void Install();
// True once either signal has arrived.
bool Requested();
// The signal that arrived first, 0 before one did.
int Signal();

}  // namespace interrupts
