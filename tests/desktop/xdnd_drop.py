# Drops files on an X window the way a desktop file manager does: the XDND
# protocol with the files offered as text/uri-list.
#   python3 xdnd_drop.py WINDOW X Y FILE...   (X, Y inside the window)
# Exits 0 once the target has finished the drop and accepted it.
import ctypes
import ctypes.util
import sys
import time
import urllib.parse

x = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
Atom = Window = Time = ctypes.c_ulong


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", Window), ("message_type", Atom),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]


class SelectionRequest(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("owner", Window), ("requestor", Window),
                ("selection", Atom), ("target", Atom), ("property", Atom), ("time", Time)]


class Selection(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("requestor", Window), ("selection", Atom),
                ("target", Atom), ("property", Atom), ("time", Time)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("client", ClientMessage), ("request", SelectionRequest),
                ("selection", Selection), ("pad", ctypes.c_long * 24)]


CLIENT_MESSAGE, SELECTION_REQUEST, SELECTION_NOTIFY = 33, 30, 31
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XInternAtom.restype = Atom
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XDefaultRootWindow.restype = Window
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XCreateSimpleWindow.restype = Window
x.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, Window] + [ctypes.c_int] * 4 + [ctypes.c_uint] + [ctypes.c_ulong] * 2
x.XSetSelectionOwner.argtypes = [ctypes.c_void_p, Atom, Window, Time]
x.XSendEvent.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_long, ctypes.POINTER(Event)]
x.XPending.argtypes = [ctypes.c_void_p]
x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(Event)]
x.XFlush.argtypes = [ctypes.c_void_p]
x.XChangeProperty.argtypes = [ctypes.c_void_p, Window, Atom, Atom, ctypes.c_int, ctypes.c_int,
                              ctypes.c_char_p, ctypes.c_int]
x.XTranslateCoordinates.argtypes = [ctypes.c_void_p, Window, Window, ctypes.c_int, ctypes.c_int,
                                    ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int),
                                    ctypes.POINTER(Window)]

target, wx, wy = int(sys.argv[1], 0), int(sys.argv[2]), int(sys.argv[3])
uris = "".join("file://" + urllib.parse.quote(p) + "\r\n" for p in sys.argv[4:]).encode()

dpy = x.XOpenDisplay(None)
if not dpy:
    sys.exit("xdnd_drop: no display")
atom = lambda name: x.XInternAtom(dpy, name.encode(), 0)
root = x.XDefaultRootWindow(dpy)
source = x.XCreateSimpleWindow(dpy, root, 0, 0, 1, 1, 0, 0, 0)
x.XSetSelectionOwner(dpy, atom("XdndSelection"), source, 0)
rx, ry, child = ctypes.c_int(), ctypes.c_int(), Window()
x.XTranslateCoordinates(dpy, target, root, wx, wy, ctypes.byref(rx), ctypes.byref(ry), ctypes.byref(child))


def send(name, *longs):
    e = Event()
    e.client.type = CLIENT_MESSAGE
    e.client.window = target
    e.client.message_type = atom(name)
    e.client.format = 32
    for i, v in enumerate(longs):
        e.client.l[i] = v
    x.XSendEvent(dpy, target, 0, 0, ctypes.byref(e))
    x.XFlush(dpy)


def pump(seconds, wanted=None):
    """Answers data requests; returns the wanted client message or None."""
    deadline = time.time() + seconds
    while time.time() < deadline:
        while x.XPending(dpy):
            e = Event()
            x.XNextEvent(dpy, ctypes.byref(e))
            if e.type == SELECTION_REQUEST:
                r = e.request
                reply = Event()
                reply.selection.type = SELECTION_NOTIFY
                reply.selection.requestor = r.requestor
                reply.selection.selection = r.selection
                reply.selection.target = r.target
                reply.selection.time = r.time
                reply.selection.property = 0
                if r.target == atom("text/uri-list"):
                    x.XChangeProperty(dpy, r.requestor, r.property, r.target, 8, 0, uris, len(uris))
                    reply.selection.property = r.property
                x.XSendEvent(dpy, r.requestor, 0, 0, ctypes.byref(reply))
                x.XFlush(dpy)
            elif e.type == CLIENT_MESSAGE and wanted and e.client.message_type == atom(wanted):
                return e.client
        time.sleep(0.01)
    return None


send("XdndEnter", source, 5 << 24, atom("text/uri-list"), 0, 0)
pump(1.0)
status = None
for _ in range(20):
    send("XdndPosition", source, 0, (rx.value << 16) | ry.value, 0, atom("XdndActionCopy"))
    status = pump(0.5, "XdndStatus")
    if status and status.l[1] & 1:
        break
if not status or not status.l[1] & 1:
    sys.exit("xdnd_drop: the window does not accept the drop")
send("XdndDrop", source, 0, 0)
finished = pump(10, "XdndFinished")
if not finished:
    sys.exit("xdnd_drop: the drop did not finish")
print("xdnd_drop: dropped")
