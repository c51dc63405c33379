"""Looking at entries and moving files in and out: read a text entry in the
MiniViewer, open an entry with its program and put it back once changed there,
drag two entries onto another
program (our drop probe, a separate process with an OLE drop target), release
a drag over the program's own window, and drop two files from the probe onto
the main window to add them."""
import glob
import os
import re
import shutil
import subprocess

from harness import Dialog, DropProbe, mnemonic
from session import Failed, Skipped, scenario, wait_for

FILES = {
    "README.TXT": "Read me first.\r\n",
    "NOTES.TXT": b"Zuvo notes\r\nline two\x00hidden tail",
    "OPEN.ZVVIEW": "opened by its program",
    "DOC/GUIDE.TXT": "How to use it.\r\n",
    "DOC/EDIT.ZVVIEW": "before the edit",
}
EDIT_ID = 101
TOOLBAR_ID = 59392
CLOSE_CMD = 57602


def setup(s):
    s.forget_settings()
    s.place_window(20, 20, 700, 500)
    s.archive = s.jlha_archive("VIEW.LZH", FILES)
    # The drop probe stands in as the program registered for .zvview.
    s.viewer_log = s.path("viewer-program.log")
    exe = os.path.join(s.build, "win", "bin", "drop_probe.exe")
    s.reg("add", r"HKCR\.zvview", "/ve", "/d", "ZuvoTest.View", "/f")
    s.reg("add", r"HKCR\ZuvoTest.View\shell\open\command", "/ve", "/d",
          '"%s" "%s" "%%1"' % (s.desk.winpath(exe), s.desk.winpath(s.viewer_log)), "/f")
    # A type the prefix has no program for goes to the desktop's opener.
    s.reg("delete", r"HKCR\.txt", "/f")
    s.stand_in_opener()
    s.start(s.desk.winpath(s.archive))


def require_list(s):
    if not any(k.cls == "SysListView32" for k in s.desk.kids(s.app.main.hwnd)):
        raise Failed("the main window has no file list")
    wait_for(lambda: "README.TXT" in s.app.names(), "the archive's rows")


def temp_dir():
    prefix = os.environ["WINEPREFIX"]
    for pattern in ("drive_c/users/*/AppData/Local/Temp", "drive_c/users/*/Temp"):
        found = glob.glob(os.path.join(prefix, pattern))
        if found:
            return found[0]
    raise Failed("no temporary directory in the prefix")


def temp_copies(name):
    """Copies of an entry in the temporary directory, its own sub-folders included."""
    base = temp_dir()
    return sorted(glob.glob(os.path.join(base, name)) + glob.glob(os.path.join(base, "Zuvo*", name)))


def clear_temp_copies():
    for name in FILES:
        for p in temp_copies(os.path.basename(name)):
            os.remove(p)


def select_only(s, names):
    """Selects exactly the named rows, starting from no selection (a click on
    a row of a selection keeps the others until the button is up)."""
    lst = s.app.list_window()
    s.desk.click(lst.x + lst.w // 2, lst.y + lst.h - 20)
    wait_for(lambda: not any(r.selected for r in s.app.rows()), "no row selected")
    s.app.select_rows(names)


def drag(s, x0, y0, x1, y1):
    """A drag that lingers over its target before the release, as a hand
    does: the platform's drag loop asks the target under the pointer as it
    moves, and a release at once after the last move can come before that."""
    desk = s.desk
    desk.move(x0, y0)
    desk.xdo("mousedown", 1)
    for i in range(1, 9):
        desk.move(x0 + (x1 - x0) * i // 8, y0 + (y1 - y0) * i // 8)
    for dx in (4, 0):
        desk.move(x1 + dx, y1)
    desk.xdo("mouseup", 1)


def row_centre(s, name):
    return next(r.centre for r in s.app.rows() if r.name == name)


@scenario
def miniviewer_shows_an_entry_up_to_its_first_zero_byte(s):
    require_list(s)
    clear_temp_copies()
    desk = s.desk
    desk.click(*row_centre(s, "NOTES.TXT"), button=3)
    viewer = desk.wait_window(title="MiniViewer - NOTES.TXT")
    edit = wait_for(lambda: next((k for k in desk.kids(viewer.hwnd) if k.id == EDIT_ID), None), "its text")
    assert edit.text == "Zuvo notes\r\nline two", repr(edit.text)
    assert not temp_copies("NOTES.TXT"), "the copy read for the viewer stays behind"

    # A second entry replaces title and text in the same window.
    desk.click(*row_centre(s, "README.TXT"), button=3)
    again = desk.wait_window(title="MiniViewer - README.TXT")
    assert again.hwnd == viewer.hwnd
    wait_for(lambda: next(k for k in desk.kids(viewer.hwnd) if k.id == EDIT_ID).text == "Read me first.\r\n",
             "the second entry's text")

    # Its close button closes it and keeps its place.
    bar = next(k for k in desk.kids(viewer.hwnd) if k.id == TOOLBAR_ID)
    button = next(f for f in desk.probe.ask("toolbar %d" % bar.hwnd) if int(f[0]) == CLOSE_CMD)
    x, y, w, h = (int(v) for v in button[3:7])
    desk.click(x + w // 2, y + h // 2)
    desk.wait_gone(viewer.hwnd)
    wait_for(lambda: s.setting("MiniViewer", "Left") == viewer.x, "the MiniViewer's place stored")


@scenario
def view_opens_an_entry_with_its_program_and_exit_removes_the_copy(s):
    require_list(s)
    clear_temp_copies()
    desk = s.desk
    desk.click(*row_centre(s, "OPEN.ZVVIEW"), double=True)
    program = desk.wait_window(title="Zuvo Drop Probe", timeout=30)
    assert program.pid != s.app.pid

    def opened():
        if not os.path.exists(s.viewer_log):
            return None
        with open(s.viewer_log, encoding="cp932", errors="replace") as f:
            return next((line.split() for line in f if line.startswith("arg ")), None)
    arg = wait_for(opened, "the program's file")
    assert arg[1].endswith("\\OPEN.ZVVIEW"), arg
    assert bytes.fromhex(arg[2]) == FILES["OPEN.ZVVIEW"].encode(), arg
    assert len(temp_copies("OPEN.ZVVIEW")) == 1, temp_copies("OPEN.ZVVIEW")
    # Close the program (Alt+F4 after a click on its caption), then Zuvo.
    desk.click(program.x + 40, program.y + 8)
    desk.key("alt+F4")
    desk.wait_gone(program.hwnd)
    s.app.exit()
    wait_for(lambda: not temp_copies("OPEN.ZVVIEW"), "the copy removed at exit")
    s.start(s.desk.winpath(s.archive))


def peer_entry(s, archive, path):
    """An entry's bytes as lhasa extracts them (it may fold the name's case)."""
    out = s.path("peer-out")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    subprocess.run(["lhasa", "xqw=" + out, archive], check=True, stdout=subprocess.DEVNULL)
    for root, _, files in os.walk(out):
        for f in files:
            full = os.path.join(root, f)
            if os.path.relpath(full, out).lower() == path.lower():
                with open(full, "rb") as fh:
                    return fh.read()
    return None


def open_changed_copy(s, data):
    """Opens DOC\\EDIT.ZVVIEW with its program (the drop probe), writes data
    into the copy as that program would save it, and comes back to Zuvo with
    a click on its caption: the program's window."""
    desk = s.desk
    before = set(temp_copies("EDIT.ZVVIEW"))
    desk.click(*row_centre(s, "EDIT.ZVVIEW"), double=True)
    program = desk.wait_window(title="Zuvo Drop Probe", timeout=30)
    copy = wait_for(lambda: (set(temp_copies("EDIT.ZVVIEW")) - before or [None]).pop(), "the new copy")
    with open(copy, "wb") as f:
        f.write(data)
    desk.click(program.x + 40, program.y + 8)
    s.app.focus()
    return program, copy


def no_box_for(s, seconds):
    try:
        wait_for(lambda: s.app.dialogs(), "a box", timeout=seconds)
        raise Failed("a box came up: %r" % [w.text for w in s.app.dialogs()])
    except Failed as e:
        if "timed out" not in str(e):
            raise


@scenario
def a_copy_changed_in_its_program_goes_back_at_its_path_on_yes_and_not_on_no(s):
    require_list(s)
    clear_temp_copies()
    app, desk = s.app, s.desk
    app.select_node("DOC\\")
    wait_for(lambda: "EDIT.ZVVIEW" in app.names(), "the folder's rows")

    program, first = open_changed_copy(s, b"saved by its program")
    box = app.dialog("Zuvo")
    assert box.text() == "DOC\\EDIT.ZVVIEWは変更されています。書庫を更新しますか?", box.text()
    s.desk.picture("put-back")
    box.press(cid=6)  # Yes
    app.wait_done(lambda: peer_entry(s, s.archive, "DOC/EDIT.ZVVIEW") == b"saved by its program",
                  "the new bytes in the archive", timeout=60)
    names = s.archive_names(s.archive)
    assert names.count("DOC/EDIT.ZVVIEW") == 1 and "EDIT.ZVVIEW" not in names, names
    desk.click(program.x + 40, program.y + 8)
    desk.key("alt+F4")
    desk.wait_gone(program.hwnd)

    # No: the archive stays as it is, and coming back asks no more.
    app.select_node("DOC\\")
    wait_for(lambda: "EDIT.ZVVIEW" in app.names(), "the folder's rows again")
    program, second = open_changed_copy(s, b"a second edit kept out")
    app.dialog("Zuvo").press(cid=7)  # No
    app.wait_done(lambda: True, "the program idle after No")
    assert peer_entry(s, s.archive, "DOC/EDIT.ZVVIEW") == b"saved by its program"
    desk.click(program.x + 40, program.y + 8)
    app.focus()
    no_box_for(s, 3)
    desk.click(program.x + 40, program.y + 8)
    desk.key("alt+F4")
    desk.wait_gone(program.hwnd)

    # At exit the copy put back and changed again is asked for; it goes in
    # and then goes. The one kept out stays, and the user is told where.
    # (Zuvo active and idle first, so that only the exit can ask.)
    app.focus()
    no_box_for(s, 2)
    with open(first, "wb") as f:
        f.write(b"changed once more")
    desk.key("alt+" + mnemonic("ﾌｧｲﾙ(&F)"), mnemonic("閉じる(&C)"))
    box = app.dialog("Zuvo")
    assert box.text() == "DOC\\EDIT.ZVVIEWは変更されています。書庫を更新しますか?", box.text()
    box.press(cid=6)  # Yes
    def kept_box():
        for w in desk.windows(app.pid):
            if w.visible and w.cls == "#32770" and "EDIT.ZVVIEW" in Dialog(desk, w).text() \
                    and "書庫を更新しますか" not in Dialog(desk, w).text():
                return Dialog(desk, w)
        return None
    told = wait_for(kept_box, "the box naming the copy kept", timeout=60)
    told.press(cid=1)  # OK
    wait_for(lambda: app.proc.poll() is not None, "zuvo.exe to end")
    assert peer_entry(s, s.archive, "DOC/EDIT.ZVVIEW") == b"changed once more"
    assert not os.path.exists(first) and os.path.exists(second), (first, second)
    os.remove(second)
    s.start(s.desk.winpath(s.archive))


@scenario
def view_hands_a_type_without_a_program_to_the_desktops_opener(s):
    require_list(s)
    clear_temp_copies()
    select_only(s, ["README.TXT"])
    s.app.press_tool(32776)
    copy = wait_for(lambda: s.opened_files(), "README.TXT handed to the desktop's opener")[0]
    assert os.path.basename(copy) == "README.TXT", copy
    with open(copy, "rb") as f:
        assert f.read() == FILES["README.TXT"].encode()
    assert not s.app.dialogs(), [w.text for w in s.app.dialogs()]
    # The copy stays for the program that reads it, until Zuvo exits.
    assert temp_copies("README.TXT"), "the copy is gone"


@scenario
def dragging_two_entries_hands_another_program_both_files(s):
    require_list(s)
    clear_temp_copies()
    probe = DropProbe(s.desk, s.path("probe-out.log"))
    try:
        select_only(s, ["README.TXT", "NOTES.TXT"])
        x, y = row_centre(s, "README.TXT")
        drag(s, x, y, *probe.window.centre)
        wait_for(lambda: any(l.startswith("dropped") for l in probe.lines()), "the probe's drop", timeout=30)
        lines = probe.lines()
        files = {}
        for line in lines:
            if line.startswith("file "):
                path, data = line[5:].rsplit(" ", 1)
                files[path.rsplit("\\", 1)[-1]] = bytes.fromhex(data) if data != "<missing>" else None
        assert "dropped 2" in lines, lines
        assert files == {"README.TXT": b"Read me first.\r\n", "NOTES.TXT": FILES["NOTES.TXT"]}, files
        # Asked during the drag, the data was refused: nothing is extracted
        # before the button comes up.
        assert all(l == "early refused" for l in lines if l.startswith("early")), lines
        s.app.wait_done(lambda: True, "the program idle after the drag")
    finally:
        probe.close()


@scenario
def releasing_a_drag_over_the_programs_own_window_does_nothing(s):
    require_list(s)
    clear_temp_copies()
    before = s.archive_names(s.archive)
    select_only(s, ["README.TXT", "NOTES.TXT"])
    x, y = row_centre(s, "README.TXT")
    tree = s.app.tree_window()
    drag(s, x, y, tree.x + tree.w // 2, tree.y + tree.h - 20)
    # Nothing may come up: give a box the time to appear, polling.
    try:
        wait_for(lambda: s.app.dialogs(), "a box", timeout=3)
        raise Failed("a box came up: %r" % [w.text for w in s.app.dialogs()])
    except Failed as e:
        if "timed out" not in str(e):
            raise
    assert not temp_copies("README.TXT") and not temp_copies("NOTES.TXT"), "entries were extracted"
    assert s.archive_names(s.archive) == before


@scenario
def files_dropped_from_another_program_are_added_after_yes(s):
    require_list(s)
    one = s.write("drop/ADDED1.TXT", "first dropped file\r\n")
    two = s.write("drop/ADDED2.TXT", "second dropped file\r\n")
    probe = DropProbe(s.desk, s.path("probe-in.log"), [one, two])
    try:
        lst = s.app.list_window()
        cx, cy = probe.window.centre
        drag(s, cx, cy, lst.x + lst.w // 2, lst.y + lst.h - 20)
        box = s.app.dialog("Zuvo")
        assert box.text() == "ドロップされた 2 個のファイルを VIEW.LZH に圧縮しますか?", box.text()
        box.press(cid=6)  # Yes
        s.app.wait_done(lambda: "ADDED1.TXT" in s.app.names() and "ADDED2.TXT" in s.app.names(),
                        "the dropped files in the list", timeout=60)
        names = s.archive_names(s.archive)
        assert "ADDED1.TXT" in names and "ADDED2.TXT" in names, names
        wait_for(lambda: any(l.startswith("drag 1") for l in probe.lines()), "the probe's drag to end")
    finally:
        probe.close()


@scenario
def a_100_mb_entry_shows_its_first_part_at_once_and_the_program_answers(s):
    line = b"a line of a very large text file, number %08d\r\n"
    data = b"".join(line % i for i in range(100 * 1024 * 1024 // len(line % 0)))
    big = s.jlha_archive("BIG.LZH", {"HUGE.TXT": data})
    s.app.kill()
    s.start(s.desk.winpath(big))
    try:
        wait_for(lambda: "HUGE.TXT" in s.app.names(), "the large entry's row")
        desk = s.desk
        desk.click(*row_centre(s, "HUGE.TXT"), button=3)
        # Extracting 100 MB is the library's work; the text is then cut, so
        # the window is there in seconds rather than minutes.
        viewer = desk.wait_window(title="MiniViewer - HUGE.TXT", timeout=60)
        edit = wait_for(lambda: next((k for k in desk.kids(viewer.hwnd) if k.id == EDIT_ID), None), "its text")
        # (The probe reads the first 4 KB; the closing line is checked in-process.)
        assert edit.text.startswith((line % 0).decode()), repr(edit.text[:80])
        # The main window answers while the MiniViewer shows the text.
        assert "HUGE.TXT" in s.app.names()
    finally:
        s.app.kill()
        s.start(s.desk.winpath(s.archive))
