#include "ui/test_result_dlg.h"

#include "app/archive_doc.h"
#include "res/resource.h"

namespace {

// The text of one kind of fault: the nth line of IDS_TEST_FAULTS.
CString FaultText(TestFault nFault) {
    CString all;
    all.LoadString(IDS_TEST_FAULTS);
    int nStart = 0;
    for (int i = 0; i < (int)nFault && nStart >= 0; i++) {
        nStart = all.Find('\n', nStart);
        if (nStart >= 0) nStart++;
    }
    if (nStart < 0) return CString();
    int nEnd = all.Find('\n', nStart);
    return nEnd < 0 ? all.Mid(nStart) : all.Mid(nStart, nEnd - nStart);
}

BOOL IsHeaderFault(TestFault nFault) { return nFault == TEST_FAULT_HEADER || nFault == TEST_FAULT_ARCHIVE_CUT; }

}  // namespace

CTestResultDlg::CTestResultDlg(const CTestReport& report, CWnd* pParent)
    : CDialog(IDD_TEST_RESULT, pParent), m_report(report) {}

CString CTestResultDlg::SummaryText(const CTestReport& report) {
    CString format, text, verdict;
    format.LoadString(IDS_TEST_COUNT);
    text.Format(format, report.m_nTested);
    if (report.m_nFaulty > 0) {
        format.LoadString(IDS_TEST_DAMAGED);
        verdict.Format(format, report.m_nFaulty);
    } else if (report.m_findings.empty()) {
        verdict.LoadString(IDS_TEST_ALL_SOUND);
    }
    return verdict.IsEmpty() ? text : text + "\r\n" + verdict;
}

// "name: what is wrong" per damaged entry; a damaged header by its offset.
CString CTestResultDlg::FindingsText(const CTestReport& report) {
    CString text;
    int nEntries = 0;
    for (const CTestFinding& finding : report.m_findings) {
        CString line;
        if (IsHeaderFault(finding.nFault)) {
            line.Format(FaultText(finding.nFault), (LPCSTR)finding.strWhat);
        } else {
            line = finding.strWhat + ": " + FaultText(finding.nFault);
            nEntries++;
        }
        text += line + "\r\n";
    }
    // The library's output holds only so many lines.
    if (report.m_nFaulty > nEntries) {
        CString format, more;
        format.LoadString(IDS_TEST_MORE);
        more.Format(format, report.m_nFaulty - nEntries);
        text += more + "\r\n";
    }
    return text;
}

BOOL CTestResultDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ::SetDlgItemTextA(m_hWnd, IDC_TEST_SUMMARY, SummaryText(m_report));
    ::SetDlgItemTextA(m_hWnd, IDC_TEST_FINDINGS, FindingsText(m_report));
    // OK has the focus: the findings field would start all selected.
    ::SetFocus(::GetDlgItem(m_hWnd, IDOK));
    return FALSE;
}

void TestAndShowResult(CArchiveDoc* pDoc, const CStringArray& names, CWnd* pParent) {
    CTestReport report;
    if (!pDoc->TestEntries(names, &report) && (report.m_nRuns == 0 || report.m_bCancelled)) return;
    CTestResultDlg dlg(report, pParent);
    dlg.DoModal();
}
