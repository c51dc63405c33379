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

    CString m_strName;        // file name without directory; empty for a directory entry
    CString m_strPath;        // relative directory path ending in '\'; empty at the root
    CString m_strReserved;    // always empty
    DWORD m_dwCompressedSize;
    DWORD m_dwOriginalSize;
    DWORD m_dwReserved;       // always 0
    CString m_strDate;        // yy/mm/dd
    CString m_strTime;        // hh:mm:ss
};
