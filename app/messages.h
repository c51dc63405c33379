// Message boxes of the program: a string resource (or a format text) filled in
// with the caller's arguments by wvsprintfA. Every box's text is cut to fit one
// 1000-byte buffer.
//
// Forms: by string id (framework message box), by format text (framework
// message box), and by string id with a parent window that is disabled while
// the box is up (captioned with the application's name).
#pragma once

#include <windows.h>

// Error icon, OK only.
void ErrorMessage(UINT nID, ...);
void ErrorMessage(LPCSTR lpszFormat, ...);
void ErrorMessage(HWND hParent, UINT nID, ...);

// Yes and No buttons, question icon: IDYES or IDNO.
int QuestionMessage(UINT nID, ...);
int QuestionMessage(LPCSTR lpszFormat, ...);
int QuestionMessage(HWND hParent, UINT nID, ...);

// Information icon, OK only: the button pressed.
int InfoMessage(UINT nID, ...);
int InfoMessage(LPCSTR lpszFormat, ...);
int InfoMessage(HWND hParent, UINT nID, ...);

// Any box style (MB_...) from the caller.
int StyledMessage(UINT nType, UINT nID, ...);
int StyledMessage(UINT nType, LPCSTR lpszFormat, ...);

// The text of the box shown last (for tests and for callers that log nothing).
LPCSTR LastMessageText();
