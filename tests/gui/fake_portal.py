#!/usr/bin/python3
"""A stand-in for the desktop's screenshot portal on a private session bus.

Each Screenshot call takes the next answer from the command line:
  tmp        a 40x30 PNG written in the temporary folder
  keep=DIR   the same PNG written in DIR
  cancel     the user closed the dialog
Prints "ready" once the portal's name is on the bus.
"""
import os
import struct
import sys
import tempfile
import zlib

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

WIDTH, HEIGHT, COLOUR = 40, 30, (10, 200, 30)
PORTAL = "org.freedesktop.portal.Desktop"


def png(path):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    rows = b"".join(b"\x00" + bytes(COLOUR) * WIDTH for _ in range(HEIGHT))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


class Request(dbus.service.Object):
    @dbus.service.signal("org.freedesktop.portal.Request", signature="ua{sv}")
    def Response(self, response, results):
        pass


class Portal(dbus.service.Object):
    def __init__(self, bus, answers):
        super().__init__(bus, "/org/freedesktop/portal/desktop")
        self.bus, self.answers = bus, answers

    @dbus.service.method("org.freedesktop.portal.Screenshot", in_signature="sa{sv}", out_signature="o",
                         sender_keyword="sender")
    def Screenshot(self, parent, options, sender=None):
        path = "/org/freedesktop/portal/desktop/request/%s/%s" % (sender[1:].replace(".", "_"),
                                                                  options["handle_token"])
        request = Request(self.bus, path)
        answer = self.answers.pop(0) if self.answers else "cancel"

        def respond():
            if answer == "cancel":
                request.Response(dbus.UInt32(1), dbus.Dictionary({}, signature="sv"))
            else:
                folder = answer[5:] if answer.startswith("keep=") else tempfile.gettempdir()
                fd, picture = tempfile.mkstemp(prefix="Screenshot-", suffix=".png", dir=folder)
                os.close(fd)
                png(picture)
                request.Response(dbus.UInt32(0), dbus.Dictionary({"uri": "file://" + picture}, signature="sv"))
            request.remove_from_connection()
            return False

        # The real portal answers after its dialog, never within the call.
        GLib.idle_add(respond)
        return dbus.ObjectPath(path)


def main():
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    name = dbus.service.BusName(PORTAL, bus)
    portal = Portal(bus, sys.argv[1:])
    print("ready", flush=True)
    GLib.MainLoop().run()
    del name, portal


if __name__ == "__main__":
    main()
