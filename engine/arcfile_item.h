// One entry of an archive as the listing delivers it.
#pragma once

#include "framework/afx.h"

class CArcfileItem : public CObject {
    DECLARE_DYNAMIC(CArcfileItem)
public:
    CArcfileItem();
    virtual ~CArcfileItem();

    // The name by which archive operations address the entry: directory path,
    // a backslash when the path lacks one, then the name (DOC\IMAGES\A.BMP).
    CString GetFullPath() const;

    // The sizes whole: the 32-bit members hold the low half of anything
    // beyond 4 GiB, the ...High members the rest.
    ULONGLONG GetCompressedSize() const;
    ULONGLONG GetOriginalSize() const;
    // The time stamp as one number that orders by time, to the second.
    ULONGLONG GetTimeValue() const;

    CString m_strName;        // file name without directory; empty for a directory entry
    CString m_strPath;        // relative directory path ending in '\'; empty at the root
    DWORD m_dwCompressedSize;
    DWORD m_dwOriginalSize;
    DWORD m_dwCompressedSizeHigh;  // upper halves of sizes beyond 4 GiB, else 0
    DWORD m_dwOriginalSizeHigh;
    CString m_strDate;        // yy/mm/dd
    CString m_strTime;        // hh:mm:ss
    DWORD m_dwDosDateTime;    // the time stamp: MS-DOS date (high word) and time (low word)
    int m_nSecond;            // its second exactly (MS-DOS times keep even seconds only)
};
