// CTestResultDlg: what testing the archive found: how many files were tested
// and each damaged one with what is wrong, in a field that can be copied.
#pragma once

#include "engine/test_report.h"
#include "framework/collections.h"
#include "framework/dialog.h"

class CArchiveDoc;

class CTestResultDlg : public CDialog {
public:
    CTestResultDlg(const CTestReport& report, CWnd* pParent = NULL);

    BOOL OnInitDialog() override;

    // The dialog's two texts, built from the report.
    static CString SummaryText(const CTestReport& report);
    static CString FindingsText(const CTestReport& report);

private:
    const CTestReport& m_report;
};

// Tests the named entries of the document's archive (all for none) under the
// library's progress window, then shows what it found; nothing more when the
// library stopped before testing (it said why) or the user cancelled.
void TestAndShowResult(CArchiveDoc* pDoc, const CStringArray& names, CWnd* pParent);
