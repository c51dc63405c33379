// The framework's exceptions. They are thrown by pointer, as
// `throw new CArchiveException(...)`; whoever catches one reports it if it
// wishes and then calls Delete(). The settings accessor is the only thrower.
#pragma once

#include <windows.h>

#include "framework/cstring.h"
#include "framework/object.h"

// The archive exception's texts: AFX_IDP_ARCH_NONE + cause; none and generic
// share the general one.
#define AFX_IDP_ARCH_NONE 0xF1A0

class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    virtual ~CException() {}
    void Delete() { delete this; }

    // Copies the text for the user into lpszError (always terminated).
    virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);
    // Shows that text through AfxMessageBox; nMessageID is used when there is none.
    virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);

protected:
    CException() {}
};

class CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum { none, generic, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };

    explicit CArchiveException(int cause = none, LPCSTR lpszArchiveName = NULL)
        : m_cause(cause), m_strFileName(lpszArchiveName) {}

    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) override;

    int m_cause;
    CString m_strFileName;
};

[[noreturn]] void AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName = NULL);
