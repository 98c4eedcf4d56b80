# Drives the program through its accessibility tree (AT-SPI): windows, menu items and controls
# are found by the names they show. Each command waits up to UI_TIMEOUT s for what it needs.
#   startup SHOT    answers each message box by its default button (screenshot SHOT-message.png
#                   first) until the main window shows; prints messages=, title=, size=
#   do PATH         the object's first action (press, a menu item's), once it has one
#   where PATH      its centre on the screen, "x y";    title PATH   its name, once it shows
#   gone PATH       until it no longer shows;           set TEXT PATH   a text field's content
# PATH: a window, then a descendant of it, then one of that...; each step [role:]name, the name
# a shell pattern ("frame:Tesmar*", "push button:确定", "image:" for one without a name).
import fnmatch
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import Atspi, GLib


def matches(acc, step):
    role, _, name = step.partition(":") if ":" in step else ("", "", step)
    return fnmatch.fnmatchcase(acc.name or "", name) and role in ("", acc.getRoleName())


def windows():
    desktop = pyatspi.Registry.getDesktop(0)
    desktop.clearCache()
    return [w for app in desktop for w in app or [] if w.getState().contains(pyatspi.STATE_SHOWING)]


def each(acc):
    for child in filter(None, acc):
        yield child
        yield from each(child)


def find(path):
    for acc in (w for w in windows() if matches(w, path[0])):
        for step in path[1:]:
            acc = next((d for d in each(acc) if matches(d, step)), None)
            if acc is None:
                break
        else:
            return acc


def wait(what, probe):
    end = time.monotonic() + float(os.environ.get("UI_TIMEOUT", "20"))
    while True:
        try:
            found = probe()
        except Exception:  # the tree changes while the program works
            found = None
        if found or time.monotonic() > end:
            return found or sys.exit(f"ui: timed out waiting for {what}")
        time.sleep(0.1)


def act(acc):
    Atspi.set_timeout(1000, -1)  # an action that opens a modal dialog answers once it closes
    try:
        acc.queryAction().doAction(0)
    except GLib.Error as e:
        if "reply" not in str(e):
            raise


def startup(shot):
    messages = 0
    while True:
        shown = wait("a window", windows)
        alert = next((w for w in shown if w.getRoleName() == "alert"), None)
        if alert is None:
            break
        messages += 1
        subprocess.run(["import", "-window", "root", shot + "-message.png"])
        act(wait("its default button", lambda: next(
            b for b in each(alert) if b.getState().contains(pyatspi.STATE_IS_DEFAULT))))
        wait("the message to close", lambda: alert not in windows())
    main = shown[0]
    e = main.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    print(f"messages={messages}\ntitle={main.name}\nsize={e.width}x{e.height}")


def main(command, *path):
    what = " > ".join(path)
    if command == "startup":
        startup(*path)
    elif command == "do":
        act(wait(what, lambda: (acc := find(path)) and acc.queryAction().nActions and acc))
    elif command == "where":
        e = wait(what, lambda: find(path)).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        print(e.x + e.width // 2, e.y + e.height // 2)
    elif command == "title":
        print(wait(what, lambda: find(path)).name)
    elif command == "gone":
        wait(what + " to close", lambda: not find(path))
    elif command == "set":
        wait(what, lambda: find(path[1:])).queryEditableText().setTextContents(path[0])


main(*sys.argv[1:])
