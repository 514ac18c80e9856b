#!/usr/bin/python3
"""Reads what a program shows through the accessibility tree (AT-SPI), for the end-to-end
tests:
  e2e_atspi.py cells APP COLUMN
                              the texts of that column of every table APP shows, one a line
  e2e_atspi.py frames APP     the titles of APP's windows, one a line
  e2e_atspi.py statusbar APP  the text of APP's status bars, one a line
  e2e_atspi.py extents APP NAME ROLE
                              "X Y" of the centre of APP's first ROLE named NAME
  e2e_atspi.py press APP NAME ROLE
                              runs the first action of that object (a button's click);
                              prints "pressed" when there was one
APP is the program's accessible name (brasero, xfburn, Thunar). Prints nothing when the
program or the object is not (yet) there; the tests poll."""
import sys

import pyatspi


def app_named(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and (app.name or "").lower() == name.lower():
            return app
    return None


def descendants(node, into_tables, depth=0):
    if node is None or depth > 40:
        return
    yield node
    if not into_tables and node.getRole() in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE):
        return
    for i in range(node.childCount):
        yield from descendants(node.getChildAtIndex(i), into_tables, depth + 1)


def cell_text(cell):
    # A cell that shows an icon beside its text is a group of one cell for each.
    if cell.name or cell.childCount == 0:
        return cell.name
    return " ".join(cell.getChildAtIndex(i).name for i in range(cell.childCount)
                    if cell.getChildAtIndex(i).name)


def cells(app, column):
    # A table's cells are read through the table, not as its children.
    for node in descendants(app, False):
        if node.getRole() not in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE):
            continue
        table = node.queryTable()
        for row in range(table.nRows):
            cell = table.getAccessibleAt(row, column)
            if cell is not None:
                print(cell_text(cell))


def find(app, name, role):
    for node in descendants(app, True):
        if node.name == name and node.getRoleName() == role:
            return node
    return None


def extents(app, name, role):
    node = find(app, name, role)
    if node is not None:
        box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        print(box.x + box.width // 2, box.y + box.height // 2)


def press(app, name, role):
    node = find(app, name, role)
    if node is not None:
        node.queryAction().doAction(0)
        print("pressed")


def main():
    app = app_named(sys.argv[2])
    if app is None:
        return
    if sys.argv[1] == "frames":
        for i in range(app.childCount):
            print(app.getChildAtIndex(i).name)
    elif sys.argv[1] == "statusbar":
        for node in descendants(app, False):
            if node.getRole() == pyatspi.ROLE_STATUS_BAR:
                print(node.name)
    elif sys.argv[1] == "cells":
        cells(app, int(sys.argv[3]))
    elif sys.argv[1] == "extents":
        extents(app, sys.argv[3], sys.argv[4])
    elif sys.argv[1] == "press":
        press(app, sys.argv[3], sys.argv[4])


if __name__ == "__main__":
    main()
