"""A screenshot of KWin's whole workspace at the outputs' own resolution, as
binary PPM: kwin-shot.py OUT.ppm. KWin writes the pixels into a pipe whose
write end goes with the request (org.kde.KWin.ScreenShot2.CaptureWorkspace),
32 bits a pixel, blue, green, red, alpha, in rows of the stride it answers
with; it serves any client when it runs with KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1.
Runs under Debian's python3 with python3-dbus, on the session bus in
DBUS_SESSION_BUS_ADDRESS. Exit 1 when there is no screenshot."""
import os
import sys
import threading

import dbus
import numpy

read_end, write_end = os.pipe()
received = []
reader = threading.Thread(target=lambda: received.append(os.fdopen(read_end, "rb").read()))
reader.start()
try:
    screenshots = dbus.Interface(dbus.SessionBus().get_object("org.kde.KWin", "/org/kde/KWin/ScreenShot2"),
                                 "org.kde.KWin.ScreenShot2")
    # The request holds its own copy of the write end.
    answer = screenshots.CaptureWorkspace({"native-resolution": True}, dbus.types.UnixFd(write_end), timeout=20)
except dbus.DBusException as error:
    print(f"kwin-shot: {error.get_dbus_message()}", file=sys.stderr)
    answer = None
os.close(write_end)
reader.join(20)
if answer is None or reader.is_alive() or not received:
    sys.exit(1)
width, height, stride = int(answer["width"]), int(answer["height"]), int(answer["stride"])
data = received[0]
if len(data) < stride * height:
    print(f"kwin-shot: {len(data)} bytes for {width} x {height} pixels", file=sys.stderr)
    sys.exit(1)
rows = numpy.frombuffer(data[:stride * height], dtype=numpy.uint8).reshape(height, stride)
rgb = rows[:, :4 * width].reshape(height, width, 4)[:, :, 2::-1]
with open(sys.argv[1], "wb") as out:
    out.write(b"P6\n%d %d\n255\n" % (width, height))
    out.write(numpy.ascontiguousarray(rgb).tobytes())
