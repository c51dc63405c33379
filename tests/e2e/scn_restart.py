"""What the program remembers: the user moves and sizes the window, drags the
splitter and a column border, sorts, switches to list mode, picks a folder in
the chooser, closes the program and starts it again."""
import os
import struct

from harness import Dialog
from session import scenario, wait_for

FILES = {
    "BIG.TXT": "b" * 9000,
    "SMALL.TXT": "s",
    "MIDDLE.DAT": "m" * 3000,
    "DOC/INNER.TXT": "inner",
    "DOC/DOCUMENT.OLD/OLD.TXT": "an 8.3 folder at the second level",
    "COLS/NUMBERS.TXT": "".join("%d\n" % i for i in range(1, 3001)),
}
HUGE = 400 * 1024 * 1024


def setup(s):
    s.forget_settings()
    s.archive = s.jlha_archive("KEEP.LZH", FILES)
    _append_header(s.archive, "COLS\\HUGE.DAT", HUGE)
    s.start(s.desk.winpath(s.archive))


def _append_header(archive, name, size):
    """Appends a level-0 entry that claims SIZE bytes from 16 stored ones (a
    listing reads only the headers)."""
    body = b"-lh5-" + struct.pack("<IIHHBB", 16, size, 0x6000, 0x5821, 0x20, 0)
    body += bytes([len(name)]) + name.encode() + b"\0\0"
    with open(archive, "r+b") as f:
        f.seek(-1, os.SEEK_END)  # over the end mark
        f.write(bytes([len(body), sum(body) & 0xFF]) + body + bytes(16) + b"\0")


def _pane_width(app):
    left = [k for k in app.desk.kids(app.main.hwnd) if k.id == 59648 and k.parent != app.main.hwnd]
    return left[0].w


@scenario
def first_run_places_the_window_at_a_third_of_the_screen(s):
    win = s.app.refresh()
    # SM_CXFULLSCREEN / SM_CYFULLSCREEN of the 1280x1024 screen: the work area
    # less the caption.
    assert abs(win.x - 1280 // 3) <= 2 and abs(win.w - 1280 // 3) <= 2, win
    # The tree shows an 8.3 folder name two levels down whole.
    tree = s.app.tree_window()
    node = next(i for i in s.app.tree() if i.text == "DOCUMENT.OLD")
    assert node.level == 2 and node.x + node.w <= tree.x + tree.w, (node.x, node.w, tree.x, tree.w)
    # Each column has room for its header and its cells (the first one's
    # beside the icon): an 8.3 name, hundreds of megabytes, the ratio, the
    # date with the time's seconds; the list draws 6 pixels on either side.
    s.app.select_node("COLS\\")
    cols, rows = wait_for(lambda: (lambda c, r: (c, r) if len(r) == 2 else None)(*s.app.list()), "COLS listed")
    huge = next(r for r in rows if r.name == "HUGE.DAT")
    assert huge.texts[1] == "409,600KB", huge.texts
    lst = s.app.list_window()

    def width(text):
        return int(s.desk.probe.ask("textwidth %d %s" % (lst.hwnd, text))[0][0])
    for c, col in enumerate(cols):
        texts = [col.text] + ([r.texts[c] for r in rows] if c != 2 else [])
        short = [t for t in texts if col.width < width(t) + 12 + (17 if c == 0 and t != col.text else 0)]
        assert not short, (c, col.width, short)
    s.app.select_node("")


@scenario
def settings_come_back_after_a_restart(s):
    app, desk = s.app, s.desk
    # Move the window by its caption, then size it by its corner.
    win = app.refresh()
    desk.drag(win.x + 120, win.y + 8, 60 + 120, 40 + 8)
    wait_for(lambda: (app.refresh().x, app.refresh().y) == (60, 40), "the window moved")
    win = app.refresh()
    desk.drag(win.x + win.w - 2, win.y + win.h - 2, 60 + 900 - 2, 40 + 640 - 2)
    wait_for(lambda: (app.refresh().w, app.refresh().h) == (900, 640), "the window sized")
    # Widen the tree pane by dragging the splitter bar.
    left = _pane_width(app)
    split = [k for k in desk.kids(app.main.hwnd) if k.id == 59648 and k.parent == app.main.hwnd][0]
    bar_x = split.x + left + 3
    desk.drag(bar_x, split.y + split.h // 2, bar_x + 70, split.y + split.h // 2)
    wait_for(lambda: _pane_width(app) == left + 70, "the tree pane 70 pixels wider")
    wait_for(lambda: s.setting("window", "nDirPaneWidth") == left + 70, "the pane width stored at once")

    # Widen the name column by dragging its border in the header.
    cols, _ = app.list()
    border = cols[0].x + cols[0].w - 1
    desk.drag(border, cols[0].y + cols[0].h // 2, border + 45, cols[0].y + cols[0].h // 2)
    wait_for(lambda: app.list()[0][0].width == cols[0].width + 45, "the name column 45 pixels wider")
    widths = [c.width for c in app.list()[0]]
    # Sort by size, then again for descending.
    app.menu("表示(&V)", "アイコンの整列(&I)", "サイズ順(&Z)")
    wait_for(lambda: app.names() == ["SMALL.TXT", "MIDDLE.DAT", "BIG.TXT"], "ascending by size")
    app.menu("表示(&V)", "アイコンの整列(&I)", "サイズ順(&Z)")
    wait_for(lambda: app.names() == ["BIG.TXT", "MIDDLE.DAT", "SMALL.TXT"], "descending by size")
    # List mode, which is not remembered.
    app.press_tool(104)
    wait_for(lambda: not app.report_mode(), "list mode")
    app2 = _restart_and_check_placement(s, (60, 40, 900, 640), left + 70)
    assert s.setting("setting", "nSortOrder") == 0x8001, s.setting("setting", "nSortOrder")
    wait_for(lambda: app2.names() == ["BIG.TXT", "MIDDLE.DAT", "SMALL.TXT"], "still descending by size")
    assert [c.width for c in app2.list()[0]] == widths, ([c.width for c in app2.list()[0]], widths)
    assert app2.report_mode(), "details mode at every start"


@scenario
def chooser_starts_in_the_last_folder_after_a_restart(s):
    app, desk = s.app, s.desk
    os.makedirs(s.path("last"), exist_ok=True)
    app.select_rows(["BIG.TXT"])
    app.press_tool(32777)
    box = app.chooser()
    box.go_to(desk.winpath(s.path("last")))
    box.press(1)
    box.wait_closed()
    app.wait_done(lambda: os.path.exists(s.path("last", "BIG.TXT")), "BIG.TXT extracted into last/")
    s.app.exit()
    app = s.start(s.desk.winpath(s.archive))
    app.select_rows(["SMALL.TXT"])
    app.press_tool(32777)
    box = app.chooser()
    assert box.current().lower().rstrip("\\") == desk.winpath(s.path("last")).lower(), box.current()
    box.press(2)
    box.wait_closed()


MV_EDIT, MV_TOOLBAR, MV_CLOSE, MV_FONT = 101, 59392, 57602, 32801


def _miniviewer(s, name):
    """Right-clicks a row: the MiniViewer shows that entry."""
    row = next(r for r in s.app.rows() if r.name == name)
    s.desk.click(*row.centre, button=3)
    return s.desk.wait_window(title="MiniViewer - " + name, timeout=8)


def _mv_tool(s, viewer, cid):
    bar = next(k for k in s.desk.kids(viewer.hwnd) if k.id == MV_TOOLBAR)
    button = next(f for f in s.desk.probe.ask("toolbar %d" % bar.hwnd) if int(f[0]) == cid)
    x, y, w, h = (int(v) for v in button[3:7])
    s.desk.click(x + w // 2, y + h // 2)


def _font_dialog(s, viewer):
    _mv_tool(s, viewer, MV_FONT)
    box = Dialog(s.desk, s.desk.wait_window(cls="#32770", pid=s.app.pid))
    return box, box.control(cid=1136), box.control(cid=1138)  # face and size boxes


@scenario
def miniviewer_place_and_font_come_back_after_a_restart(s):
    app, desk = s.app, s.desk
    viewer = _miniviewer(s, "SMALL.TXT")
    # Move it by its caption and choose a 20-point font.
    desk.drag(viewer.x + 60, viewer.y + 8, 700 + 60, 500 + 8)
    wait_for(lambda: (desk.find(title="MiniViewer - SMALL.TXT").x, desk.find(title="MiniViewer - SMALL.TXT").y)
             == (700, 500), "the MiniViewer moved")
    viewer = desk.find(title="MiniViewer - SMALL.TXT")
    box, face, size = _font_dialog(s, viewer)
    chosen_face = face.text
    edit = next(k for k in desk.kids(size.hwnd) if k.cls == "Edit")
    desk.click(edit.x + 4, edit.y + edit.h // 2)
    desk.key("End", "shift+Home", "BackSpace")
    desk.type("20")
    box.press(1)
    box.wait_closed()
    _mv_tool(s, viewer, MV_CLOSE)
    desk.wait_gone(viewer.hwnd)
    s.app.exit()
    app = s.start(s.desk.winpath(s.archive))
    viewer = _miniviewer(s, "SMALL.TXT")
    assert (viewer.x, viewer.y) == (700, 500), viewer
    box, face, size = _font_dialog(s, viewer)
    assert (face.text, size.text) == (chosen_face, "20"), (face.text, size.text, chosen_face)
    box.press(2)
    box.wait_closed()
    _mv_tool(s, viewer, MV_CLOSE)
    desk.wait_gone(viewer.hwnd)


def _restart_and_check_placement(s, rect, pane):
    s.app.press_tool(57665)  # the toolbar's exit button
    wait_for(lambda: not s.app.running(), "zuvo.exe to end")
    app = s.start(s.desk.winpath(s.archive))
    win = app.refresh()
    assert (win.x, win.y, win.w, win.h) == rect, (win, rect)
    assert _pane_width(app) == pane, _pane_width(app)
    return app
