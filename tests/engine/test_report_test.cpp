// Reading what the library's "t" command writes: counts, faults by kind with
// names as they stand (blanks, a second byte 0x5C), several runs added up.
#include <gtest/gtest.h>

#include "engine/test_report.h"

namespace {

struct Case {
    const char* output;
    BOOL read;
    int tested, faulty;
    BOOL cancelled;
    const char* findings;  // "kind:what|..." in order
};

CString Findings(const CTestReport& report) {
    CString text;
    for (const CTestFinding& finding : report.m_findings) {
        CString one;
        one.Format("%d:%s|", (int)finding.nFault, (LPCSTR)finding.strWhat);
        text += one;
    }
    return text;
}

TEST(TestReport, ReadsEveryLineKindAndNothingBeforeTheCounts) {
    const Case cases[] = {
        {"TESTED 3 1\r\nCRC DOC\\b c.txt\r\nOK a.txt\r\nOK c.txt\r\n", TRUE, 3, 1, FALSE, "0:DOC\\b c.txt|"},
        {"TESTED 4 3\r\nCUT \x95\x5C.txt\r\nDAMAGED d\r\nMETHOD m\r\nHEADER 1234\r\n", TRUE, 4, 3, FALSE,
         "1:\x95\x5C.txt|2:d|3:m|5:1234|"},
        {"TESTED 1 0\nARCHIVECUT 99\nUNREADABLE u", TRUE, 1, 0, FALSE, "6:99|4:u|"},
        {"CANCELLED 2 1\r\nCRC x\r\n", TRUE, 2, 1, TRUE, "0:x|"},
        // A fault line before the counts, an unknown keyword, an empty name.
        {"CRC early\r\nTESTED 1 0\r\nFUTURE x\r\nCRC\r\n", TRUE, 1, 0, FALSE, ""},
        {"", FALSE, 0, 0, FALSE, ""},
        {"unlha32.dll - LZH\r\n", FALSE, 0, 0, FALSE, ""},
        {"TESTED 1 5\r\n", FALSE, 0, 0, FALSE, ""},
        {"TESTED -1 0\r\n", FALSE, 0, 0, FALSE, ""},
    };
    for (const Case& c : cases) {
        CTestReport report;
        EXPECT_EQ(report.AddOutput(c.output), c.read) << c.output;
        EXPECT_EQ(report.m_nTested, c.tested) << c.output;
        EXPECT_EQ(report.m_nFaulty, c.faulty) << c.output;
        EXPECT_EQ(report.m_bCancelled, c.cancelled) << c.output;
        EXPECT_EQ(report.m_nRuns, c.read ? 1 : 0) << c.output;
        EXPECT_STREQ(Findings(report), c.findings) << c.output;
    }
}

TEST(TestReport, RunsAddUp) {
    CTestReport report;
    EXPECT_TRUE(report.AddOutput("TESTED 2 1\r\nCRC a\r\nOK b\r\n"));
    EXPECT_FALSE(report.AddOutput(NULL));
    EXPECT_TRUE(report.AddOutput("TESTED 3 1\r\nCUT c\r\n"));
    EXPECT_EQ(report.m_nTested, 5);
    EXPECT_EQ(report.m_nFaulty, 2);
    EXPECT_EQ(report.m_nRuns, 2);
    EXPECT_STREQ(Findings(report), "0:a|1:c|");
}

}  // namespace
