#pragma once

// Faults injected into the system calls of the file layer, for the probe
// only: its link wraps pwrite, ftruncate, fsync, unlink, rename, mkdir, fstat
// and fsetxattr (ld --wrap), so the program's own code stays as it is.
//
// A fault is "<call>:<n>:<action>", with n counting that call from 1:
//   fail         the n-th call fails with EIO, later ones run
//   fail-always  the n-th call and every later one fail with EIO
//   interrupt    the n-th call fails with EINTR before doing anything, as
//                when a signal arrives
//   short        the n-th call (pwrite) writes only the first half of its bytes
//   crash        the n-th call runs, then the process prints "crash" and
//                ends at once, as if killed
//   halt         the process prints "crash" and ends before the n-th call
//   swap         the n-th call runs, then the entry given to SetSwap is
//                renamed over the path given with it, as another program would
//   change       the n-th call runs, then a line is appended to that path
//                where it is, as another program would
// Several faults may be armed, one per call and n. Returns false for a fault
// it cannot read.
bool ArmFault(const char* fault);

// What a "swap" fault renames, and where to (or a "change" fault appends to).
void SetSwap(const char* entry, const char* path);

// From now on each wrapped call but fstat that succeeds writes a line to
// stderr: its name and the paths it worked on (the open file's for a call on
// a descriptor), so that a test sees the order of a save's calls.
void TraceCalls();
