// The command lines of every archive operation. Archive, destination and work
// directory paths go in unquoted; file names with a blank, a tab or a quote
// are quoted, each quote in them doubled, so that every name reaches the
// library whole. Long name lists are split into several commands.
#include "engine/lha.h"

#include "engine/test_report.h"

#include "framework/path_parts.h"

namespace {

// An extraction batch closes once its names pass this many characters.
const int kExtractBatchLength = 400;
// An add or delete batch closes before the next name once it passes this.
const int kFileListBatchLength = 8000;

// Neither a blank, a tab nor a quote is ever the second byte of a
// double-byte character.
BOOL NeedsQuotes(const CString& name) { return name.FindOneOf(" \t\"") >= 0; }

CString Quoted(const CString& name) {
    CString quoted("\"");
    for (int i = 0; i < name.GetLength(); i++) {
        if (name[i] == '"') quoted += '"';
        quoted += name[i];
    }
    quoted += '"';
    return quoted;
}

CString NameForLine(const CString& name) { return NeedsQuotes(name) ? Quoted(name) : name; }

}  // namespace

BOOL CLha::Extract(LPCSTR pszNames, LPCSTR pszDestDir, BOOL bWithDirs) {
    CString line;
    line.Format("%s %s %s %s", bWithDirs ? "x -r1xp " : "e -p ", (LPCSTR)m_strArchive, pszDestDir, pszNames);
    return Execute(line);
}

BOOL CLha::ExtractFiles(const CStringArray& names, LPCSTR pszDestDir, BOOL bWithDirs) {
    CString fragment;
    for (int i = 0; i < names.GetSize(); i++) {
        fragment += NameForLine(names[i]);
        fragment += ' ';
        if (fragment.GetLength() > kExtractBatchLength) {
            if (!Extract(fragment, pszDestDir, bWithDirs)) return FALSE;
            fragment.Empty();
        }
    }
    if (!fragment.IsEmpty() && !Extract(fragment, pszDestDir, bWithDirs)) return FALSE;
    return TRUE;
}

BOOL CLha::ExtractDirectory(LPCSTR pszDir, LPCSTR pszDestDir) {
    // The root is a lone backslash.
    CString dir = *pszDir ? WithTrailingBackslash(pszDir) : CString("\\");
    CString line;
    line.Format("x -r2xp %s %s %s*.* %s*", (LPCSTR)m_strArchive, pszDestDir, (LPCSTR)dir, (LPCSTR)dir);
    return Execute(line);
}

// Runs "option -wWORK archive  name name ..." in batches; every batch runs
// whatever the others did, and the caller always sees success.
BOOL CLha::ExecuteWithFileList(const CStringArray& names, LPCSTR pszOption) {
    CString prefix;
    prefix.Format("%s -w%s %s ", pszOption, (LPCSTR)WithoutTrailingBackslash(TempDirectory()), (LPCSTR)m_strArchive);
    CString list;
    for (int i = 0; i < names.GetSize(); i++) {
        if (list.GetLength() > kFileListBatchLength) {
            Execute(prefix + list);
            list.Empty();
        }
        list += ' ';
        list += NameForLine(names[i]);
    }
    if (!list.IsEmpty()) Execute(prefix + list);
    return TRUE;
}

BOOL CLha::AddFiles(const CStringArray& files, BOOL bMove) {
    return ExecuteWithFileList(files, bMove ? "m -n" : "u -n");
}

BOOL CLha::AddDirectory(LPCSTR pszDir, BOOL bWithDirs, BOOL bMove) {
    LPCSTR option = bMove ? (bWithDirs ? "m -rx " : "m -r ") : (bWithDirs ? "u -rx " : "u -r ");
    CStringArray names;
    names.Add(CString(pszDir) + (EndsWithBackslash(pszDir) ? "*.*" : "\\*.*"));
    return ExecuteWithFileList(names, option);
}

BOOL CLha::Delete(const CStringArray& names) { return ExecuteWithFileList(names, "d -p"); }

BOOL CLha::MakeSFX(int nType, BOOL bReplace) {
    LPCSTR format = nType == 0 ? "s -jw0 -gw0 %s " : nType == 1 ? "s -jw1 %s " : "s -gw1 %s ";
    // Without -o the library replaces no existing file of the program's name.
    CString replacing;
    if (bReplace) {
        replacing = CString("s -o ") + (format + 2);
        format = replacing;
    }
    CString line;
    line.Format(format, (LPCSTR)m_strArchive);
    return Execute(line);
}

// The listing text as the library writes it; TRUE whether or not it ran.
BOOL CLha::List(CString& strOut) {
    CString line;
    line.Format("l %s", (LPCSTR)m_strArchive);
    Execute(line);
    strOut = m_pOutput;
    return TRUE;
}

BOOL CLha::Rename(LPCSTR pszFullPath) {
    CString line;
    line.Format("n  %s %s", (LPCSTR)m_strArchive, pszFullPath);
    return Execute(line);
}

// One "t" over some names; its findings are read from the output, since the
// library's result is a failure whenever it finds damage. FALSE when it
// stopped before testing (and said why) or the user cancelled.
BOOL CLha::TestBatch(LPCSTR pszNames, CTestReport* pReport) {
    CString line;
    line.Format("t %s %s", (LPCSTR)m_strArchive, pszNames);
    m_pOutput[0] = '\0';
    Execute(line);
    return pReport->AddOutput(m_pOutput) && !pReport->m_bCancelled;
}

// The names go in batches as an extraction's do.
BOOL CLha::Test(const CStringArray& names, CTestReport* pReport) {
    if (names.GetSize() == 0) return TestBatch("", pReport);
    CString fragment;
    for (int i = 0; i < names.GetSize(); i++) {
        fragment += NameForLine(names[i]);
        fragment += ' ';
        if (fragment.GetLength() > kExtractBatchLength) {
            if (!TestBatch(fragment, pReport)) return FALSE;
            fragment.Empty();
        }
    }
    return fragment.IsEmpty() || TestBatch(fragment, pReport);
}
