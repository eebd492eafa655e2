#!/usr/bin/python3
"""What a screen reader finds in Ostrel's main window through AT-SPI, and what it can do there.

Run by accessibility_lan_test.sh once Ostrel shows the list it was given: PC1's agent answers,
Gone-PC's does not, and Typed-PC was added by hand. The pointer and the keys go through xdotool,
as a user's would. With "page-menu", the context menu of PC1's page once the test opened it
again. With "after-delete", only the rows once the test deleted Typed-PC: menus are not on the
bus, so the test opens the entry menu and watches it on the screen.
"""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

PC1 = "http://PC1:8080"
GONE = "http://Gone-PC:8080"
TYPED = "Typed-PC:8080"
TITLE = "Ostrel 4.1.1"

# The rows' middle across and row 0's middle down, on the screen: the window is maximised at
# the origin without a frame, the list starts at 101 and its rows are 50 high.
ROW_X = 142
ROW_Y = 126

events = []


def fail(message):
    print(f"FAIL (accessibility): {message}", file=sys.stderr)
    sys.exit(1)


def until(seconds, predicate, what):
    """The predicate's first true value, taking the bus's events meanwhile; fails after seconds."""
    deadline = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while True:
        while context.pending():
            context.iteration(False)
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            fail(what)
        time.sleep(0.05)


def xdotool(*arguments):
    subprocess.run(["xdotool", *arguments], check=True)


def find(root, role, name=None):
    return pyatspi.findDescendant(
        root, lambda node: node.getRole() == role and (name is None or node.name == name), breadth_first=True
    )


def window_named(app, title):
    return next((window for window in app if window is not None and window.name == title), None)


def ostrel():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "ostrel":
            return app
    return None


def rows(listView):
    return [(row.name, row.description) for row in listView]


def states(node):
    return node.getState()


def do_action(node, name):
    action = node.queryAction()
    names = [action.getName(index) for index in range(action.nActions)]
    if name not in names:
        fail(f"{node.getRoleName()} '{node.name}' offers {names}, not {name}")
    action.doAction(names.index(name))


def record(event):
    source = event.source
    events.append((event.type, source.name if source else None, event.detail1))


def description_changes(name):
    return sum(1 for kind, source, _ in events
               if kind == "object:property-change:accessible-description" and source == name)


def after_delete():
    """The rows once the test deleted Typed-PC through its menu: the others read their own texts."""
    app = until(10, ostrel, "Ostrel left the accessibility bus")
    listView = until(5, lambda: find(app, pyatspi.ROLE_LIST), "no list")
    expected = [(PC1, "online"), (GONE, "offline")]
    until(10, lambda: rows(listView) == expected, f"after the delete the rows read {rows(listView)}, not {expected}")


def main():
    app = until(30, ostrel, "Ostrel did not appear on the accessibility bus")
    window = until(10, lambda: window_named(app, TITLE), "no main window named after the title")
    # The main window is the one frame at the top: the web view's offscreen window is none.
    frames = [(top.name, top.getRoleName()) for top in app if top.getRole() == pyatspi.ROLE_FRAME]
    if frames != [(TITLE, "frame")]:
        fail(f"the top-level frames are {frames}, not the main window alone")
    pyatspi.Registry.registerEventListener(
        record, "object:property-change:accessible-description", "object:state-changed:focused",
        "object:state-changed:selected")

    # The controls a screen reader names.
    findButton = until(5, lambda: find(window, pyatspi.ROLE_PUSH_BUTTON, "Find computers"),
                       "no button named Find computers")
    until(5, lambda: find(window, pyatspi.ROLE_PUSH_BUTTON, "Add computer"), "no button named Add computer")
    until(5, lambda: find(window, pyatspi.ROLE_LABEL, "Read How to Monitor Computers Remotely"),
          "the help link has no name")

    # The status line has a name while it is empty; what it says is its description.
    statusLine = until(5, lambda: find(window, pyatspi.ROLE_LABEL, "Status"), "the status line has no name")
    if statusLine.description:
        fail(f"the status line says '{statusLine.description}' before anything was opened")

    # Every row reads its address and its status: online, offline, or nothing without one.
    listView = until(5, lambda: find(window, pyatspi.ROLE_LIST, "Computers"), "no list named Computers")
    expected = [(PC1, "online"), (GONE, "offline"), (TYPED, "")]
    until(20, lambda: rows(listView) == expected, f"the rows read {rows(listView)}, not {expected}")
    if any(row.getRole() != pyatspi.ROLE_LIST_ITEM for row in listView):
        fail("a row is not a list item")

    # A scan marks PC1 offline and its answer online again; each change is announced.
    # Qt's bridge sends the object, not the text, with the event: the texts are read after it.
    events.clear()
    do_action(findButton, "Press")
    until(10, lambda: description_changes(PC1) == 2 and listView[0].description == "online",
          f"the scan announced {description_changes(PC1)} changes of {PC1}, which reads '{listView[0].description}'")
    if description_changes(GONE) or description_changes(TYPED):
        fail("the scan announced descriptions that did not change")

    # Activating a row selects, focuses and opens it, as a click does: the status line, then the title.
    do_action(listView[0], "Toggle")
    until(10, lambda: states(listView[0]).contains(pyatspi.STATE_SELECTED),
          "the activated row is not selected")
    if not states(listView[0]).contains(pyatspi.STATE_FOCUSED):
        fail("the activated row does not have the focus")
    until(10, lambda: statusLine.description == "Connecting...", "the status line does not read Connecting...")
    until(20, lambda: window_named(app, f"{TITLE} - {PC1}"), "activating the row did not open it")
    until(10, lambda: statusLine.description == "", "the status line still reads "
          f"'{statusLine.description}' once the page has loaded")

    # The keyboard moves the selection; the screen reader follows the focus to the next row.
    events.clear()
    xdotool("mousemove", str(ROW_X), str(ROW_Y), "click", "1")
    xdotool("key", "Down")
    until(10, lambda: any(kind == "object:state-changed:focused" and source == GONE and gained
                          for kind, source, gained in events), f"no focus event for {GONE}: {events}")
    until(5, lambda: states(listView[1]).contains(pyatspi.STATE_SELECTED),
          "the row reached by the keyboard is not selected")
    if states(listView[0]).contains(pyatspi.STATE_SELECTED):
        fail("the row left is still selected")
    # The engine writes the host in lower case.
    failed = f"unable to connect ({GONE.lower()}"
    until(20, lambda: statusLine.description.lower().startswith(failed),
          "the status line does not say that Gone-PC could not be reached")


def page_menu():
    """The context menu of PC1's page, opened on a link: only what the view carries out.

    Menus are not among the program's windows on the bus; their items are reached through the
    focus events they send as the keyboard moves through them.
    """
    app = until(10, ostrel, "Ostrel left the accessibility bus")
    until(20, lambda: window_named(app, f"{TITLE} - {PC1}"), "PC1's page is not shown")
    focused = []
    pyatspi.Registry.registerEventListener(
        lambda event: event.detail1 and focused.append(event.source), "object:state-changed:focused")
    # The page's first link, "Overview", 16 pixels into the view at 288,1.
    xdotool("mousemove", str(288 + 16 + 20), str(1 + 16 + 9), "click", "3")
    xdotool("key", "Down")
    item = until(10, lambda: next((node for node in focused if node.getRole() == pyatspi.ROLE_MENU_ITEM), None),
                 "no item of the page's menu took the focus")
    items = [(node.name, node.getState().contains(pyatspi.STATE_ENABLED))
             for node in item.parent if node.getRole() != pyatspi.ROLE_SEPARATOR]
    xdotool("key", "Escape")
    expected = [("Back", True), ("Forward", False), ("Reload", True), ("Copy link address", True),
                ("Open link in browser", True)]
    if items != expected:
        fail(f"the page's menu on a link offers {items}, not {expected}")


if __name__ == "__main__":
    modes = {"after-delete": after_delete, "page-menu": page_menu}
    modes[sys.argv[1]]() if sys.argv[1:] else main()
    print("accessibility: passed")
