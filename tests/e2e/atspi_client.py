"""What a screen reader finds of the menu in the accessibility tree (AT-SPI).

  atspi_client.py wait SECONDS   waits for the program "automenu" to appear
  atspi_client.py list           its frame and the frame's children
  atspi_client.py do NAME        invokes the "click" action of the child NAME
  atspi_client.py events SECONDS prints the focus, name and window changes heard
"""
import sys
import time

import pyatspi
from gi.repository import GLib


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "automenu":
            return app
    return None


def frame():
    app = application()
    if app is None or app.childCount != 1:
        sys.exit("no application automenu with one frame")
    return app[0]


def states(accessible):
    shown = {pyatspi.STATE_FOCUSABLE: "focusable", pyatspi.STATE_FOCUSED: "focused",
             pyatspi.STATE_SHOWING: "showing", pyatspi.STATE_ACTIVE: "active"}
    have = accessible.getState()
    return ",".join(name for state, name in shown.items() if have.contains(state))


def actions(accessible):
    try:
        action = accessible.queryAction()
    except NotImplementedError:
        return ""
    return ",".join(f"{action.getName(i)}/{action.getLocalizedName(i)}" for i in range(action.nActions))


def list_tree():
    f = frame()
    x, y, w, h = f.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    print(f'{f.getRoleName()} "{f.name}" children={f.childCount} state={states(f)} at={x},{y} size={w}x{h}')
    for child in f:
        x, y, w, h = child.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
        print(f'child {child.getIndexInParent()} {child.getRoleName()} "{child.name}" '
              f'description="{child.description}" actions={actions(child)} state={states(child)} '
              f'at={x},{y} size={w}x{h}')


def do(name):
    for child in frame():
        if child.name == name:
            print("done" if child.queryAction().doAction(0) else "refused")
            return
    sys.exit(f"no child named {name}")


def events(seconds):
    def heard(event):
        try:
            if event.host_application is None or event.host_application.name != "automenu":
                return
        except Exception:
            return
        if event.type.startswith("object:state-changed:focused") and event.detail1:
            print(f'focus "{event.source.name}"', flush=True)
        elif event.type.startswith("object:property-change:accessible-name"):
            print(f'name "{event.any_data}"', flush=True)
        elif event.type in ("window:activate", "window:deactivate"):
            print(f'{event.type[7:]} "{event.source.name}"', flush=True)

    pyatspi.Registry.registerEventListener(heard, "object:state-changed:focused",
                                           "object:property-change:accessible-name",
                                           "window:activate", "window:deactivate")
    GLib.timeout_add(int(seconds * 1000), pyatspi.Registry.stop)
    print("listening", flush=True)
    pyatspi.Registry.start()


def wait(seconds):
    until = time.monotonic() + seconds
    while time.monotonic() < until:
        app = application()
        if app is not None and app.childCount == 1 and app[0].childCount > 0:
            return
        time.sleep(0.1)
    sys.exit("automenu did not appear in the accessibility tree")


command = sys.argv[1]
if command == "list":
    list_tree()
elif command == "do":
    do(sys.argv[2])
elif command == "events":
    events(float(sys.argv[2]))
elif command == "wait":
    wait(float(sys.argv[2]))
else:
    sys.exit(f"unknown command {command}")
