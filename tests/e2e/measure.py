# Measures what the program showed and said; prints ok:/FAIL: lines, exits 1 on a failure.
#   circles NAME SCALE LAYOUT < PPM   the board's circles in a screenshot taken at SCALE (device
#       pixels per device-independent pixel). LAYOUT: the circle size and the nine slot centres
#       "x,y" in device-independent pixels, the centre slot last. Ring circles are blue, the centre red.
#   heard RAW FROM COUNT   exits 0 once the recording (16 kHz mono s16le) from byte FROM holds
#       COUNT words and has been quiet for 0.3 s
#   words NAME RAW FROM COUNT WAV   COUNT words, each 0.25-1 s long and loud enough; WAV: that part
import math
import re
import sys
import wave
from array import array

status = 0


def check(what, ok):
    global status
    print(("ok: " if ok else "FAIL: ") + what)
    status |= not ok


def circles(name, s, layout):
    data = sys.stdin.buffer.read()
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    w, h, s, px = int(header[1]), int(header[2]), float(s), data[header.end():]
    rgb = lambda x, y: tuple(px[3 * (y * w + x):3 * (y * w + x) + 3]) if 0 <= x < w and 0 <= y < h else (0, 0, 0)
    blue = lambda x, y: (lambda r, g, b: b > 150 and r < 110 and g < 110)(*rgb(x, y))
    red = lambda x, y: (lambda r, g, b: r > 150 and g < 110 and b < 110)(*rgb(x, y))
    size, *slots = layout.split()
    slots = [tuple(map(float, xy.split(","))) for xy in slots]
    # Where the board lies on the screen, from the centre circle's extent in its column and row.
    cx, cy = slots[8]
    ys = [y for y in range(h) for x in range(int(cx * s) - 1, int(cx * s) + 2) if red(x, y)]
    if not ys:
        sys.exit(f"FAIL: {name}: no centre circle")
    my = (min(ys) + max(ys) + 1) / 2 / s - cy
    xs = [x for x in range(w) for y in range(int((my + cy) * s) - 1, int((my + cy) * s) + 2) if red(x, y)]
    mx = (min(xs) + max(xs) + 1) / 2 / s - cx
    # The board's own coordinates are whole device-independent pixels.
    x0, y0 = math.floor(mx + 0.5), math.floor(my + 0.5)
    check(f"{name}: the board at {mx:.2f}, {my:.2f} starts at the window's left edge", x0 == 0)
    check(f"{name}: its top is just below the menu bar, whatever its font", 10 <= y0 <= 60)

    def on_border(k, r):  # share of 90 points on a circle of radius r about slot k on a border
        colour, (x, y) = red if k == 8 else blue, slots[k]
        points = [((x0 + x + r * math.cos(t)) * s, (y0 + y + r * math.sin(t)) * s) for t in
                  (a * 4 * math.pi / 180 for a in range(90))]
        return sum(any(colour(int(px) + dx, int(py) + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1))
                   for px, py in points) / 90

    # The pen runs along the ellipse inside the circle's widget, one unit in from its edge.
    radius = float(size) / 2 - 1
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


def pieces(raw, start):
    """The pieces of sound (10 ms windows above 1 % of full scale, apart by at least 0.3 s), as
    lengths in seconds, those under 0.05 s left out; the loudest sample (0..1); whether it ended."""
    data = open(raw, "rb").read()[int(start) // 2 * 2:]
    samples = array("h", data[:len(data) // 2 * 2])
    loud = [max(map(abs, samples[i:i + 160])) > 327 for i in range(0, len(samples), 160)]
    found, first, last = [], None, None
    for i, is_loud in enumerate(loud + [False] * 30):
        if is_loud:
            first, last = (i if first is None else first), i
        elif first is not None and i - last >= 30:
            found.append((last + 1 - first) / 100)
            first = None
    return [p for p in found if p >= 0.05], max(map(abs, samples), default=0) / 32768, not any(loud[-30:]), samples


def heard(raw, start, count):
    lengths, _, ended, _ = pieces(raw, start)
    sys.exit(not (ended and len(lengths) == int(count)))


def words(name, raw, start, count, out):
    lengths, peak, _, samples = pieces(raw, start)
    with wave.open(out, "wb") as w:
        w.setnchannels(1), w.setsampwidth(2), w.setframerate(16000), w.writeframes(samples.tobytes())
    print(f"{name}: lengths {lengths}, peak {peak:.2f}")
    check(f"{name}: {count} words heard", len(lengths) == int(count))
    if int(count):
        check(f"{name}: loud enough to hear", peak >= 0.05)
        # Both engines say a word in 0.35-0.52 s here; one cut short, or said with more, is not.
        check(f"{name}: each word 0.25-1 s long", all(0.25 <= p <= 1 for p in lengths))


globals()[sys.argv[1]](*sys.argv[2:])
sys.exit(status)
