#!/usr/bin/python3
# Tunefold - lists the MP3 files of a folder as an HTML page.
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads Tunefold's main window as a screen reader does, through AT-SPI, and
makes a list with nothing but the bus: the star's press, the save dialog's
file name and Save button, the final message's OK.

Usage: atspi_walk.py LIST   (LIST: where to save, without ".html")
"""
import os
import sys
import time

import pyatspi

TITLE = "Harrowfen's Tunefold"


def fail(message):
    print("accessibility: " + message, file=sys.stderr)
    sys.exit(1)


def wait_for(what, find, seconds=15):
    """The first non-empty result of find(), tried until seconds pass."""
    for _ in range(int(seconds * 10)):
        found = find()
        if found:
            return found
        time.sleep(0.1)
    fail("no " + what)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == "Tunefold":
            return app
    return None


def walk(node):
    """node and everything below it that is showing."""
    yield node
    for child in node:
        if child is not None and child.getState().contains(pyatspi.STATE_SHOWING):
            yield from walk(child)


def window(app, name):
    return next((w for w in app if w is not None and w.name == name), None)


def named(nodes, role, name=None):
    return [n for n in nodes if n.getRole() == role and (name is None or n.name == name)]


def press(node, action="Press"):
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if action not in names:
        fail(f"{node.getRoleName()} \"{node.name}\" offers {names}, not {action}")
    actions.doAction(names.index(action))


app = wait_for("Tunefold on the accessibility bus", application)
main = wait_for(f"window \"{TITLE}\"", lambda: window(app, TITLE))
nodes = list(walk(main))

# Every control is heard with a role and a name; containers need none.
CONTROLS = {pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_LIST, pyatspi.ROLE_LABEL,
            pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_IMAGE, pyatspi.ROLE_MENU_ITEM,
            pyatspi.ROLE_MENU, pyatspi.ROLE_STATUS_BAR}
for node in nodes:
    if node.getRole() in CONTROLS and not node.name.strip():
        fail(f"a {node.getRoleName()} without a name")
labels = {n.name for n in named(nodes, pyatspi.ROLE_LABEL)}
for text in ("Drive:", "Look in:", "Idle"):
    if text not in labels:
        fail(f"no label \"{text}\" among {sorted(labels)}")
if not any(t.startswith("What now?") for t in labels):
    fail("the instructions are not read")
if not named(nodes, pyatspi.ROLE_LIST, "Look in"):
    fail("no list \"Look in\"")
if not named(nodes, pyatspi.ROLE_IMAGE, "A man who shrugs"):
    fail("no picture of the man")
menus = {n.name for n in nodes if n.getRole() in (pyatspi.ROLE_MENU, pyatspi.ROLE_MENU_ITEM)}
if not {"File", "Help"} <= menus:
    fail(f"menus read as {sorted(menus)}")

# The drive list is named by its caption, the way a screen reader reads a
# drop-down.
combos = named(nodes, pyatspi.ROLE_COMBO_BOX)
if len(combos) != 1:
    fail(f"{len(combos)} combo boxes")
labelled_by = [r.getTarget(i).name for r in combos[0].getRelationSet()
               if r.getRelationType() == pyatspi.RELATION_LABELLED_BY
               for i in range(r.getNTargets())]
if labelled_by != ["Drive:"]:
    fail(f"the drive list is labelled by {labelled_by}")

# The star: a button that takes the focus and starts the search when pressed.
stars = named(nodes, pyatspi.ROLE_PUSH_BUTTON, "Star")
if len(stars) != 1 or not stars[0].getState().contains(pyatspi.STATE_FOCUSABLE):
    fail("no focusable button \"Star\"")
if not stars[0].description:
    fail("the star has no description")
press(stars[0])

dialog = wait_for("save dialog", lambda: window(app, "Save your MP3 list..."))
dialog_nodes = list(walk(dialog))
entries = [n for n in dialog_nodes
           if n.getRole() == pyatspi.ROLE_TEXT and "EditableText" in pyatspi.listInterfaces(n)]
if not entries:
    fail("the save dialog has no file name to type in")
entries[-1].queryEditableText().setTextContents(sys.argv[1])
press(named(dialog_nodes, pyatspi.ROLE_PUSH_BUTTON, "Save")[0])

finished = wait_for("final message", lambda: window(app, "Finished"))
press(named(list(walk(finished)), pyatspi.ROLE_PUSH_BUTTON, "OK")[0])
with open(sys.argv[1] + ".html", encoding="latin-1") as page:
    if "First Song.mp3" not in page.read():
        fail("the list does not name the song")
print("accessibility: passed")
