#!/usr/bin/python3
"""Presses a button of a running program through the accessibility bus, as a
screen reader does: finds the window by its title (a regular expression) and
in it the first pressable object of that accessible name.

Usage: atspi_press.py WINDOW_TITLE_REGEX BUTTON_NAME [TIMEOUT_S]
Exit status 0 when pressed, 1 when not found in time."""
import re
import sys
import time

import dbus

ACCESSIBLE = 'org.a11y.atspi.Accessible'
ACTION = 'org.a11y.atspi.Action'


def a11y_bus():
    session = dbus.SessionBus()
    launcher = session.get_object('org.a11y.Bus', '/org/a11y/bus')
    return dbus.bus.BusConnection(str(launcher.GetAddress(dbus_interface='org.a11y.Bus')))


def name(obj):
    return str(obj.Get(ACCESSIBLE, 'Name', dbus_interface='org.freedesktop.DBus.Properties'))


def children(bus, obj):
    return [bus.get_object(str(b), str(p)) for b, p in obj.GetChildren(dbus_interface=ACCESSIBLE)]


def find_button(bus, obj, wanted, depth=0):
    if depth > 12:
        return None
    for child in children(bus, obj):
        if name(child) == wanted and ACTION in child.GetInterfaces(dbus_interface=ACCESSIBLE):
            return child
        found = find_button(bus, child, wanted, depth + 1)
        if found is not None:
            return found
    return None


def find(bus, title, wanted):
    root = bus.get_object('org.a11y.atspi.Registry', '/org/a11y/atspi/accessible/root')
    for app in children(bus, root):
        for window in children(bus, app):
            if re.fullmatch(title, name(window)):
                found = find_button(bus, window, wanted)
                if found is not None:
                    return found
    return None


def main():
    title, wanted = sys.argv[1], sys.argv[2]
    deadline = time.time() + (float(sys.argv[3]) if len(sys.argv) > 3 else 30)
    while time.time() < deadline:
        try:
            button = find(a11y_bus(), title, wanted)
            if button is not None:
                button.DoAction(0, dbus_interface=ACTION)
                return 0
        except dbus.exceptions.DBusException:
            pass  # the program or its bus is not up yet
        time.sleep(0.2)
    print('no button %r in a window %r' % (wanted, title), file=sys.stderr)
    return 1


if __name__ == '__main__':
    sys.exit(main())
