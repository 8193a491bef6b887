#pragma once
// This process's resident memory, in KiB: now and at its peak. The embedded
// engine runs inside the process, so its page cache counts too.

// The peak since the process started or since the last ResetPeakRss.
long PeakRssKb();
long CurrentRssKb();
// Starts a new peak from the current size (Linux 4.0 and later); false where the
// kernel does not allow it, and the peak then stays the process's whole one.
bool ResetPeakRss();
// Bytes the C++ heap holds for the program now, in KiB. The engine keeps its
// page cache and pools in memory of its own, so this is the program's share.
long HeapInUseKb();
