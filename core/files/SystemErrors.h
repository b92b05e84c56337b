#pragma once

#include "Exceptions.h"

// Turns a platform error number (errno) into the file layer's failure, in the
// Win32 numbering of the code table:
//   ENOENT                      2 when the missing thing is the file itself,
//                               3 when a folder on the path is missing
//   ENOTDIR                     3
//   EMFILE, ENFILE              4
//   EACCES, EPERM, EROFS, EISDIR 5
//   ETXTBSY, EBUSY              32
//   ENOSPC, EDQUOT, EFBIG       112
//   EEXIST                      183
// Any other number keeps its own value with the message "I/O error <n>"; it
// never goes through the code table, so errno 5 (EIO) reads "I/O error 5" and
// not "File access denied".
enum class MissingEntry { File, Folder };

EInOutError InOutErrorFromErrno(int errorNumber, MissingEntry missing = MissingEntry::Folder);
