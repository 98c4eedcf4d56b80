#!/usr/bin/python3
# Drops one file onto an X window over XDND, as a file manager does.
# Usage: xdnd_drop.py WINDOW X Y FILE   (X, Y: the pointer's place on the screen)
import sys
import time
from urllib.parse import quote

from Xlib import X, display, protocol

window, x, y, path = int(sys.argv[1], 0), int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
d = display.Display()
atom = d.intern_atom
target = d.create_resource_object('window', window)
source = d.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
source.set_selection_owner(atom('XdndSelection'), X.CurrentTime)
payload = ('file://' + quote(path) + '\r\n').encode()
def send(name, *data):
    values = [source.id, *data] + [0] * (4 - len(data))
    target.send_event(protocol.event.ClientMessage(window=target, client_type=atom(name), data=(32, values)))
    d.flush()

send('XdndEnter', 5 << 24, atom('text/uri-list'))
send('XdndPosition', 0, (x << 16) | y, X.CurrentTime, atom('XdndActionCopy'))
dropped = False
deadline = time.time() + 15
while time.time() < deadline:
    while d.pending_events():
        e = d.next_event()
        if e.type == X.SelectionRequest:
            e.requestor.change_property(e.property, e.target, 8, payload)
            e.requestor.send_event(protocol.event.SelectionNotify(time=e.time, requestor=e.requestor,
                                   selection=e.selection, target=e.target, property=e.property))
        elif e.type == X.ClientMessage and e.client_type == atom('XdndStatus') and not dropped:
            if not e.data[1][1] & 1:
                sys.exit('the window does not take the file')
            send('XdndDrop', 0, X.CurrentTime)
            dropped = True
        elif e.type == X.ClientMessage and e.client_type == atom('XdndFinished'):
            sys.exit(0)
    time.sleep(0.02)
sys.exit('the window did not finish the drop')
