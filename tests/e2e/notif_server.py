#!/usr/bin/python3
"""A desktop notification service for the end-to-end tests, on the caller's session bus.

    notif_server.py LOGFILE     owns org.freedesktop.Notifications, prints "ready" once it does

Offers the actions, body and body-markup capabilities. Each call is a line in LOGFILE:
    NOTIFY ID<TAB>APP_NAME<TAB>SUMMARY<TAB>BODY<TAB>ACTIONS<TAB>IMAGE   (IMAGE: WxH, or -)
    CLOSE ID
Commands are read from LOGFILE.cmd, one a line, and the file is emptied:
    click ID    the user clicked notification ID (ActionInvoked "default")
    close ID    the user dismissed notification ID (NotificationClosed, reason 2)
"""
import os
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

NAME = "org.freedesktop.Notifications"
PATH = "/org/freedesktop/Notifications"


class Server(dbus.service.Object):
    def __init__(self, bus, log):
        super().__init__(bus, PATH)
        self.log = log
        self.last = 0

    def write(self, line):
        with open(self.log, "a", encoding="utf-8") as f:
            f.write(line + "\n")

    @dbus.service.method(NAME, in_signature="", out_signature="as")
    def GetCapabilities(self):
        return ["actions", "body", "body-markup"]

    @dbus.service.method(NAME, in_signature="", out_signature="ssss")
    def GetServerInformation(self):
        return ("fake", "tests", "1", "1.2")

    @dbus.service.method(NAME, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app_name, replaces_id, app_icon, summary, body, actions, hints, timeout):
        self.last += 1
        image = hints.get("image-data")
        size = "%dx%d" % (image[0], image[1]) if image is not None else "-"
        fields = [str(self.last), app_name, summary, body.replace("\n", "\\n"),
                  ",".join(actions), size]
        self.write("NOTIFY " + "\t".join(fields))
        return self.last

    @dbus.service.method(NAME, in_signature="u", out_signature="")
    def CloseNotification(self, nid):
        self.write("CLOSE %d" % nid)
        self.NotificationClosed(nid, 3)

    @dbus.service.signal(NAME, signature="uu")
    def NotificationClosed(self, nid, reason):
        pass

    @dbus.service.signal(NAME, signature="us")
    def ActionInvoked(self, nid, key):
        pass

    def poll(self):
        cmd = self.log + ".cmd"
        if os.path.exists(cmd):
            with open(cmd, encoding="utf-8") as f:
                lines = f.read().split("\n")
            open(cmd, "w").close()
            for line in filter(None, lines):
                what, nid = line.split()
                if what == "click":
                    self.ActionInvoked(int(nid), "default")
                elif what == "close":
                    self.NotificationClosed(int(nid), 2)
        return True


def main():
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    server = Server(bus, sys.argv[1])
    bus.request_name(NAME, dbus.bus.NAME_FLAG_DO_NOT_QUEUE)
    GLib.timeout_add(100, server.poll)
    print("ready", flush=True)
    GLib.MainLoop().run()


if __name__ == "__main__":
    main()
