"""Prints what assistive technology sees of the running program: one line per object of its
windows, "depth<TAB>role<TAB>name<TAB>showing". Usage: atspi_tree.py <application-name>."""
import sys

import pyatspi


def walk(obj, depth, out):
    state = obj.getState()
    showing = state.contains(pyatspi.STATE_SHOWING)
    out.append(f"{depth}\t{obj.getRoleName()}\t{obj.name}\t{int(showing)}")
    for i in range(obj.childCount):
        child = obj.getChildAtIndex(i)
        if child is not None:
            walk(child, depth + 1, out)


def main():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name.lower() == sys.argv[1].lower():
            out = []
            walk(app, 0, out)
            print("\n".join(out))
            return 0
    names = [app.name for app in desktop if app is not None]
    print(f"application not found on the accessibility bus; there: {names}", file=sys.stderr)
    return 1


sys.exit(main())
