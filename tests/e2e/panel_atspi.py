#!/usr/bin/env python3
"""AT-SPI client for panel_atspi.sh: reads the running panel as a screen reader would and
operates it by its controls' actions.

  panel_atspi.py <log folder of the panel's copy> <the panel's places, as panelgeom writes them>

Prints what it saw; exits 0 when every check held, 1 with the failed check otherwise.
"""
import glob
import os
import re
import shlex
import sys
import time

import pyatspi
from gi.repository import GLib

LOG_DIR = sys.argv[1]
events = []


def read_places(path):
    """The panel's places by name, "left top right bottom" in panel units."""
    places = {}
    with open(path) as f:
        for line in f:
            m = re.match(r"^(\w+)=(.*)$", line.strip())
            if m:
                places[m.group(1)] = [int(v) for v in shlex.split(m.group(2))[0].split()]
    return places


PLACES = read_places(sys.argv[2])


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def pump(seconds):
    """Lets events arrive for the given time."""
    end = time.monotonic() + seconds
    ctx = GLib.MainContext.default()
    while time.monotonic() < end:
        while ctx.iteration(False):
            pass
        time.sleep(0.05)


def wait_for(what, seconds, test):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        result = test()
        if result:
            return result
        pump(0.2)
    fail("timed out waiting for " + what)


def panel_window():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == "KZTRMaster":
            for win in app:
                # The frame exists, hidden, during the splash; the panel is what shows.
                if win is not None and win.getRoleName() == "frame" and "showing" in states(win):
                    return win
    return None


def states(acc):
    return {pyatspi.stateToString(s) for s in acc.getState().getStates()}


def children(win):
    win.clearCache()
    return [win.getChildAtIndex(i) for i in range(win.childCount)]


def find(win, role, name):
    found = [c for c in children(win) if c.getRoleName() == role and c.name == name]
    if len(found) != 1:
        fail("expected one %s %r, found %d" % (role, name, len(found)))
    return found[0]


def do(acc, action):
    act = acc.queryAction()
    names = [act.getName(i) for i in range(act.nActions)]
    if action not in names:
        fail("%r has no action %r (has %s)" % (acc.name, action, names))
    act.doAction(names.index(action))


def value(acc):
    return acc.queryValue().currentValue


def show(win, title):
    print(title)
    for c in children(win):
        extra = ""
        if "Value" in pyatspi.listInterfaces(c):
            extra = " value=%g" % value(c)
        print("  %-12s %-32r %s%s" % (c.getRoleName(), c.name, ",".join(sorted(states(c))), extra))


def expect_states(win, role, name, present=(), absent=()):
    st = states(find(win, role, name))
    for s in present:
        if s not in st:
            fail("%s %r is not %s (%s)" % (role, name, s, sorted(st)))
    for s in absent:
        if s in st:
            fail("%s %r is %s" % (role, name, s))


def on_event(event):
    events.append((event.type, event.source.name if event.source else "", event.detail1))


# As a screen reader listens: the bridge sends only what somebody listens to.
pyatspi.Registry.registerEventListener(
    on_event, "object:state-changed", "object:property-change:accessible-value", "object:value-changed"
)

win = wait_for("the panel on the accessibility bus", 30, panel_window)
if win.name != "nIVRA - v3.11":
    fail("window named %r" % win.name)
if os.environ.get("KZTR_ATSPI_VERBOSE"):
    show(win, "Not connected:")

# Every kind of control, by role and name, with its state before a connect.
for role, name in [
    ("push button", "Exit"),
    ("push button", "Apply"),
    ("push button", "HW Reset"),
    ("push button", "Vertical Rate +"),
    ("push button", "Pattern"),
    ("radio button", "Horz Polarity Positive (-)"),
    ("radio button", "EDID Version v1.2"),
    ("spin button", "Vertical Rate"),
    ("spin button", "Width"),
    ("slider", "Output Resolution"),
    ("label", "Parameter -"),
]:
    find(win, role, name)
expect_states(win, "push button", "Serial COM", present=["enabled"], absent=["checked"])
expect_states(win, "push button", "Exit", present=["enabled"])
expect_states(win, "push button", "Apply", absent=["enabled"])
expect_states(win, "check box", "Device Setting Sync", present=["checked"], absent=["enabled"])
expect_states(win, "radio button", "Horz Polarity Positive (+)", present=["checked"], absent=["enabled"])
if any(c.name == "SW Reset" for c in children(win)):
    fail("the hidden SW Reset button is offered")
if any(c.getRoleName() == "radio button" and c.name.startswith("FW: ") for c in children(win)):
    fail("device columns offered before a connect")
rate = find(win, "spin button", "Vertical Rate").queryValue()
if (rate.currentValue, rate.minimumValue, rate.maximumValue) != (20, 20, 120):
    fail("Vertical Rate reads %g in %g..%g" % (rate.currentValue, rate.minimumValue, rate.maximumValue))

# The extents are on the screen where the switch is drawn: the panel centred on the fixed
# 1600 x 1050 area, the switch at its place of the layout.
_, _, panel_w, panel_h = PLACES["rect_panel"]
panel_x, panel_y = (1600 - panel_w) // 2, (1050 - panel_h) // 2
left, top, right, bottom = PLACES["rect_serial"]
ext = find(win, "push button", "Serial COM").queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
expected = (panel_x + left, panel_y + top, right - left, bottom - top)
if (ext.x, ext.y, ext.width, ext.height) != expected:
    fail("Serial COM extents %s, expected %s" % (ext, expected))

# Connecting by the switch's action reaches the simulated controllers.
do(find(win, "push button", "Serial COM"), "Toggle")


def connected():
    radios = [c for c in children(win) if c.getRoleName() == "radio button" and c.name.startswith("FW: ")]
    return radios if len(radios) == 3 and "enabled" in states(find(win, "push button", "Apply")) else None


radios = wait_for("three device columns after the connect", 60, connected)
if os.environ.get("KZTR_ATSPI_VERBOSE"):
    show(win, "Connected:")
names = [r.name for r in radios]
for com in (1, 2, 3):
    if not any("COM: %d BoxID: %d" % (com, com) in n for n in names):
        fail("no device column for COM%d in %s" % (com, names))
expect_states(win, "push button", "Serial COM", present=["checked", "enabled"])
if "checked" not in states(radios[0]):
    fail("the first device column is not checked")
if ("object:state-changed:checked", "Serial COM", 1) not in events:
    fail("no checked notification from the switch: %s" % events[:20])
if not any(t == "object:state-changed:enabled" and n == "Apply" and d == 1 for t, n, d in events):
    fail("no enabled notification from Apply")
log = "".join(open(p, errors="replace").read() for p in glob.glob(os.path.join(LOG_DIR, "*.txt")))
# One line per command sent: the first controller was asked for its configuration.
if "(ID = 01)" not in log:
    fail("the daily log has no command to box ID 1 after the connect: %r" % log[:300])
model = [c.name for c in children(win) if c.getRoleName() == "label" and "Polarity:" in c.name]
if not model:
    fail("no model label after the connect")
print("model label:", model[0])

# Increase on a number box goes through its + button; the value notification follows.
before = value(find(win, "spin button", "Vertical Rate"))
events.clear()
do(find(win, "spin button", "Vertical Rate"), "Increase")
wait_for("Vertical Rate to rise", 10, lambda: value(find(win, "spin button", "Vertical Rate")) == before + 1)
# The notification travels over the bus on its own: on a busy machine it may come well
# after the value can be read.
wait_for("a value notification from Vertical Rate", 10,
         lambda: any(t in ("object:property-change:accessible-value", "object:value-changed")
                     and n == "Vertical Rate" for t, n, _ in events))

# A radio chosen by its action.
do(find(win, "radio button", "EDID Version v1.3"), "Toggle")
wait_for("EDID Version v1.3 checked", 10, lambda: "checked" in states(find(win, "radio button", "EDID Version v1.3")))
expect_states(win, "radio button", "EDID Version v1.1", absent=["checked"])

# Exit ends the program (the shell sees it go).
do(find(win, "push button", "Exit"), "Press")
print("Exit pressed")
