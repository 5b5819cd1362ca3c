#!/usr/bin/env python3
"""Plays the story in a data folder through the real window the way a screen
reader user would, reading it over the desktop's accessibility bus.

Run on an X display and inside a D-Bus session of its own:
    xvfb-run -a dbus-run-session -- read_story.py MIREL DATA WORKDIR
Starts the accessibility bus, then the game; reads the first message from
the accessible tree, clicks, hears the next message arrive with an event,
finds the choice's answers as buttons, picks the second with Down and
Enter and reads the message of that answer. Exit status 0 when all of it
was seen, 1 with what was missing otherwise.
"""
import os
import subprocess
import sys
import time

FIRST, NEXT = "はじめの言葉。", "つぎの言葉。"
ANSWERS = ["左", "真ん中", "右"]
PICKED = "真ん中を選んだ。"
TIMEOUT = 60


def fail(why):
    print("screen reader test: " + why, flush=True)
    sys.exit(1)


try:
    import pyatspi
    from gi.repository import GLib
except ImportError as e:
    fail("needs python3-pyatspi (scripts/packages.sh): %s" % e)

mirel, data, work = sys.argv[1:4]
if not os.environ.get("DISPLAY"):
    fail("needs an X display of its own (run under xvfb-run)")
launcher = "/usr/libexec/at-spi-bus-launcher"
if not os.path.exists(launcher):
    fail("needs at-spi2-core (scripts/packages.sh): no " + launcher)
bus = subprocess.Popen([launcher, "--launch-immediately"])
time.sleep(1)

env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
           MIREL_LOCK_DIR=work, XDG_CONFIG_HOME=os.path.join(work, "xdg"), XDG_DATA_HOME=os.path.join(work, "xdg"))
game = subprocess.Popen([mirel, "--data", data, "--soundfont", "none"], env=env)

events = []


def heard(e):
    events.append((e.type, str(e.any_data) if e.any_data is not None else "", e.source.name if e.source else ""))


pyatspi.Registry.registerEventListener(heard, "object:property-change:accessible-name", "object:children-changed")


def pump(seconds=0.05):
    end = time.time() + seconds
    ctx = GLib.MainContext.default()
    while time.time() < end:
        while ctx.iteration(False):
            pass
        time.sleep(0.01)


def app():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        a = desktop.getChildAtIndex(i)
        if a is not None and a.name.lower() == "mirel":
            return a
    return None


def walk(node, out):
    try:
        out.append(node)
        for i in range(node.childCount):
            c = node.getChildAtIndex(i)
            if c is not None:
                walk(c, out)
    except Exception:
        pass
    return out


def named(role):
    a = app()
    if a is None:
        return []
    return [n.name for n in walk(a, []) if n.getRoleName() == role]


def wait_for(what, test):
    end = time.time() + TIMEOUT
    while time.time() < end:
        if game.poll() is not None:
            fail("the game ended (status %s) before %s" % (game.returncode, what))
        pump(0.2)
        try:
            if test():
                return
        except Exception:
            pass
    fail("not seen in %d s: %s; paragraphs %s, buttons %s" % (TIMEOUT, what, named("paragraph"), named("push button")))


def xdotool(*args):
    return subprocess.run(["xdotool"] + list(args), capture_output=True, text=True).stdout.strip()


def window():
    ids = xdotool("search", "--name", "^MIREL$").split()
    if not ids:
        fail("no window named MIREL")
    return ids[0]


def click():
    w = window()
    xdotool("mousemove", "--window", w, "320", "200", "click", "1")


def key(name):
    xdotool("windowfocus", "--sync", window())
    xdotool("key", name)


try:
    if subprocess.run(["which", "xdotool"], capture_output=True).returncode != 0:
        fail("needs xdotool (scripts/packages.sh)")
    wait_for("the first message " + FIRST, lambda: FIRST in named("paragraph"))
    events.clear()
    click()
    wait_for("the next message " + NEXT, lambda: NEXT in named("paragraph"))
    # It was told, not only found: the picture was renamed with it.
    pump(0.5)
    if not any(t.startswith("object:property-change:accessible-name") and NEXT in (d + s) for t, d, s in events):
        fail("no name change event with the next message; heard %s" % events[-10:])
    click()
    wait_for("the answers " + ", ".join(ANSWERS), lambda: named("push button")[-3:] == ANSWERS)
    key("Down")
    pump(0.5)
    key("Return")
    wait_for("the second answer's message " + PICKED, lambda: PICKED in named("paragraph"))
    click()
    end = time.time() + TIMEOUT
    while game.poll() is None and time.time() < end:
        pump(0.2)
    if game.returncode != 0:
        fail("the game did not end by the story's quit (status %s)" % game.returncode)
    print("screen reader test: the story was read, the answer taken", flush=True)
finally:
    if game.poll() is None:
        game.kill()
    bus.terminate()
