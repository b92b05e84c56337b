#pragma once

// Faults injected into the system calls of the file layer, for the probe
// only: its link wraps pwrite, ftruncate, fsync, unlink and rename
// (ld --wrap), so the program's own code stays as it is.
//
// A fault is "<call>:<n>:<action>", with n counting that call from 1:
//   fail         the n-th call fails with EIO, later ones run
//   fail-always  the n-th call and every later one fail with EIO
//   crash        the n-th call runs, then the process prints "crash" and
//                ends at once, as if killed
// Returns false for a fault it cannot read.
bool ArmFault(const char* fault);
