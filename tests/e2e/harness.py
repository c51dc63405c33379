"""Drives zuvo.exe under Wine as a user would.

Input goes through xdotool only (clicks, keys, drags on the X display); what
is on screen is read by the probe (probe.cpp), a Windows program of ours that
answers questions about the program's windows and controls. Every wait polls
with a deadline. A failed step raises Failed after a screenshot.
"""
import os
import re
import subprocess
import time

ZUVO_TITLE = "Zuvo"


class Failed(Exception):
    pass


class Skipped(Exception):
    pass


def _unescape(field):
    out, i = [], 0
    while i < len(field):
        c = field[i]
        if c == "\\" and i + 1 < len(field):
            nxt = field[i + 1]
            out.append({"t": "\t", "n": "\n", "r": "\r", "\\": "\\"}.get(nxt, nxt))
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


class Window:
    """One window as the probe saw it (screen coordinates)."""

    def __init__(self, fields):
        (hwnd, parent, cid, cls, visible, enabled, style, exstyle, pid, x, y, w, h) = fields[:13]
        self.hwnd, self.parent, self.id = int(hwnd), int(parent), int(cid)
        self.cls = cls
        self.visible, self.enabled = visible == "1", enabled == "1"
        self.style, self.exstyle, self.pid = int(style), int(exstyle), int(pid)
        self.x, self.y, self.w, self.h = int(x), int(y), int(w), int(h)
        self.text = fields[13] if len(fields) > 13 else ""

    @property
    def centre(self):
        return self.x + self.w // 2, self.y + self.h // 2

    @property
    def topmost(self):
        return bool(self.exstyle & 0x8)

    def __repr__(self):
        return "<%s %d id=%d %r %s (%d,%d %dx%d)>" % (
            self.cls, self.hwnd, self.id, self.text, "visible" if self.visible else "hidden",
            self.x, self.y, self.w, self.h)


class Picture:
    """Pixels of a screen rectangle, addressed in screen coordinates."""

    def __init__(self, x, y, w, h, raw):
        self.x, self.y, self.w, self.h, self.raw = x, y, w, h, raw

    def at(self, x, y):
        i = ((y - self.y) * self.w + (x - self.x)) * 3
        return tuple(self.raw[i:i + 3])

    def count(self, colour, x, y, w, h):
        """How many pixels of a rectangle inside the picture have a colour."""
        return sum(1 for yy in range(y, y + h) for xx in range(x, x + w) if self.at(xx, yy) == colour)


class Row:
    def __init__(self, fields):
        self.state = int(fields[0])
        self.x, self.y, self.w, self.h = (int(v) for v in fields[1:5])
        self.texts = fields[5:]

    @property
    def selected(self):
        return bool(self.state & 2)

    @property
    def name(self):
        return self.texts[0]

    @property
    def centre(self):
        return self.x + min(self.w, 40) // 2, self.y + self.h // 2


class Column:
    def __init__(self, width, x, y, w, h, text):
        self.width = int(width)
        self.x, self.y, self.w, self.h = int(x), int(y), int(w), int(h)
        self.text = text


class TreeItem:
    def __init__(self, fields):
        self.level, self.state = int(fields[0]), int(fields[1])
        self.x, self.y, self.w, self.h = (int(v) for v in fields[2:6])
        self.text = fields[6]

    @property
    def selected(self):
        return bool(self.state & 2)

    @property
    def centre(self):
        return self.x + self.w // 2, self.y + self.h // 2


class Probe:
    def __init__(self, exe, log):
        self.proc = subprocess.Popen(["wine", exe], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=log, encoding="utf-8", errors="replace")

    def ask(self, request):
        try:
            self.proc.stdin.write(request + "\n")
            self.proc.stdin.flush()
        except OSError:
            raise Failed("the probe is not running (see e2e_wine.log)")
        lines = []
        while True:
            line = self.proc.stdout.readline()
            if not line:
                raise Failed("the probe ended (request %r)" % request)
            line = line.rstrip("\n")
            if line == ".":
                break
            lines.append([_unescape(f) for f in line.split("\t")])
        if lines and lines[0][0] == "error":
            return None
        return lines

    def close(self):
        try:
            self.proc.stdin.close()
            self.proc.wait(timeout=10)
        except Exception:
            self.proc.kill()


def wait_for(pred, what, timeout=15.0, interval=0.1):
    """Polls pred until it gives something true; Failed at the deadline."""
    deadline = time.monotonic() + timeout
    while True:
        value = pred()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise Failed("timed out waiting for " + what)
        time.sleep(interval)


def mnemonic(label):
    m = re.search(r"&(.)", label)
    if not m:
        raise ValueError("no mnemonic in %r" % label)
    return m.group(1).lower()


class Desktop:
    """The X display, the probe and the programs started under Wine."""

    def __init__(self, build, out):
        self.build = build
        self.out = out
        self.exe = os.environ.get("ZUVO_E2E_EXE") or os.path.join(build, "win", "bin", "zuvo.exe")
        self.log = open(os.path.join(out, "e2e_wine.log"), "a")
        self.probe = Probe(os.path.join(build, "win", "tests", "e2e", "zuvo_probe.exe"), self.log)
        self.shots = 0

    def close(self):
        self.probe.close()
        self.log.close()

    # ---- files and paths
    def winpath(self, unix_path):
        # The prefix maps Z: to the Unix root.
        return "Z:" + os.path.abspath(unix_path).replace("/", "\\")

    # ---- input
    def xdo(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args], check=True)

    def move(self, x, y):
        # mousemove --sync would wait forever when the pointer is already there.
        self.xdo("mousemove", x, y)
        wait_for(lambda: self.pointer() == (x, y), "the pointer at %d,%d" % (x, y), timeout=5)

    def pointer(self):
        out = subprocess.run(["xdotool", "getmouselocation", "--shell"], capture_output=True,
                             text=True).stdout
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return int(values.get("X", -1)), int(values.get("Y", -1))

    def click(self, x, y, button=1, double=False):
        self.move(x, y)
        self.xdo("click", "--repeat", 2 if double else 1, "--delay", 60, button)

    def drag(self, x0, y0, x1, y1):
        self.move(x0, y0)
        self.xdo("mousedown", 1)
        steps = 8
        for i in range(1, steps + 1):
            self.move(x0 + (x1 - x0) * i // steps, y0 + (y1 - y0) * i // steps)
        # Linger over the target as a hand does: a drag loop asks the window
        # under the pointer as it moves, and a release right after the last
        # move can come before that.
        for dx in (3, 0):
            self.move(x1 + dx, y1)
        self.xdo("mouseup", 1)

    def key(self, *keys):
        for k in keys:
            self.xdo("key", "--delay", 30, k)

    def type(self, text):
        self.xdo("type", "--delay", 20, text)

    def picture(self, name, window=None):
        """A named picture of the screen (or of one window) for the user
        guide, taken only when ZUVO_E2E_PICTURES names a folder."""
        folder = os.environ.get("ZUVO_E2E_PICTURES")
        if folder:
            os.makedirs(folder, exist_ok=True)
            crop = ["-crop", "%dx%d+%d+%d" % (window.w, window.h, window.x, window.y), "+repage"] if window else []
            subprocess.run(["import", "-window", "root"] + crop + [os.path.join(folder, name + ".png")],
                           stderr=subprocess.DEVNULL)

    def grab(self, x, y, w, h):
        """The screen's pixels in a rectangle."""
        raw = subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage",
                              "-depth", "8", "rgb:-"], capture_output=True).stdout
        if len(raw) != w * h * 3:
            raise Failed("a picture of %dx%d+%d+%d has %d bytes" % (w, h, x, y, len(raw)))
        return Picture(x, y, w, h, raw)

    def syscolor(self, index):
        return tuple(int(v) for v in self.probe.ask("syscolor %d" % index)[0])

    def screenshot(self, name):
        self.shots += 1
        path = os.path.join(self.out, "%s.png" % name)
        subprocess.run(["import", "-window", "root", path], stderr=subprocess.DEVNULL)
        return path

    # ---- windows
    def windows(self, pid=None):
        lines = self.probe.ask("top") or []
        wins = [Window(f) for f in lines]
        return [w for w in wins if pid is None or w.pid == pid]

    def kids(self, hwnd):
        return [Window(f) for f in (self.probe.ask("kids %d" % hwnd) or [])]

    def find(self, title=None, cls=None, pid=None, visible=True):
        for w in self.windows(pid):
            if visible and not w.visible:
                continue
            if cls is not None and w.cls != cls:
                continue
            if title is not None and not (title.search(w.text) if hasattr(title, "search") else w.text == title):
                continue
            return w
        return None

    def wait_window(self, title=None, cls=None, pid=None, timeout=15.0):
        return wait_for(lambda: self.find(title, cls, pid),
                        "a window %r (class %r)" % (getattr(title, "pattern", title), cls), timeout)

    def wait_gone(self, hwnd, timeout=15.0):
        def gone():
            return not any(w.hwnd == hwnd and w.visible for w in self.windows())
        wait_for(gone, "window %d to close" % hwnd, timeout)


class Dialog:
    """A dialog box or message box, answered through its controls."""

    def __init__(self, desk, window):
        self.desk = desk
        self.window = window

    @property
    def title(self):
        return self.window.text

    def controls(self):
        return self.desk.kids(self.window.hwnd)

    def control(self, cid=None, cls=None, text=None):
        for c in self.controls():
            if cid is not None and c.id != cid:
                continue
            if cls is not None and c.cls.lower() != cls.lower():
                continue
            if text is not None and c.text.replace("&", "") != text.replace("&", ""):
                continue
            return c
        raise Failed("dialog %r has no control id=%r class=%r text=%r" % (self.title, cid, cls, text))

    def text(self):
        """The static texts of the box, one per line (a message box's message)."""
        return "\n".join(c.text for c in self.controls() if c.cls.lower() == "static" and c.text)

    def button_ids(self):
        return sorted(c.id for c in self.controls() if c.cls.lower() == "button" and c.visible)

    def press(self, cid=None, text=None):
        c = self.control(cid=cid, cls="Button", text=text)
        if not (c.visible and c.enabled):
            raise Failed("button %r of %r is not usable" % (c.text, self.title))
        self.desk.click(*c.centre)
        return c

    def set_text(self, cid, text):
        c = self.control(cid=cid)
        self.desk.probe.ask("settext %d %s" % (c.hwnd, text))

    def checked(self, cid):
        c = self.control(cid=cid)
        return int(self.desk.probe.ask("check %d" % c.hwnd)[0][0]) == 1

    def set_check(self, cid, on):
        """Clicks a check box until it shows the wanted state."""
        if self.checked(cid) != on:
            self.press(cid)
            wait_for(lambda: self.checked(cid) == on, "box %d %s" % (cid, "on" if on else "off"))

    def visible_ids(self):
        return {c.id for c in self.controls() if c.visible}

    def type_into(self, cid, text):
        """Clicks into an edit control, clears it with the keyboard and types."""
        c = self.control(cid=cid)
        self.desk.click(c.x + 4, c.y + c.h // 2)
        self.desk.key("End", "shift+Home", "BackSpace")
        self.desk.type(text)
        wait_for(lambda: self.control(cid=cid).text == text, "%r typed into %d" % (text, cid))

    def wait_closed(self, timeout=20.0):
        self.desk.wait_gone(self.window.hwnd, timeout)


class DirChooser(Dialog):
    """The program's folder chooser: an old-style file dialog showing the
    current folder (1088) and its folder list (1121), with option boxes."""
    TITLE = "ディレクトリの選択"

    def current(self):
        return self.control(cid=1088).text

    def folders(self):
        box = self.control(cid=1121)
        items = []
        for f in self.desk.probe.ask("lb %d" % box.hwnd) or []:
            x, y, w, h = (int(v) for v in f[1:5])
            items.append((f[5], (x, y, w, h)))
        return items, box

    def open_folder(self, name):
        """Double-clicks a folder of the list ('..' goes up)."""
        before = self.current()
        items, box = self.folders()
        wanted = "[%s]" % name
        for text, (x, y, w, h) in items:
            if text.lower() == wanted.lower():
                if y < box.y or y + h > box.y + box.h:
                    raise Failed("folder %r is scrolled out of the chooser's list" % name)
                self.desk.click(x + min(w, 60) // 2, y + h // 2, double=True)
                wait_for(lambda: self.current() != before, "the chooser to enter %r" % name)
                return
        raise Failed("no folder %r in the chooser at %r: %r" % (name, before, [t for t, _ in items]))

    def go_to(self, winpath):
        """Walks the folder list from where the chooser is to winpath (same drive)."""
        target = [p for p in winpath.rstrip("\\").split("\\")]
        for _ in range(40):
            here = [p for p in self.current().rstrip("\\").split("\\")]
            if [p.lower() for p in here] == [p.lower() for p in target]:
                return
            if here[0].lower() != target[0].lower():
                raise Failed("the chooser is on drive %s, not %s" % (here[0], target[0]))
            common = 0
            while (common < min(len(here), len(target)) and here[common].lower() == target[common].lower()):
                common += 1
            self.open_folder(".." if common < len(here) else target[common])
        raise Failed("the chooser did not reach %s" % winpath)


class Zuvo:
    """One running zuvo.exe."""

    def __init__(self, desk, args=(), cwd=None):
        self.desk = desk
        self.proc = subprocess.Popen(["wine", desk.exe] + list(args), stdin=subprocess.DEVNULL,
                                     stdout=desk.log, stderr=desk.log, cwd=cwd)
        self.main = self.wait_main()
        self.pid = self.main.pid

    def wait_main(self, title=None, timeout=30.0):
        pattern = re.compile(r"(^|\s-\s)Zuvo$" if title is None else "^" + re.escape(title) + "$")

        def found():
            if self.proc.poll() is not None:
                raise Failed("zuvo.exe ended (status %s) before its window showed" % self.proc.returncode)
            for w in self.desk.windows():
                if w.visible and pattern.search(w.text) and w.cls != "#32770":
                    return w
            return None
        return wait_for(found, "the main window", timeout)

    def refresh(self):
        for w in self.desk.windows(self.pid):
            if w.hwnd == self.main.hwnd:
                self.main = w
                return w
        raise Failed("the main window is gone")

    @property
    def title(self):
        return self.refresh().text

    def running(self):
        return self.proc.poll() is None

    # ---- the panes and bars
    def child(self, cid=None, cls=None):
        for c in self.desk.kids(self.main.hwnd):
            if (cid is None or c.id == cid) and (cls is None or c.cls == cls):
                return c
        raise Failed("the main window has no child id=%r class=%r" % (cid, cls))

    def tree_window(self):
        return self.child(cid=110, cls="SysTreeView32")

    def list_window(self):
        return self.child(cid=8000, cls="SysListView32")

    def tree(self):
        return [TreeItem(f) for f in (self.desk.probe.ask("tree %d" % self.tree_window().hwnd) or [])]

    def tree_paths(self):
        """Every node as a relative directory path ('' for the top node)."""
        stack, paths = [], []
        for item in self.tree():
            del stack[item.level:]
            stack.append(item.text)
            paths.append("".join(s + "\\" for s in stack[1:]))
        return paths

    def list(self):
        lines = self.desk.probe.ask("list %d" % self.list_window().hwnd) or []
        cols, rows = [], []
        for f in lines:
            if f[0] == "columns":
                n = int(f[1])
                cols = [Column(*f[2 + 6 * i: 8 + 6 * i]) for i in range(n)]
            elif f[0] == "row":
                rows.append(Row(f[1:]))
        return cols, rows

    def rows(self):
        return self.list()[1]

    def names(self):
        return [r.name for r in self.rows()]

    def row_bounds(self):
        """Each row's whole rectangle on the screen (x, y, w, h)."""
        return [tuple(int(v) for v in f) for f in (self.desk.probe.ask("bounds %d" % self.list_window().hwnd) or [])]

    def list_client(self):
        return tuple(int(v) for v in self.desk.probe.ask("client %d" % self.list_window().hwnd)[0])

    def focus_window(self):
        """The handle of the window that has the keyboard focus."""
        return int(self.desk.probe.ask("focus %d" % self.main.hwnd)[0][0])

    def report_mode(self):
        return (self.list_window().style & 3) == 1  # LVS_REPORT

    def toolbar(self):
        bar = self.child(cid=59392)
        out = {}
        for f in self.desk.probe.ask("toolbar %d" % bar.hwnd) or []:
            cid, state = int(f[0]), int(f[1])
            out[cid] = {"enabled": bool(state & 4), "checked": bool(state & 1),
                        "rect": tuple(int(v) for v in f[3:7])}
        return out

    # ---- acting as the user
    def focus(self):
        """Keyboard input reaches a window only after a click: click the left
        end of the caption, which does nothing else."""
        main = self.refresh()
        self.desk.click(main.x + 40, main.y + 8)

    def menu(self, *labels):
        """Opens a menu and picks an item by the mnemonics of its labels."""
        self.focus()
        self.desk.key("alt+" + mnemonic(labels[0]))
        for label in labels[1:]:
            self.desk.key(mnemonic(label))

    def press_tool(self, cid):
        buttons = self.toolbar()
        if cid not in buttons:
            raise Failed("the toolbar has no button %d" % cid)
        if not buttons[cid]["enabled"]:
            raise Failed("toolbar button %d is greyed" % cid)
        x, y, w, h = buttons[cid]["rect"]
        self.desk.click(x + w // 2, y + h // 2)

    def select_node(self, path):
        for item, p in zip(self.tree(), self.tree_paths()):
            if p == path:
                self.desk.click(*item.centre)
                wait_for(lambda: any(i.selected and q == path for i, q in zip(self.tree(), self.tree_paths())),
                         "tree node %r selected" % path)
                return
        raise Failed("no tree node %r among %r" % (path, self.tree_paths()))

    def select_rows(self, names):
        """Clicks the first named row, Ctrl+clicks the others."""
        rows = {r.name: r for r in self.rows()}
        for i, name in enumerate(names):
            if name not in rows:
                raise Failed("no row %r among %r" % (name, list(rows)))
            x, y = rows[name].centre
            if i == 0:
                self.desk.click(x, y)
            else:
                self.desk.move(x, y)
                self.desk.xdo("keydown", "ctrl")
                self.desk.xdo("click", 1)
                self.desk.xdo("keyup", "ctrl")
        wait_for(lambda: sorted(r.name for r in self.rows() if r.selected) == sorted(names),
                 "rows %r selected" % (names,))

    def dialog(self, title, timeout=15.0):
        w = self.desk.wait_window(title=title, cls="#32770", timeout=timeout)
        return Dialog(self.desk, w)

    def any_dialog(self, timeout=15.0):
        w = wait_for(lambda: next((w for w in self.desk.windows() if w.visible and w.cls == "#32770"), None),
                     "a dialog", timeout)
        return Dialog(self.desk, w)

    def dialogs(self):
        """The program's visible dialogs and message boxes (the archiver
        library runs inside it, so its windows count too)."""
        return [w for w in self.desk.windows(self.pid) if w.visible and w.cls == "#32770"]

    def wait_done(self, pred, what, timeout=30.0):
        """Polls pred until it holds and the program is idle again (no dialog
        up, main window enabled). A box that appears meanwhile, other than the
        library's progress window, fails the step with its text."""
        def check():
            boxes = self.dialogs()
            for b in boxes:
                if b.text != "UNLHA32.DLL":
                    d = Dialog(self.desk, b)
                    raise Failed("unexpected box %r: %r while waiting for %s" % (b.text, d.text(), what))
            return not boxes and self.refresh().enabled and pred()
        return wait_for(check, what, timeout)

    def chooser(self, timeout=15.0):
        return DirChooser(self.desk, self.desk.wait_window(title=DirChooser.TITLE, cls="#32770",
                                                           timeout=timeout))

    def exit(self, timeout=20.0):
        self.menu("ﾌｧｲﾙ(&F)", "閉じる(&C)")
        wait_for(lambda: self.proc.poll() is not None, "zuvo.exe to end", timeout)

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()


class DropProbe:
    """Another program for drag and drop: tests/viewer's drop_probe.exe, a
    window with an OLE drop target that logs what it receives and, given
    files, starts an OLE drag of them when pressed."""

    def __init__(self, desk, log_path, files=()):
        self.desk = desk
        self.log_path = log_path
        if os.path.exists(log_path):
            os.remove(log_path)
        exe = os.path.join(desk.build, "win", "bin", "drop_probe.exe")
        if not os.path.exists(exe):
            raise Skipped("drop_probe.exe is not built")
        self.proc = subprocess.Popen(["wine", exe, desk.winpath(log_path)] + [desk.winpath(f) for f in files],
                                     stdin=subprocess.DEVNULL, stdout=desk.log, stderr=desk.log)
        wait_for(lambda: any(line.startswith("ready") for line in self.lines()), "drop_probe ready", 30)
        self.window = desk.wait_window(title="Zuvo Drop Probe")

    def lines(self):
        if not os.path.exists(self.log_path):
            return []
        with open(self.log_path, encoding="utf-8", errors="replace") as f:
            return f.read().splitlines()

    def drag_to(self, x, y):
        """Presses the probe's window and drags its files to x, y."""
        cx, cy = self.window.centre
        self.desk.drag(cx, cy, x, y)
        return wait_for(lambda: next((ln for ln in self.lines() if ln.startswith("drag ")), None),
                        "the probe's drag to end")

    def close(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
