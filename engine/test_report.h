// What the library's "t" command found, read from the lines it writes to the
// output buffer: "TESTED n faulty" (or "CANCELLED ..."), then a keyword and a
// name per damaged entry, a keyword and an offset for damaged headers, and
// "OK name" per sound entry.
#pragma once

#include <vector>

#include "framework/cstring.h"

// Kinds of damage, as the library names them.
enum TestFault {
    TEST_FAULT_CRC,         // "CRC": the data decodes to the wrong CRC
    TEST_FAULT_CUT,         // "CUT": the file ends inside the entry's data
    TEST_FAULT_DAMAGED,     // "DAMAGED": the compressed data cannot be decoded
    TEST_FAULT_METHOD,      // "METHOD": a method the library cannot decode
    TEST_FAULT_UNREADABLE,  // "UNREADABLE": the file could not be read
    TEST_FAULT_HEADER,      // "HEADER": a damaged header at an offset; nothing after it
    TEST_FAULT_ARCHIVE_CUT, // "ARCHIVECUT": the file ends inside a header at an offset
};

struct CTestFinding {
    TestFault nFault;
    CString strWhat;  // the entry's name, or the offset for the two header faults
};

class CTestReport {
public:
    CTestReport() : m_nTested(0), m_nFaulty(0), m_bCancelled(FALSE), m_nRuns(0) {}

    // Adds the output of one run of the command; FALSE when it holds no
    // count line (the library stopped before testing, and said why itself).
    BOOL AddOutput(LPCSTR pszOutput);

    int m_nTested;      // entries tested
    int m_nFaulty;      // damaged entries among them, counted by the library
    BOOL m_bCancelled;  // the user stopped a run
    int m_nRuns;        // runs whose output was read
    // What the outputs name, in their order. A full buffer can hold fewer
    // entry faults than m_nFaulty (the library writes faults first).
    std::vector<CTestFinding> m_findings;
};
