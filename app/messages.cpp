// The message helpers. All share one static text buffer and one formatter.
#include "app/messages.h"

#include "framework/afx_state.h"
#include "framework/cstring.h"
#include "framework/msgbox.h"

#include <stdarg.h>
#include <string.h>

static char s_text[1000];

// Formats into s_text. wvsprintfA never writes more than 1024 bytes, so it
// works in a scratch buffer of that size; the result is then cut to the
// 999 bytes s_text holds, never inside a double-byte character.
static LPCSTR FormatText(LPCSTR lpszFormat, va_list args) {
    char scratch[1024 + 2];
    wvsprintfA(scratch, lpszFormat ? lpszFormat : "", args);
    scratch[1024] = '\0';

    size_t n = 0;
    while (scratch[n]) {
        size_t step = (IsDBCSLeadByte((BYTE)scratch[n]) && scratch[n + 1]) ? 2 : 1;
        if (n + step > sizeof(s_text) - 1) break;
        n += step;
    }
    memcpy(s_text, scratch, n);
    s_text[n] = '\0';
    return s_text;
}

static LPCSTR FormatResource(UINT nID, va_list args) {
    CString format;
    format.LoadString(nID);
    return FormatText(format, args);
}

static int ShowWithParent(HWND hParent, LPCSTR lpszText, UINT nType) {
    BOOL wasEnabled = hParent && IsWindowEnabled(hParent);
    if (wasEnabled) EnableWindow(hParent, FALSE);
    int result = MessageBoxA(hParent, lpszText, AfxGetAppName(), nType);
    if (wasEnabled) EnableWindow(hParent, TRUE);
    return result;
}

LPCSTR LastMessageText() { return s_text; }

const UINT kError = MB_OK | MB_ICONHAND;
const UINT kQuestion = MB_YESNO | MB_ICONQUESTION;
const UINT kInfo = MB_OK | MB_ICONASTERISK;

static int ShowById(UINT nType, UINT nID, va_list args) {
    return AfxMessageBox(FormatResource(nID, args), nType);
}

static int ShowByFormat(UINT nType, LPCSTR lpszFormat, va_list args) {
    return AfxMessageBox(FormatText(lpszFormat, args), nType);
}

static int ShowByIdWithParent(UINT nType, HWND hParent, UINT nID, va_list args) {
    return ShowWithParent(hParent, FormatResource(nID, args), nType);
}

void ErrorMessage(UINT nID, ...) {
    va_list args;
    va_start(args, nID);
    ShowById(kError, nID, args);
    va_end(args);
}

void ErrorMessage(LPCSTR lpszFormat, ...) {
    va_list args;
    va_start(args, lpszFormat);
    ShowByFormat(kError, lpszFormat, args);
    va_end(args);
}

void ErrorMessage(HWND hParent, UINT nID, ...) {
    va_list args;
    va_start(args, nID);
    ShowByIdWithParent(kError, hParent, nID, args);
    va_end(args);
}

int QuestionMessage(UINT nID, ...) {
    va_list args;
    va_start(args, nID);
    int result = ShowById(kQuestion, nID, args);
    va_end(args);
    return result;
}

int QuestionMessage(LPCSTR lpszFormat, ...) {
    va_list args;
    va_start(args, lpszFormat);
    int result = ShowByFormat(kQuestion, lpszFormat, args);
    va_end(args);
    return result;
}

int QuestionMessage(HWND hParent, UINT nID, ...) {
    va_list args;
    va_start(args, nID);
    int result = ShowByIdWithParent(kQuestion, hParent, nID, args);
    va_end(args);
    return result;
}

int InfoMessage(UINT nID, ...) {
    va_list args;
    va_start(args, nID);
    int result = ShowById(kInfo, nID, args);
    va_end(args);
    return result;
}

int InfoMessage(LPCSTR lpszFormat, ...) {
    va_list args;
    va_start(args, lpszFormat);
    int result = ShowByFormat(kInfo, lpszFormat, args);
    va_end(args);
    return result;
}

int InfoMessage(HWND hParent, UINT nID, ...) {
    va_list args;
    va_start(args, nID);
    int result = ShowByIdWithParent(kInfo, hParent, nID, args);
    va_end(args);
    return result;
}

int StyledMessage(UINT nType, UINT nID, ...) {
    va_list args;
    va_start(args, nID);
    int result = ShowById(nType, nID, args);
    va_end(args);
    return result;
}

int StyledMessage(UINT nType, LPCSTR lpszFormat, ...) {
    va_list args;
    va_start(args, lpszFormat);
    int result = ShowByFormat(nType, lpszFormat, args);
    va_end(args);
    return result;
}
