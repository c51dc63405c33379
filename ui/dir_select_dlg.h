// CDirSelectDlg: chooses a directory with the old-style save dialog on
// template 106, which keeps only the directory and drive lists in view. The
// file name is a fixed marker the user never sees, so OK is accepted in any
// directory; the chosen directory is the returned path without it.
//
// Extraction mode shows "extract with directories" and the make-directory
// button; directory-compression mode shows "compress with directories" and
// "delete after compressing". Both modes start in, and after OK remember,
// the one directory last chosen.
#pragma once

#include "framework/controls.h"
#include "framework/file_dialog.h"

class CDirSelectDlg : public CFileDialog {
public:
    explicit CDirSelectDlg(BOOL bCompressMode);

    // IDOK or IDCANCEL. An answer that names no directory counts as Cancel.
    INT_PTR DoModal() override;
    // The chosen directory with its trailing backslash; empty when the
    // returned path has none.
    CString GetSelectedDir() const;

    CButton m_btnDeleteAfter;
    CButton m_btnDirExtract;
    CButton m_btnDirCompress;
    CButton m_btnMakeDir;
    BOOL m_bDirExtract;    // extract with directories
    BOOL m_bDirCompress;   // compress with directories
    BOOL m_bDeleteAfter;   // delete the sources once compressed
    BOOL m_bCompressMode;  // FALSE: extraction mode

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Remembers the directory of an OK answer; an answer without one becomes
    // IDCANCEL and leaves the remembered directory alone.
    INT_PTR Conclude(INT_PTR nResult);

    afx_msg void OnMakeDir();

private:
    CString m_strInitialDir;

    DECLARE_MESSAGE_MAP()
};
