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

// Every form formats its arguments and shows the text in its box.
#define MESSAGE_FORM(Ret, Name, Params, last, show) \
    Ret Name Params {                               \
        va_list args;                               \
        va_start(args, last);                       \
        int result = show;                          \
        va_end(args);                               \
        return (Ret)result;                         \
    }

MESSAGE_FORM(void, ErrorMessage, (UINT nID, ...), nID, AfxMessageBox(FormatResource(nID, args), kError))
MESSAGE_FORM(void, ErrorMessage, (LPCSTR lpszFormat, ...), lpszFormat,
             AfxMessageBox(FormatText(lpszFormat, args), kError))
MESSAGE_FORM(void, ErrorMessage, (HWND hParent, UINT nID, ...), nID,
             ShowWithParent(hParent, FormatResource(nID, args), kError))
MESSAGE_FORM(int, QuestionMessage, (UINT nID, ...), nID, AfxMessageBox(FormatResource(nID, args), kQuestion))
MESSAGE_FORM(int, QuestionMessage, (LPCSTR lpszFormat, ...), lpszFormat,
             AfxMessageBox(FormatText(lpszFormat, args), kQuestion))
MESSAGE_FORM(int, QuestionMessage, (HWND hParent, UINT nID, ...), nID,
             ShowWithParent(hParent, FormatResource(nID, args), kQuestion))
MESSAGE_FORM(int, InfoMessage, (UINT nID, ...), nID, AfxMessageBox(FormatResource(nID, args), kInfo))
MESSAGE_FORM(int, InfoMessage, (LPCSTR lpszFormat, ...), lpszFormat,
             AfxMessageBox(FormatText(lpszFormat, args), kInfo))
MESSAGE_FORM(int, InfoMessage, (HWND hParent, UINT nID, ...), nID,
             ShowWithParent(hParent, FormatResource(nID, args), kInfo))
MESSAGE_FORM(int, StyledMessage, (UINT nType, UINT nID, ...), nID,
             AfxMessageBox(FormatResource(nID, args), nType))
MESSAGE_FORM(int, StyledMessage, (UINT nType, LPCSTR lpszFormat, ...), lpszFormat,
             AfxMessageBox(FormatText(lpszFormat, args), nType))
