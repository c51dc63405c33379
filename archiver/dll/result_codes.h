// Results of Unlha(): 0 is success; failures use the 0x8000 range that
// archiver libraries of this family share.
#pragma once

namespace unlha {

enum Result : int {
  kOk = 0,
  kErrDiskSpace = 0x8005,
  kErrUnknownType = 0x8008,   // method we cannot decode
  kErrFileCrc = 0x800C,       // data CRC mismatch
  kErrFileOpen = 0x800D,      // a file could not be opened
  kErrNotExist = 0x800F,      // nothing matched the names given
  kErrMakeDirectory = 0x8012,
  kErrCannotWrite = 0x8013,
  kErrHuffmanCode = 0x8014,   // damaged compressed data
  kErrHeaderBroken = 0x8017,
  kErrArcFileOpen = 0x8018,   // archive missing or unreadable
  kErrNotArcFile = 0x8019,    // not an LZH archive
  kErrCannotRead = 0x801A,
  kErrCommandName = 0x801C,   // unknown command or bad arguments
  kErrAlreadyRunning = 0x801F,
  kErrUserCancel = 0x8020,
  kErrHarcNotOpened = 0x8021,
  kErrNotSupport = 0x8023,
  kErrTmpOpen = 0x8025,       // work file could not be made
  kErrSameNameFile = 0x8028,
  kErrNotFileName = 0x802B,   // a stored name was refused
  kErrTmpCopy = 0x802C,       // the new archive could not replace the old one
};

}  // namespace unlha
