#include "engine/test_report.h"

#include <stdlib.h>
#include <string.h>

namespace {

struct FaultWord {
    const char* pszWord;
    TestFault nFault;
};

const FaultWord kFaultWords[] = {
    {"CRC", TEST_FAULT_CRC},           {"CUT", TEST_FAULT_CUT},
    {"DAMAGED", TEST_FAULT_DAMAGED},   {"METHOD", TEST_FAULT_METHOD},
    {"UNREADABLE", TEST_FAULT_UNREADABLE}, {"HEADER", TEST_FAULT_HEADER},
    {"ARCHIVECUT", TEST_FAULT_ARCHIVE_CUT},
};

// The count line "TESTED n faulty" or "CANCELLED n faulty".
BOOL ReadCounts(const CString& word, const CString& rest, CTestReport* pReport) {
    BOOL bCancelled = word == "CANCELLED";
    if (word != "TESTED" && !bCancelled) return FALSE;
    char* pEnd = NULL;
    long nTested = strtol(rest, &pEnd, 10);
    long nFaulty = strtol(pEnd, &pEnd, 10);
    if (nTested < 0 || nFaulty < 0 || nFaulty > nTested) return FALSE;
    pReport->m_nTested += (int)nTested;
    pReport->m_nFaulty += (int)nFaulty;
    if (bCancelled) pReport->m_bCancelled = TRUE;
    return TRUE;
}

}  // namespace

BOOL CTestReport::AddOutput(LPCSTR pszOutput) {
    BOOL bCounted = FALSE;
    for (const char* p = pszOutput ? pszOutput : ""; *p;) {
        const char* pEnd = p + strcspn(p, "\r\n");
        CString line(p, (int)(pEnd - p));
        p = pEnd + strspn(pEnd, "\r\n");
        int blank = line.Find(' ');
        if (blank <= 0) continue;
        CString word = line.Left(blank), rest = line.Mid(blank + 1);
        if (!bCounted) {
            // Nothing counts before the count line.
            bCounted = ReadCounts(word, rest, this);
            continue;
        }
        for (const FaultWord& known : kFaultWords) {
            if (word != known.pszWord) continue;
            CTestFinding finding = {known.nFault, rest};
            m_findings.push_back(finding);
        }
    }
    if (bCounted) m_nRuns++;
    return bCounted;
}
