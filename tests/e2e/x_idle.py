#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Waits until the program that owns an X window has handled everything sent
to it so far.

The window is pinged (_NET_WM_PING) a few times in a row and each answer
awaited: the program answers from its event loop, after the input events that
reached the X server before the ping, and each further round is one more turn
of its event loop, in which what that input asked for (a repaint, a changed
title) is done.

usage: x_idle.py WINDOW [ROUNDS] [TIMEOUT_SECONDS]
Exits 0 when every ping was answered, 1 on time-out, 2 without an X server.
Uses only libX11, through ctypes.
"""

import ctypes
import ctypes.util
import select
import sys
import time

CLIENT_MESSAGE = 33
STRUCTURE_NOTIFY_MASK = 1 << 17
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


class XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xclient", XClientMessageEvent),
                ("pad", ctypes.c_long * 24)]


def main():
    window = int(sys.argv[1], 0)
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    timeout = float(sys.argv[3]) if len(sys.argv) > 3 else 20.0

    x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                             ctypes.POINTER(XEvent)]
    x.XFlush.argtypes = [ctypes.c_void_p]
    x.XPending.argtypes = [ctypes.c_void_p]
    x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
    x.XConnectionNumber.argtypes = [ctypes.c_void_p]

    display = x.XOpenDisplay(None)
    if not display:
        print("x_idle: cannot open the display", file=sys.stderr)
        return 2
    root = x.XDefaultRootWindow(display)
    protocols = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
    ping = x.XInternAtom(display, b"_NET_WM_PING", 0)
    # The answer is sent to the root window, where a window manager would hear it.
    x.XSelectInput(display, root, STRUCTURE_NOTIFY_MASK | SUBSTRUCTURE_NOTIFY_MASK)
    deadline = time.monotonic() + timeout
    for stamp in range(1, rounds + 1):
        event = XEvent()
        event.xclient.type = CLIENT_MESSAGE
        event.xclient.window = window
        event.xclient.message_type = protocols
        event.xclient.format = 32
        event.xclient.data[0] = ping
        event.xclient.data[1] = stamp
        event.xclient.data[2] = window
        x.XSendEvent(display, window, 0, 0, ctypes.byref(event))
        x.XFlush(display)
        answered = False
        while not answered:
            while x.XPending(display):
                x.XNextEvent(display, ctypes.byref(event))
                c = event.xclient
                if (c.type == CLIENT_MESSAGE and c.message_type == protocols and
                        c.data[0] == ping and c.data[1] == stamp):
                    answered = True
            if answered:
                break
            left = deadline - time.monotonic()
            if left <= 0:
                print(f"x_idle: window {window:#x} did not answer ping {stamp} within {timeout} s",
                      file=sys.stderr)
                return 1
            select.select([x.XConnectionNumber(display)], [], [], min(left, 0.1))
    return 0


if __name__ == "__main__":
    sys.exit(main())
