# Measures the board's circles in a screenshot. Input: one pixel a line, "r g b", row by row
# from the top left, of a screenshot W device pixels wide taken at scale s (device pixels per
# device-independent pixel). layout: the circle size and the nine slot centres "x,y" in
# device-independent pixels, the centre slot last. Ring circles are blue, the centre red.
# Exits 1 when a circle is not where the layout puts it.
{
    i = NR - 1
    x = i % W
    y = int(i / W)
    if ($3 > 150 && $1 < 110 && $2 < 110)
        blue[x "," y] = 1
    else if ($1 > 150 && $2 < 110 && $3 < 110)
        red[x "," y] = 1
    if ($3 > $1 + 40 || $1 > $3 + 40)
        tinted[x "," y] = $1 "," $2 "," $3
}

function found(set, px, py,    dx, dy) {
    for (dx = -1; dx <= 1; dx++)
        for (dy = -1; dy <= 1; dy++)
            if (((int(px) + dx) "," (int(py) + dy)) in set)
                return 1
    return 0
}

# Share of 90 points around a circle of the given radius about slot k that lie on a border.
function onBorder(k, radius,    a, t, hits) {
    hits = 0
    for (a = 0; a < 90; a++) {
        t = a * 4 * 3.14159265 / 180
        if (k == 8)
            hits += found(red, (x0 + sx[k] + radius * cos(t)) * s, (y0 + sy[k] + radius * sin(t)) * s)
        else
            hits += found(blue, (x0 + sx[k] + radius * cos(t)) * s, (y0 + sy[k] + radius * sin(t)) * s)
    }
    return hits / 90
}

END {
    split(layout, parts, " ")
    size = parts[1]
    for (k = 0; k < 9; k++) {
        split(parts[k + 2], xy, ",")
        sx[k] = xy[1]
        sy[k] = xy[2]
    }
    # The pen runs along the ellipse inside the circle's widget, one unit in from its edge.
    radius = size / 2 - 1
    status = 0

    # Where the board lies on the screen, from the centre circle: its top and bottom in its
    # column, its left and right in its row.
    col = int(sx[8] * s)
    top = -1
    for (key in red) {
        split(key, p, ",")
        if (p[1] >= col - 1 && p[1] <= col + 1) {
            if (top < 0 || p[2] < top) top = p[2]
            if (p[2] > bottom) bottom = p[2]
        }
    }
    if (top < 0) {
        print "FAIL: " name ": no centre circle in column " col
        exit 1
    }
    measuredY = (top + bottom + 1) / 2 / s - sy[8]
    row = int((measuredY + sy[8]) * s)
    left = -1
    for (key in red) {
        split(key, p, ",")
        if (p[2] >= row - 1 && p[2] <= row + 1) {
            if (left < 0 || p[1] < left) left = p[1]
            if (p[1] > right) right = p[1]
        }
    }
    measuredX = (left + right + 1) / 2 / s - sx[8]
    # The board's own coordinates are whole device-independent pixels.
    x0 = int(measuredX + (measuredX < 0 ? -0.5 : 0.5))
    y0 = int(measuredY + 0.5)
    printf "board at %.2f, %.2f (device-independent pixels)\n", measuredX, measuredY
    if (x0 != 0 || measuredX - x0 > 0.5 || x0 - measuredX > 0.5) {
        print "FAIL: " name ": the board does not start at the window's left edge"
        status = 1
    }
    # Below the menu bar, whatever its font makes its height.
    if (y0 < 10 || y0 > 60) {
        print "FAIL: " name ": the board's top is not just below the menu bar"
        status = 1
    }

    for (k = 0; k < 9; k++) {
        on = onBorder(k, radius)
        inside = onBorder(k, radius - 3)
        outside = onBorder(k, radius + 3)
        verdict = (on >= 0.6 && inside <= 0.1 && outside <= 0.1) ? "ok" : "FAIL"
        printf "%s: %s: circle %d at %d,%d: %.2f on its border, %.2f three units inside, %.2f outside\n", \
            verdict, name, k, sx[k], sy[k], on, inside, outside
        if (verdict != "ok")
            status = 1
    }

    # A circle drawn at a quarter of the pixels and blown up to 200 % is made of 2 x 2 blocks of
    # one colour; drawn at the screen's resolution, its antialiased edge hardly has any.
    if (s == 2) {
        blocks = 0
        uniform = 0
        for (key in tinted) {
            split(key, p, ",")
            if (p[1] % 2 || p[2] % 2)
                continue
            blocks++
            c = tinted[key]
            if (tinted[(p[1] + 1) "," p[2]] == c && tinted[p[1] "," (p[2] + 1)] == c && tinted[(p[1] + 1) "," (p[2] + 1)] == c)
                uniform++
        }
        share = blocks ? uniform / blocks : 1
        verdict = share < 0.5 ? "ok" : "FAIL"
        printf "%s: %s: %.2f of the borders' 2x2 blocks are of one colour\n", verdict, name, share
        if (verdict != "ok")
            status = 1
    }
    exit status
}
