// richedit_fill: how long the MiniViewer's text control (RICHEDIT of
// riched32.dll, read-only, multi-line) takes to take in texts of growing size,
// against a plain EDIT control given the same text in the same run (the floor).
// The text is lines of a typical source file in code page 932.
//   richedit_fill [MAX_KB]
// Prints, per size, the seconds to set the text (WM_SETTEXT), to stream it in
// (EM_STREAMIN), the floor, and both against the floor.
#include <windows.h>
#include <richedit.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

namespace {

std::string SampleText(size_t bytes) {
    static const char* const kLines[] = {
        "int main(int argc, char** argv) {\r\n",
        "    // \x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x52\x83\x81\x83\x93\x83\x67\r\n",
        "    return Run(argc, argv);  /* the whole program */\r\n",
        "}\r\n",
        "\r\n",
    };
    std::string text;
    for (size_t i = 0; text.size() < bytes; ++i) text += kLines[i % 5];
    text.resize(bytes);
    return text;
}

struct Stream {
    const std::string* text;
    size_t done;
};

DWORD CALLBACK StreamText(DWORD_PTR cookie, LPBYTE buffer, LONG want, LONG* got) {
    Stream* stream = reinterpret_cast<Stream*>(cookie);
    size_t n = stream->text->size() - stream->done;
    if (n > (size_t)want) n = (size_t)want;
    memcpy(buffer, stream->text->data() + stream->done, n);
    stream->done += n;
    *got = (LONG)n;
    return 0;
}

// bStream: EM_STREAMIN instead of WM_SETTEXT.
double SecondsToFill(const char* cls, const std::string& text, bool bStream = false) {
    HWND hWnd = CreateWindowExA(0, cls, "",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE |
                                    ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_READONLY,
                                0, 0, 600, 400, NULL, NULL, GetModuleHandleA(NULL), NULL);
    if (!hWnd) return -1;
    SendMessageA(hWnd, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    SendMessageA(hWnd, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
    LARGE_INTEGER freq, start, end;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&start);
    if (bStream) {
        Stream stream = {&text, 0};
        EDITSTREAM es = {(DWORD_PTR)&stream, 0, StreamText};
        SendMessageA(hWnd, EM_STREAMIN, SF_TEXT, (LPARAM)&es);
    } else {
        SetWindowTextA(hWnd, text.c_str());
    }
    UpdateWindow(hWnd);
    QueryPerformanceCounter(&end);
    DestroyWindow(hWnd);
    return double(end.QuadPart - start.QuadPart) / double(freq.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    int maxKb = argc > 1 ? atoi(argv[1]) : 2048;
    if (!LoadLibraryA("riched32.dll")) return 1;
    printf("kilobytes richedit_settext_seconds richedit_streamin_seconds edit_seconds ratio_settext ratio_streamin\n");
    for (int kb = 16; kb <= maxKb; kb *= 2) {
        std::string text = SampleText((size_t)kb * 1024);
        double rich = SecondsToFill("RICHEDIT", text);
        double streamed = SecondsToFill("RICHEDIT", text, true);
        double edit = SecondsToFill("EDIT", text);
        printf("%d %.3f %.3f %.3f %.1f %.1f\n", kb, rich, streamed, edit, edit > 0 ? rich / edit : 0.0,
               edit > 0 ? streamed / edit : 0.0);
        fflush(stdout);
    }
    return 0;
}
