// Escaping of TAB characters for INI values.
#include "settings/profile_escape.h"

static bool EndsWithBackslash(const CString& s) {
    return !s.IsEmpty() && s.ReverseFind('\\') == s.GetLength() - 1;
}

// Steps through text by characters, so that the trail byte of a double-byte
// character is never taken for a backslash.
static int CharLength(const CString& s, int i) {
    return (IsDBCSLeadByte((BYTE)s[i]) && i + 1 < s.GetLength()) ? 2 : 1;
}

CString EscapeProfileText(const CString& text) {
    // First a backslash before every \t already in the text...
    CString doubled;
    for (int i = 0; i < text.GetLength();) {
        int n = CharLength(text, i);
        if (n == 1 && text[i] == '\\' && i + 1 < text.GetLength() && text[i + 1] == 't')
            doubled += '\\';
        doubled += text.Mid(i, n);
        i += n;
    }
    // ...then every TAB as \t. A TAB right after a backslash stays a TAB (the
    // value is quoted when written): \t there would read back as a letter t.
    CString out;
    for (int i = 0; i < doubled.GetLength();) {
        int n = CharLength(doubled, i);
        if (n == 1 && doubled[i] == '\t' && !EndsWithBackslash(out))
            out += "\\t";
        else
            out += doubled.Mid(i, n);
        i += n;
    }
    return out;
}

CString UnescapeProfileText(const CString& text) {
    CString out;
    for (int i = 0; i < text.GetLength();) {
        int n = CharLength(text, i);
        if (n == 1 && text[i] == '\\' && i + 1 < text.GetLength() && text[i + 1] == 't') {
            // After a backslash the pair was an escaped \t: keep the letter.
            out += EndsWithBackslash(out) ? 't' : '\t';
            i += 2;
        } else {
            out += text.Mid(i, n);
            i += n;
        }
    }
    return out;
}
