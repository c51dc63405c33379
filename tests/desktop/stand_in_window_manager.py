"""A stand-in window manager: announces one on the display (the root
window's _NET_SUPPORTING_WM_CHECK, as a real one does) and stays connected,
so the announcement lasts, until its standard input closes."""
import ctypes
import sys

x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XChangeProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
                              ctypes.c_int, ctypes.c_void_p, ctypes.c_int]
x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]

display = x.XOpenDisplay(None)
if not display:
    sys.exit("no display")
root = x.XDefaultRootWindow(display)
check = ctypes.c_ulong(root)
x.XChangeProperty(display, root, x.XInternAtom(display, b"_NET_SUPPORTING_WM_CHECK", 0),
                  x.XInternAtom(display, b"WINDOW", 0), 32, 0, ctypes.byref(check), 1)
x.XSync(display, 0)
print("ready", flush=True)
sys.stdin.read()
