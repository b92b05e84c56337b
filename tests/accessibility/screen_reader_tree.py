#!/usr/bin/python3
"""Starts the editor in a game folder and reads its windows as a screen reader
does, over the AT-SPI bus: prints the tree and fails when a control that
takes the focus has no name, a labelled control is not named by its label,
a selector has no label, a spin field no value or range, or the main window
is no frame; when another tab than the shown page's is selected, more or
less than one control is focused, a page is not named by its tab, a roster
entry is no check box with its mark, or a page's unsaved edit is not heard
on its tab. The states are read first with the main window focused by a
window manager; then both help windows are opened through their buttons'
own press actions, and the history window with Ctrl+H, so that they are
read too.

Usage: screen_reader_tree.py EDITOR GAME-FOLDER"""

import os
import signal
import subprocess
import sys
import time

import pyatspi

APPLICATION = "Tavrik Control Centre"
SPIN_FIELDS = 18
PAGES = ("Personality Editor", "Chat Editor", "Bot.cfg Editor")
ROSTER = "Which bots should be added the next time you play this mod?"
# The run script leaves the fifth bot out of bot.cfg.
ROSTER_MARKS = [True, True, True, True, False]
HELP_WINDOWS = ("Personality Help", "Chat File Help")
HISTORY_WINDOW = "History of cstrike/bot1/personality.txt"
DEADLINE_SECONDS = 60


def wait_for(what, find):
    deadline = time.monotonic() + DEADLINE_SECONDS
    while time.monotonic() < deadline:
        try:
            found = find()
        except Exception:  # the application may be half-registered
            found = None
        if found is not None:
            return found
        time.sleep(0.25)
    sys.exit("timed out waiting for " + what)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == APPLICATION:
            return app
    return None


def windows(app):
    return [app.getChildAtIndex(i) for i in range(app.childCount)]


def window_named(app, name):
    for window in windows(app):
        if window.name == name and window.getState().contains(pyatspi.STATE_SHOWING):
            return window
    return None


def walk(node, depth=0):
    yield node, depth
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def labels_of(node):
    return [relation.getTarget(i)
            for relation in node.getRelationSet()
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
            for i in range(relation.getNTargets())]


def describe(node):
    line = '%s "%s"' % (node.getRoleName(), node.name)
    if node.getState().contains(pyatspi.STATE_FOCUSABLE):
        line += " focusable"
    for label in labels_of(node):
        line += ' labelled by "%s"' % label.name
    try:
        value = node.queryValue()
        line += " value %g in %g..%g" % (value.currentValue, value.minimumValue, value.maximumValue)
    except NotImplementedError:
        pass
    return line


def find_button(app, name):
    for window in windows(app):
        for node, _ in walk(window):
            if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and node.name == name:
                return node
    return None


def press(app, name):
    button = wait_for("the button " + name, lambda: find_button(app, name))
    actions = button.queryAction()
    for i in range(actions.nActions):
        if actions.getName(i).lower() in ("press", "click"):
            actions.doAction(i)
            return
    sys.exit("the button %s cannot be pressed" % name)


def nodes(app):
    for window in windows(app):
        if window.getState().contains(pyatspi.STATE_SHOWING):
            yield from (node for node, _ in walk(window))


def check_states(app, shown_page):
    """The states a screen reader tells: selection, focus, names, marks."""
    faults = []
    all_nodes = list(nodes(app))
    tabs = [n for n in all_nodes if n.getRole() == pyatspi.ROLE_PAGE_TAB]
    selected = [t.name for t in tabs if t.getState().contains(pyatspi.STATE_SELECTED)]
    if selected != [shown_page]:
        faults.append("selected tabs %s, not the shown page's \"%s\"" % (selected, shown_page))
    focused = [describe(n) for n in all_nodes if n.getState().contains(pyatspi.STATE_FOCUSED)]
    if len(focused) != 1:
        faults.append("%d controls focused, not one: %s" % (len(focused), focused))
    for tab in tabs:
        if tab.getState().contains(pyatspi.STATE_FOCUSED) \
                and not tab.parent.getState().contains(pyatspi.STATE_FOCUSED):
            faults.append('the tab "%s" is focused while the tabs are not' % tab.name)
    for tab in tabs:
        if not any(n.name == tab.name and n.getRole() != pyatspi.ROLE_PAGE_TAB for n in all_nodes):
            faults.append('no page is named "%s" like its tab' % tab.name)
    rosters = [n for n in all_nodes if n.name == ROSTER and n.getRole() != pyatspi.ROLE_LABEL]
    # Qt 6.4 does not pass the checkable state on, so the entries are check
    # boxes, which screen readers read as checked or not either way.
    entries = [rosters[0].getChildAtIndex(i) for i in range(rosters[0].childCount)] if rosters else []
    if [n.getRole() for n in entries] != [pyatspi.ROLE_CHECK_BOX] * len(ROSTER_MARKS):
        faults.append("the roster's %d entries are not all check boxes" % len(entries))
    marks = [n.getState().contains(pyatspi.STATE_CHECKED) for n in entries]
    if marks != ROSTER_MARKS:
        faults.append("the roster reads the marks %s, not %s" % (marks, ROSTER_MARKS))
    return faults


def spin_field(app, name):
    return next(n for n in nodes(app) if n.getRole() == pyatspi.ROLE_SPIN_BUTTON and n.name == name)


def check_unsaved_mark(app):
    """An edit through the screen reader marks its page's tab, and the page."""
    spin_field(app, "Skill (1 = best, 5 = worst)").queryValue().currentValue = 4
    marked = "Personality Editor *"
    try:
        wait_for("the mark of the unsaved edit",
                 lambda: next(t for t in nodes(app)
                              if t.getRole() == pyatspi.ROLE_PAGE_TAB and t.name == marked))
    except SystemExit:
        return ['the tab of an unsaved edit is not read "%s"' % marked]
    return check_states(app, marked)


def check(app):
    faults = []
    spin_fields = 0
    for window in windows(app):
        if not window.getState().contains(pyatspi.STATE_SHOWING):
            continue
        for node, depth in walk(window):
            print("  " * depth + describe(node))
            role = node.getRole()
            if node.getState().contains(pyatspi.STATE_FOCUSABLE) and not node.name.strip():
                faults.append("a focusable %s in %s has no name" % (node.getRoleName(), describe(node.parent)))
            labels = labels_of(node)
            # Qt on Linux names a selector by its shown entry; its label
            # reaches the screen reader through the relation alone.
            if role == pyatspi.ROLE_COMBO_BOX and not labels:
                faults.append('the selector "%s" has no label' % node.name)
            for label in labels:
                expected = " ".join(label.name.split()).rstrip(":")
                if role != pyatspi.ROLE_COMBO_BOX and node.name != expected:
                    faults.append('"%s" is labelled "%s"' % (node.name, label.name))
            if role == pyatspi.ROLE_SPIN_BUTTON:
                spin_fields += 1
                try:
                    value = node.queryValue()
                    if value.minimumValue >= value.maximumValue:
                        faults.append('the spin field "%s" has no range' % node.name)
                except NotImplementedError:
                    faults.append('the spin field "%s" has no value' % node.name)
    for name in (APPLICATION + " v1.0", HISTORY_WINDOW):
        window = window_named(app, name)
        if window is None or window.getRole() != pyatspi.ROLE_FRAME:
            faults.append('the window "%s" is no frame' % name)
    if spin_fields != SPIN_FIELDS:
        faults.append("%d spin fields, not %d" % (spin_fields, SPIN_FIELDS))
    return faults


def main():
    editor, game = sys.argv[1:3]
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    # A window manager gives the window the focus, as on a desktop.
    manager = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    wait_for("the window manager", lambda: "window id" in subprocess.run(
        ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], capture_output=True, text=True).stdout or None)
    program = subprocess.Popen([editor], cwd=game, env=environment)
    try:
        app = wait_for("the editor on the accessibility bus", application)
        main_window = wait_for("the main window", lambda: window_named(app, APPLICATION + " v1.0"))
        wait_for("the focus in the main window",
                 lambda: next(node for node, _ in walk(main_window)
                              if node.getState().contains(pyatspi.STATE_FOCUSED)))
        faults = check_states(app, PAGES[0])
        for caption, window in zip(("Personality Help", "Chat Help"), HELP_WINDOWS):
            press(app, caption)
            wait_for("the window " + window, lambda: window_named(app, window))
        subprocess.run(["xdotool", "search", "--name", "^%s v1.0$" % APPLICATION,
                        "windowactivate", "--sync", "key", "ctrl+h"], check=True)
        wait_for("the window " + HISTORY_WINDOW, lambda: window_named(app, HISTORY_WINDOW))
        faults += check(app)
        # Escape closes the history window, the main window has the focus again.
        subprocess.run(["xdotool", "key", "Escape"], check=True)
        wait_for("the history window to close",
                 lambda: True if window_named(app, HISTORY_WINDOW) is None else None)
        faults += check_unsaved_mark(app)
    finally:
        for process in (program, manager):
            process.send_signal(signal.SIGTERM)
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
    for fault in faults:
        print("FAULT: " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
