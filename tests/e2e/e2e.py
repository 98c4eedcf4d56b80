# Drives the program through its accessibility tree (AT-SPI), finding windows, menu items and
# controls by the names they show, drops files onto it (drop), and measures what it showed
# (circles) and said (words). Waits are bounded (UI_TIMEOUT seconds); checks print ok:/FAIL:
# lines, and exit 1 on a failure.
import array, fnmatch, math, os, re, subprocess, sys, time, wave

status = 0

def check(what, ok):
    global status
    print(("ok: " if ok else "FAIL: ") + what)
    status |= not ok

def matches(acc, step):
    role, _, name = step.partition(":") if ":" in step else ("", "", step)
    return fnmatch.fnmatchcase(acc.name or "", name) and role in ("", acc.getRoleName())

def windows():
    desktop = pyatspi.Registry.getDesktop(0)
    desktop.clearCache()
    return [w for app in desktop for w in app or [] if w.getState().contains(pyatspi.STATE_SHOWING)]

def find(path):
    for acc in (w for w in windows() if matches(w, path[0])):
        for step in path[1:]:
            acc = acc and pyatspi.findDescendant(acc, lambda d: matches(d, step))
        if acc:
            return acc

def wait(what, probe):
    end = time.monotonic() + float(os.environ.get("UI_TIMEOUT", "20"))
    while True:
        try:
            found = probe()
        except Exception:  # the tree changes while the program works
            found = None
        if found or time.monotonic() > end:
            return found or sys.exit(f"ui: timed out waiting for {what}")
        time.sleep(0.1)

def act(acc):
    Atspi.set_timeout(1000, -1)  # an action that opens a modal dialog answers once it closes
    try:
        acc.queryAction().doAction(0)
    except GLib.Error as e:
        if "reply" not in str(e):
            raise

def extents(acc):
    return acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)

# Answers each message box by its default button (screenshot first) until the main window shows.
def startup(shot):
    messages = 0
    while alert := next((w for w in wait("a window", windows) if w.getRoleName() == "alert"), None):
        messages += 1
        subprocess.run(["import", "-window", "root", shot + "-message.png"])
        default = lambda: pyatspi.findDescendant(alert, lambda b: b.getState().contains(pyatspi.STATE_IS_DEFAULT))
        act(wait("its default button", default))
        wait("the message to close", lambda: alert not in windows())
    main = wait("the main window", windows)[0]
    print(f"messages={messages}\ntitle={main.name}\nsize={extents(main).width}x{extents(main).height}")

# The board's circles in a PPM screenshot on stdin taken at S device pixels a device-independent
# one. LAYOUT: circle size and nine slot centres "x,y" in the latter, the (red) centre last.
def picture(data):  # a PPM's width, height and pixel colour at x, y
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    w, h, px = int(header[1]), int(header[2]), data[header.end():]
    return w, h, lambda x, y: tuple(px[3 * (y * w + x):3 * (y * w + x) + 3]) if 0 <= x < w and 0 <= y < h else (0, 0, 0)

def board(layout):  # circle size and slot centres of a LAYOUT
    size, *slots = layout.split()
    return float(size), [tuple(map(float, xy.split(","))) for xy in slots]

red_at = lambda rgb: lambda x, y: (lambda r, g, b: r > 150 and g < 110 and b < 110)(*rgb(x, y))

def origin(name, w, h, rgb, s, cx, cy):  # the board's place, from the red centre circle's extent
    red = red_at(rgb)
    ys = [y for y in range(h) for x in range(int(cx * s) - 1, int(cx * s) + 2) if red(x, y)]
    if not ys:
        sys.exit(f"FAIL: {name}: no centre circle")
    my = (min(ys) + max(ys) + 1) / 2 / s - cy
    xs = [x for x in range(w) for y in range(int((my + cy) * s) - 1, int((my + cy) * s) + 2) if red(x, y)]
    return (min(xs) + max(xs) + 1) / 2 / s - cx, my

def circles(name, s, layout, top="10-60"):
    w, h, rgb = picture(sys.stdin.buffer.read())
    s = float(s)
    blue = lambda x, y: (lambda r, g, b: b > 150 and r < 110 and g < 110)(*rgb(x, y))
    red = red_at(rgb)
    size, slots = board(layout)
    mx, my = origin(name, w, h, rgb, s, *slots[8])
    # The board's own coordinates are whole device-independent pixels.
    x0, y0 = math.floor(mx + 0.5), math.floor(my + 0.5)
    check(f"{name}: the board at {mx:.2f}, {my:.2f} starts at the window's left edge", x0 == 0)
    low, high = map(int, top.split("-"))
    check(f"{name}: its top is just below the menu bar, whatever its font", low <= y0 <= high)

    def on_border(k, r):  # share of 90 points on a circle of radius r about slot k on a border
        colour, (x, y) = red if k == 8 else blue, slots[k]
        points = [((x0 + x + r * math.cos(t)) * s, (y0 + y + r * math.sin(t)) * s)
                  for t in (a * 4 * math.pi / 180 for a in range(90))]
        return sum(any(colour(int(px) + dx, int(py) + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1))
                   for px, py in points) / 90

    radius = size / 2 - 1  # the pen runs one unit inside the circle's widget
    for k, (x, y) in enumerate(slots):
        on, inside, outside = on_border(k, radius), on_border(k, radius - 3), on_border(k, radius + 3)
        check(f"{name}: circle {k} at {x:.0f},{y:.0f}: {on:.2f} on its border, {inside:.2f} three units "
              f"inside, {outside:.2f} outside", on >= 0.6 and inside <= 0.1 and outside <= 0.1)
    # A circle drawn at a quarter of the pixels and blown up to 200 % is made of 2 x 2 blocks of
    # one colour; drawn at the screen's resolution, its antialiased edge hardly has any.
    if s == 2:
        blocks = [(x, y) for y in range(0, h, 2) for x in range(0, w, 2)
                  if (lambda r, g, b: b > r + 40 or r > b + 40)(*rgb(x, y))]
        share = sum(rgb(x, y) == rgb(x + 1, y) == rgb(x, y + 1) == rgb(x + 1, y + 1) for x, y in blocks) / max(len(blocks), 1)
        check(f"{name}: {share:.2f} of the borders' 2x2 blocks are of one colour", blocks and share < 0.5)

# The slots whose circle's inside differs between two PPM screenshots at one device pixel a unit,
# the board found in the first; LAYOUT as for circles.
def slots_changed(first, second, layout):
    (w, h, a), (_, _, b) = (picture(open(f, "rb").read()) for f in (first, second))
    size, slots = board(layout)
    mx, my = origin(first, w, h, a, 1, *slots[8])
    r = int(size / 2 * 0.85)
    differs = lambda x, y: max(abs(p - q) for p, q in zip(a(x, y), b(x, y))) > 40
    print(*(k for k, (x, y) in enumerate(slots)
            if sum(differs(int(mx + x) + dx, int(my + y) + dy) for dx in range(-r, r, 2) for dy in range(-r, r, 2)) > 20))

# For each screen point X Y given, whether the slot there shows the star of a word kept in the
# wordbook, then how many slots show it, in a PPM screenshot on stdin at one device pixel a unit;
# LAYOUT as for circles. The star lies at the top right of the circle's square, outside the circle.
def marked(layout, *points):
    w, h, rgb = picture(sys.stdin.buffer.read())
    size, slots = board(layout)
    mx, my = origin("marks", w, h, rgb, 1, *slots[8])
    r = int(max(5, size / 24))
    gold = lambda x, y: (lambda red, green, blue: red > 200 and 110 < green < 200 and blue < 90)(*rgb(x, y))
    star = lambda x, y: sum(gold(int(mx + x + size / 2 - r - 2) + dx, int(my + y - size / 2 + r + 2) + dy)
                            for dx in range(-r, r + 1) for dy in range(-r, r + 1)) > r * r / 2
    kept = [k for k, (x, y) in enumerate(slots) if star(x, y)]
    at = lambda px, py: min(range(9), key=lambda k: math.dist((px, py), (mx + slots[k][0], my + slots[k][1])))
    print(*(int(at(float(px), float(py)) in kept) for px, py in zip(points[::2], points[1::2])), len(kept))

# RAW (16 kHz mono s16le) from byte START: its pieces of sound (10 ms windows above 1 % of full
# scale, 0.3 s of quiet apart, at least 0.15 s: a loaded sound server clicks for less) in
# seconds, the peak, whether 0.3 s quiet, samples.
def pieces(raw, start):
    data = open(raw, "rb").read()[int(start) // 2 * 2:]
    samples = array.array("h", data[:len(data) // 2 * 2])
    loud = [max(map(abs, samples[i:i + 160])) > 327 for i in range(0, len(samples), 160)]
    found, first, last = [], None, None
    for i, is_loud in enumerate(loud + [False] * 30):
        if is_loud:
            first, last = (i if first is None else first), i
        elif first is not None and i - last >= 30:
            found.append((last + 1 - first) / 100)
            first = None
    return [p for p in found if p >= 0.15], max(map(abs, samples), default=0) / 32768, not any(loud[-30:]), samples

# Waits for a word said (and ended) in RAW from byte START, checks it; OUT: that part.
def words(name, raw, start, out):
    end = time.monotonic() + 15
    while not ((p := pieces(raw, start))[2] and p[0]) and time.monotonic() < end:
        time.sleep(0.1)
    # Nothing tells that no further word is coming (a second welcome, a word said twice): one
    # would start within this.
    time.sleep(1.5)
    lengths, peak, _, samples = pieces(raw, start)
    with wave.open(out, "wb") as w:
        w.setnchannels(1), w.setsampwidth(2), w.setframerate(16000), w.writeframes(samples.tobytes())
    print(f"{name}: lengths {lengths}, peak {peak:.2f}")
    check(f"{name}: {len(lengths)} words heard, 1 expected", len(lengths) == 1)
    check(f"{name}: loud enough to hear", peak >= 0.05)
    # Both engines say a word in 0.35-0.52 s here; one cut short, or said with more, is not.
    check(f"{name}: each word 0.25-1 s long", all(0.25 <= p <= 1 for p in lengths))

# Drops FILE onto X window WINDOW over XDND as a file manager does, the pointer at X, Y on the screen.
def drop(window, x, y, path):
    from urllib.parse import quote
    from Xlib import X, display, protocol
    d = display.Display()
    atom = d.intern_atom
    target = d.create_resource_object("window", int(window, 0))
    source = d.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
    source.set_selection_owner(atom("XdndSelection"), X.CurrentTime)
    payload = ("file://" + quote(path) + "\r\n").encode()

    def send(name, *data):
        values = [source.id, *data] + [0] * (4 - len(data))
        target.send_event(protocol.event.ClientMessage(window=target, client_type=atom(name), data=(32, values)))
        d.flush()

    send("XdndEnter", 5 << 24, atom("text/uri-list"))
    send("XdndPosition", 0, (int(x) << 16) | int(y), X.CurrentTime, atom("XdndActionCopy"))
    dropped, end = False, time.monotonic() + 15
    while time.monotonic() < end:
        while d.pending_events():
            e = d.next_event()
            if e.type == X.SelectionRequest:
                e.requestor.change_property(e.property, e.target, 8, payload)
                e.requestor.send_event(protocol.event.SelectionNotify(time=e.time, requestor=e.requestor,
                                       selection=e.selection, target=e.target, property=e.property))
            elif e.type == X.ClientMessage and e.client_type == atom("XdndStatus") and not dropped:
                if not e.data[1][1] & 1:
                    sys.exit("the window does not take the file")
                send("XdndDrop", 0, X.CurrentTime)
                dropped = True
            elif e.type == X.ClientMessage and e.client_type == atom("XdndFinished"):
                return
        time.sleep(0.02)
    sys.exit("the window did not finish the drop")

# PATH: a window, then a descendant, then one of that...; each step [role:]name, the name a shell
# pattern ("frame:Tesmar*", "image:" for one without). do: the first action once there is one;
# where: the centre "x y"; title: the name once it shows; gone: until it no longer shows.
def ui(command, *path):
    what = " > ".join(path)
    {"startup": lambda: startup(*path),
     "do": lambda: act(wait(what, lambda: (acc := find(path)) and acc.queryAction().nActions and acc)),
     "where": lambda: print(*(lambda e: (e.x + e.width // 2, e.y + e.height // 2))(extents(wait(what, lambda: find(path))))),
     "title": lambda: print(wait(what, lambda: find(path)).name),
     "gone": lambda: wait(what + " to close", lambda: not find(path)),
     "set": lambda: wait(what, lambda: find(path[1:])).queryEditableText().setTextContents(path[0])}[command]()

if sys.argv[1] in ("circles", "words", "drop", "slots_changed", "marked"):
    globals()[sys.argv[1]](*sys.argv[2:])
else:
    import pyatspi
    from gi.repository import Atspi, GLib
    ui(*sys.argv[1:])
sys.exit(status)
