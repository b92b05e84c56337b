#!/usr/bin/python3
"""Starts the editor in a game folder and reads its windows as a screen reader
does, over the AT-SPI bus: prints the tree and fails when a control that
takes the focus has no name, a labelled control is not named by its label,
a selector has no label, a spin field no value or range, or the main window
is no frame. Both help windows are opened through their buttons' own
press actions first, so that they are read too.

Usage: screen_reader_tree.py EDITOR GAME-FOLDER"""

import os
import signal
import subprocess
import sys
import time

import pyatspi

APPLICATION = "Tavrik Control Centre"
SPIN_FIELDS = 18
HELP_WINDOWS = ("Personality Help", "Chat File Help")
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
    main = [w for w in windows(app) if w.name.startswith(APPLICATION)]
    if not main or main[0].getRole() != pyatspi.ROLE_FRAME:
        faults.append("the main window is no frame")
    if spin_fields != SPIN_FIELDS:
        faults.append("%d spin fields, not %d" % (spin_fields, SPIN_FIELDS))
    return faults


def main():
    editor, game = sys.argv[1:3]
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    program = subprocess.Popen([editor], cwd=game, env=environment)
    try:
        app = wait_for("the editor on the accessibility bus", application)
        wait_for("the main window", lambda: window_named(app, APPLICATION + " v1.0"))
        for caption, window in zip(("Personality Help", "Chat Help"), HELP_WINDOWS):
            press(app, caption)
            wait_for("the window " + window, lambda: window_named(app, window))
        faults = check(app)
    finally:
        program.send_signal(signal.SIGTERM)
        try:
            program.wait(timeout=10)
        except subprocess.TimeoutExpired:
            program.kill()
    for fault in faults:
        print("FAULT: " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
