// The interface of unlha32.dll: its exported functions and the entry record
// its searches fill. The one description both sides use: the library defines
// these functions (the compiler checks each definition against the
// declaration here), and the front end, which loads the library by name and
// never links to it, takes its function pointer types from the same
// declarations. Nothing else of the library is visible to the front end.
#pragma once

#include <windows.h>

#include <stddef.h>

#define UNLHA_DLL_NAME "unlha32.dll"

typedef HANDLE HARC;

// The entry record, 560 bytes, little-endian, no padding between fields.
#pragma pack(push, 1)
struct UNLHA_ENTRY_RECORD {
  DWORD dwOriginalSize;    // @0   original size in bytes
  DWORD dwCompressedSize;  // @4   compressed size in bytes
  DWORD dwCrc;             // @8   CRC-16 of the data
  UINT uFlag;              // @12  1 for a directory entry, else 0
  UINT uOSType;            // @16  0 MS-DOS, 2 Unix, 1 other
  WORD wRatio;             // @20  per mille of compressed to original size
  WORD wDate;              // @22  MS-DOS date: bits 0-4 day, 5-8 month, 9-15 years since 1980
  WORD wTime;              // @24  MS-DOS time: bits 0-4 seconds/2, 5-10 minute, 11-15 hour
  char szFileName[513];    // @26  stored name, system code page, '\' separators, zero-terminated
  char abReserved[3];      // @539
  char szAttribute[8];     // @542 e.g. "--a-", a directory "d---"
  char szMode[8];          // @550 method, e.g. "-lh5-"
  char abPadding[2];       // @558
};
#pragma pack(pop)

#ifdef __cplusplus
static_assert(sizeof(UNLHA_ENTRY_RECORD) == 560, "entry record is 560 bytes");
static_assert(offsetof(UNLHA_ENTRY_RECORD, wDate) == 22, "date at 22");
static_assert(offsetof(UNLHA_ENTRY_RECORD, wTime) == 24, "time at 24");
static_assert(offsetof(UNLHA_ENTRY_RECORD, szFileName) == 26, "name at 26");
static_assert(offsetof(UNLHA_ENTRY_RECORD, szMode) == 550, "method at 550");
extern "C" {
#endif

// The library's version (22 and later understand every command line the
// front end builds).
WORD WINAPI UnlhaGetVersion(void);
// Non-zero while another command runs.
BOOL WINAPI UnlhaGetRunning(void);
BOOL WINAPI UnlhaSetCursorMode(BOOL cursor_mode);
// Runs one command line; 0 on success. `output` receives the command's text,
// zero-terminated, cut to `size` bytes.
int WINAPI Unlha(HWND owner, LPCSTR command_line, LPSTR output, DWORD size);
// Non-zero when `archive` is a file the library can handle (mode 2: every
// entry's data is tested too).
BOOL WINAPI UnlhaCheckArchive(LPCSTR archive, int mode);
// A search handle over the archive's entries; NULL on failure. A damaged
// archive opens with the entries before the damage, and the user is told,
// unless `mode` holds UNLHA_OPEN_NO_DAMAGE_BOX (a second look at an archive
// the user has already been told about).
#define UNLHA_OPEN_NO_DAMAGE_BOX 0x00800000
HARC WINAPI UnlhaOpenArchive(HWND owner, LPCSTR archive, DWORD mode);
// 0 when `record` was filled, -1 when there is no (further) entry.
int WINAPI UnlhaFindFirst(HARC archive, LPCSTR wildcard, UNLHA_ENTRY_RECORD* record);
int WINAPI UnlhaFindNext(HARC archive, UNLHA_ENTRY_RECORD* record);
int WINAPI UnlhaCloseArchive(HARC archive);
// Whole sizes of the entry the last search delivered (the record's fields
// read 0xFFFFFFFF beyond 4 GiB); TRUE when `size` was filled.
BOOL WINAPI UnlhaGetOriginalSizeEx(HARC archive, ULONGLONG* size);
BOOL WINAPI UnlhaGetCompressedSizeEx(HARC archive, ULONGLONG* size);
// Modification time of the entry the last search delivered, as UTC, to the
// second or finer where the header keeps it (the record's MS-DOS time keeps
// even seconds only); TRUE when `last_write` was filled.
BOOL WINAPI UnlhaGetWriteTimeEx(HARC archive, FILETIME* last_write);
// Facts of the entry the last search delivered that the record leaves out.
// Its header level, 0 to 3; -1 when no entry was delivered.
int WINAPI UnlhaGetHeaderLevel(HARC archive);
// The id of the system that made it, as its header stores it ('M' MS-DOS,
// 'U' Unix, 'W' Windows NT, 'w' Windows 95...); -1 when no entry was
// delivered.
int WINAPI UnlhaGetOSId(HARC archive);
// Its exact path in UTF-16 with '\' separators: the Unicode name where the
// archive stores one, which the record's code page 932 name may only spell
// as "<U+XXXX>". Returns the path's length in characters and writes it,
// zero-terminated, when it fits in `size` characters; 0 when no entry was
// delivered.
int WINAPI UnlhaGetExactName(HARC archive, LPWSTR name, DWORD size);
BOOL WINAPI UnlhaConfigDialog(HWND owner, LPSTR scratch, int mode);

#ifdef __cplusplus
}  // extern "C"
#endif
