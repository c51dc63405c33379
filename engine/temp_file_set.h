// The record of a temporary copy of an entry that a program was started on;
// the application deletes the copy at exit.
#pragma once

#include "framework/afx.h"

class CTempFileSet : public CObject {
    DECLARE_DYNAMIC(CTempFileSet)
public:
    CTempFileSet(HINSTANCE hInstance, LPCSTR pszTempPath);
    // Does not delete the file: that is the owner's job.
    virtual ~CTempFileSet();

    CString m_strTempPath;   // full path of the copy
    HINSTANCE m_hInstance;   // what ShellExecuteA returned for the started program
};
