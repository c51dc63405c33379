// The record of a temporary copy of an entry that a program was started on;
// the application deletes the copy at exit unless it was changed since.
#pragma once

#include "framework/afx.h"

class CTempFileSet : public CObject {
    DECLARE_DYNAMIC(CTempFileSet)
public:
    CTempFileSet(HINSTANCE hInstance, LPCSTR pszTempPath);
    // Does not delete the file: that is the owner's job.
    virtual ~CTempFileSet();

    // FALSE when the copy is still there but its size or write time is no
    // longer what it was when recorded: the user changed it in its program.
    // A copy that was not there when recorded (a failed extraction) has
    // nothing of the user's.
    BOOL IsAsRecorded() const;

    CString m_strTempPath;   // full path of the copy
    HINSTANCE m_hInstance;   // what ShellExecuteA returned for the started program
    ULONGLONG m_ullSize;     // the copy's size when recorded
    FILETIME m_ftWritten;    // and its last write time
    BOOL m_bStamped;         // FALSE: there was no copy when recorded
};
