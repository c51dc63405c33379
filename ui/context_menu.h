// The context menus of the main window's two panes.
#pragma once

#include <windows.h>

class CView;

// Popups of the context menu resource: one per pane.
enum { kListContextMenu = 0, kTreeContextMenu = 1 };

// Shows a popup of the context menu resource at a screen point. Its items are
// enabled and its command routed by the main frame, as the main menu's are,
// with pPane made the active view so that its commands are the ones taken.
void TrackContextMenu(CView* pPane, int nMenu, POINT ptScreen);
// Where a menu opened from the keyboard goes: below the given rectangle of
// a control (client coordinates), kept inside the control.
POINT KeyboardMenuPoint(HWND hControl, const RECT& rcItem);
