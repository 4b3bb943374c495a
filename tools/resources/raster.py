"""Small anti-aliased vector rasterizer used to draw all of Yunti's artwork.

Geometry is described in "design units" (the badge art uses a 100 x 100
box); a Canvas maps design units to pixels with a uniform scale and an
offset, so the same drawing code renders every output size.

Rasterization: shapes are lists of closed polygons filled with the non-zero
winding rule.  Each pixel row is sampled at SUBROWS sub-scanlines; along a
sub-scanline the covered span is accumulated with exact fractional
horizontal coverage.  This gives 4 x "analytic" anti-aliasing, comparable to
a 4 x 4 (or better) supersampling grid, at a fraction of the cost in pure
Python.

The canvas stores premultiplied RGBA floats in 0..1.
"""

import math

SUBROWS = 4


# ---------------------------------------------------------------------------
# Geometry helpers (all in design units)
# ---------------------------------------------------------------------------

def signed_area(poly):
    a = 0.0
    n = len(poly)
    for i in range(n):
        x0, y0 = poly[i]
        x1, y1 = poly[(i + 1) % n]
        a += x0 * y1 - x1 * y0
    return a * 0.5


def oriented(poly, positive=True):
    """Return poly with a positive (or negative) signed area."""
    if (signed_area(poly) > 0) != positive:
        return list(reversed(poly))
    return list(poly)


def bbox(shape):
    xs = [p[0] for poly in shape for p in poly]
    ys = [p[1] for poly in shape for p in poly]
    return min(xs), min(ys), max(xs), max(ys)


def segments_for(r):
    """Number of segments used to flatten a circle of radius r (design units)."""
    return max(16, min(160, int(r * 3.2)))


def circle(cx, cy, r, n=None):
    n = n or segments_for(r)
    return [[(cx + r * math.cos(2 * math.pi * i / n),
              cy + r * math.sin(2 * math.pi * i / n)) for i in range(n)]]


def ellipse(cx, cy, rx, ry, angle=0.0, n=None):
    n = n or segments_for(max(rx, ry))
    ca, sa = math.cos(angle), math.sin(angle)
    pts = []
    for i in range(n):
        t = 2 * math.pi * i / n
        x, y = rx * math.cos(t), ry * math.sin(t)
        pts.append((cx + x * ca - y * sa, cy + x * sa + y * ca))
    return [pts]


def ring(cx, cy, r_out, r_in):
    """Annulus: outer contour positive, inner contour negative (a hole)."""
    outer = oriented(circle(cx, cy, r_out)[0], True)
    inner = oriented(circle(cx, cy, r_in)[0], False)
    return [outer, inner]


def rect(x0, y0, x1, y1):
    return [[(x0, y0), (x1, y0), (x1, y1), (x0, y1)]]


def arc_points(cx, cy, r, a0, a1, n=None):
    """Points on an arc from angle a0 to a1 (radians, y axis points down)."""
    if n is None:
        n = max(2, int(abs(a1 - a0) / (2 * math.pi) * segments_for(r)) + 1)
    return [(cx + r * math.cos(a0 + (a1 - a0) * i / n),
             cy + r * math.sin(a0 + (a1 - a0) * i / n)) for i in range(n + 1)]


def rounded_rect(x0, y0, x1, y1, r):
    r = min(r, (x1 - x0) / 2, (y1 - y0) / 2)
    if r <= 0:
        return rect(x0, y0, x1, y1)
    pts = []
    pts += arc_points(x1 - r, y0 + r, r, -math.pi / 2, 0)
    pts += arc_points(x1 - r, y1 - r, r, 0, math.pi / 2)
    pts += arc_points(x0 + r, y1 - r, r, math.pi / 2, math.pi)
    pts += arc_points(x0 + r, y0 + r, r, math.pi, 1.5 * math.pi)
    return [pts]


def star(cx, cy, r_out, r_in, points=5, rotation=-math.pi / 2):
    pts = []
    for i in range(points * 2):
        r = r_out if i % 2 == 0 else r_in
        a = rotation + math.pi * i / points
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return [pts]


def regular_polygon(cx, cy, r, sides, rotation=-math.pi / 2):
    return [[(cx + r * math.cos(rotation + 2 * math.pi * i / sides),
              cy + r * math.sin(rotation + 2 * math.pi * i / sides))
             for i in range(sides)]]


def translate(shape, dx, dy):
    return [[(x + dx, y + dy) for x, y in poly] for poly in shape]


def scale_about(shape, cx, cy, sx, sy=None):
    sy = sx if sy is None else sy
    return [[(cx + (x - cx) * sx, cy + (y - cy) * sy) for x, y in poly]
            for poly in shape]


def rotate_about(shape, cx, cy, angle):
    ca, sa = math.cos(angle), math.sin(angle)
    return [[(cx + (x - cx) * ca - (y - cy) * sa,
              cy + (x - cx) * sa + (y - cy) * ca) for x, y in poly]
            for poly in shape]


def _dedupe(poly, eps=1e-9):
    out = []
    for p in poly:
        if not out or abs(p[0] - out[-1][0]) > eps or abs(p[1] - out[-1][1]) > eps:
            out.append(p)
    while len(out) > 1 and abs(out[0][0] - out[-1][0]) <= eps and abs(out[0][1] - out[-1][1]) <= eps:
        out.pop()
    return out


def offset_polygon(poly, d, miter_limit=3.0):
    """Grow (d > 0) or shrink (d < 0) a polygon by d with mitred corners.

    "Outward" is taken from the contour's orientation, so a hole (negative
    contour) shrinks when the shape grows, which is what a ring needs.
    """
    poly = _dedupe(poly)
    n = len(poly)
    if n < 3:
        return poly
    sign = 1.0 if signed_area(poly) > 0 else -1.0
    normals = []
    for i in range(n):
        x0, y0 = poly[i]
        x1, y1 = poly[(i + 1) % n]
        dx, dy = x1 - x0, y1 - y0
        ln = math.hypot(dx, dy) or 1.0
        normals.append((sign * dy / ln, -sign * dx / ln))
    out = []
    for i in range(n):
        n0 = normals[i - 1]
        n1 = normals[i]
        px, py = poly[i]
        dot = n0[0] * n1[0] + n0[1] * n1[1]
        k = 1.0 + dot
        if k < 2.0 / (miter_limit * miter_limit):
            # too sharp for a mitre: bevel the corner
            out.append((px + n0[0] * d, py + n0[1] * d))
            out.append((px + n1[0] * d, py + n1[1] * d))
        else:
            out.append((px + (n0[0] + n1[0]) * d / k, py + (n0[1] + n1[1]) * d / k))
    return out


def offset(shape, d, miter_limit=3.0):
    return [offset_polygon(p, d, miter_limit) for p in shape]


def stroke(points, width, closed=False, caps=True):
    """Polygons covering a polyline of the given width, round joins and caps.

    The result is a union of positively oriented pieces (segment quads and
    joint discs), which the non-zero rule fills as one shape.
    """
    hw = width / 2.0
    shape = []
    pts = list(points)
    if closed:
        pts = pts + [pts[0]]
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        dx, dy = x1 - x0, y1 - y0
        ln = math.hypot(dx, dy)
        if ln == 0:
            continue
        nx, ny = -dy / ln * hw, dx / ln * hw
        quad = [(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)]
        shape.append(oriented(quad))
    joints = pts if (caps or closed) else pts[1:-1]
    for x, y in joints:
        shape.append(oriented(circle(x, y, hw, n=max(12, segments_for(hw)))[0]))
    return shape


def bezier(p0, p1, p2, p3=None, n=16):
    """Points along a quadratic (3 points) or cubic (4 points) Bezier curve."""
    out = []
    for i in range(n + 1):
        t = i / n
        u = 1 - t
        if p3 is None:
            x = u * u * p0[0] + 2 * u * t * p1[0] + t * t * p2[0]
            y = u * u * p0[1] + 2 * u * t * p1[1] + t * t * p2[1]
        else:
            x = u ** 3 * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t ** 3 * p3[0]
            y = u ** 3 * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t ** 3 * p3[1]
        out.append((x, y))
    return out


# ---------------------------------------------------------------------------
# Paints: callables (x, y) in design units -> straight RGBA in 0..1
# ---------------------------------------------------------------------------

def rgba(c, alpha=None):
    """Normalise an (r, g, b[, a]) 0..255 colour to a 0..1 tuple."""
    if len(c) == 3:
        a = 1.0 if alpha is None else alpha
    else:
        a = c[3] / 255.0 if alpha is None else alpha
    return (c[0] / 255.0, c[1] / 255.0, c[2] / 255.0, a)


def mix(c0, c1, t):
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def _stops(stops):
    return [(t, rgba(c)) for t, c in stops]


def _eval_stops(stops, t):
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            f = (t - t0) / (t1 - t0) if t1 > t0 else 0.0
            return mix(c0, c1, f)
    return stops[-1][1]


class Solid:
    def __init__(self, color, alpha=None):
        self.c = rgba(color, alpha)

    def __call__(self, x, y):
        return self.c


class Linear:
    def __init__(self, p0, p1, stops):
        self.x0, self.y0 = p0
        dx, dy = p1[0] - p0[0], p1[1] - p0[1]
        l2 = dx * dx + dy * dy or 1.0
        self.ux, self.uy = dx / l2, dy / l2
        self.stops = _stops(stops)

    def __call__(self, x, y):
        t = (x - self.x0) * self.ux + (y - self.y0) * self.uy
        return _eval_stops(self.stops, t)


class Radial:
    def __init__(self, centre, radius, stops, ry=None):
        self.cx, self.cy = centre
        self.rx = radius
        self.ry = ry or radius
        self.stops = _stops(stops)

    def __call__(self, x, y):
        t = math.hypot((x - self.cx) / self.rx, (y - self.cy) / self.ry)
        return _eval_stops(self.stops, t)


# ---------------------------------------------------------------------------
# Coverage masks
# ---------------------------------------------------------------------------

class Mask:
    """Per-pixel coverage (0..1) over a canvas-sized grid, with a bounding box."""

    def __init__(self, w, h, data=None, box=None):
        self.w, self.h = w, h
        self.data = data if data is not None else [0.0] * (w * h)
        self.box = box if box is not None else (0, 0, w, h)

    def intersect(self, other):
        d = [a * b for a, b in zip(self.data, other.data)]
        b0, b1 = self.box, other.box
        box = (max(b0[0], b1[0]), max(b0[1], b1[1]), min(b0[2], b1[2]), min(b0[3], b1[3]))
        if box[2] <= box[0] or box[3] <= box[1]:
            box = (0, 0, 0, 0)
        return Mask(self.w, self.h, d, box)

    def subtract(self, other):
        d = [a * (1.0 - b) for a, b in zip(self.data, other.data)]
        return Mask(self.w, self.h, d, self.box)

    def blurred(self, radius, passes=3):
        """Approximate Gaussian blur by repeated box blurs (radius in pixels)."""
        r = max(1, int(round(radius)))
        w, h = self.w, self.h
        d = list(self.data)
        for _ in range(passes):
            d = _box_blur_rows(d, w, h, r)
            d = _transpose(d, w, h)
            d = _box_blur_rows(d, h, w, r)
            d = _transpose(d, h, w)
        return Mask(w, h, d, (0, 0, w, h))


def _box_blur_rows(d, w, h, r):
    out = [0.0] * (w * h)
    inv = 1.0 / (2 * r + 1)
    for y in range(h):
        row = d[y * w:(y + 1) * w]
        acc = 0.0
        # window [x - r, x + r], zero outside
        for x in range(-r, r + 1):
            if 0 <= x < w:
                acc += row[x]
        base = y * w
        for x in range(w):
            out[base + x] = acc * inv
            xo = x - r
            xi = x + r + 1
            if 0 <= xo < w:
                acc -= row[xo]
            if xi < w:
                acc += row[xi]
    return out


def _transpose(d, w, h):
    out = [0.0] * (w * h)
    for y in range(h):
        base = y * w
        for x in range(w):
            out[x * h + y] = d[base + x]
    return out


def rasterize(shape_px, w, h):
    """Coverage of a shape given in pixel coordinates (non-zero rule)."""
    mask = Mask(w, h)
    edges = []
    minx, miny, maxx, maxy = 1e9, 1e9, -1e9, -1e9
    for poly in shape_px:
        n = len(poly)
        if n < 3:
            continue
        for i in range(n):
            x0, y0 = poly[i]
            x1, y1 = poly[(i + 1) % n]
            if x0 < minx: minx = x0
            if x0 > maxx: maxx = x0
            if y0 < miny: miny = y0
            if y0 > maxy: maxy = y0
            if y0 == y1:
                continue
            if y0 < y1:
                edges.append((y0, y1, x0, (x1 - x0) / (y1 - y0), 1))
            else:
                edges.append((y1, y0, x1, (x0 - x1) / (y0 - y1), -1))
    if not edges:
        mask.box = (0, 0, 0, 0)
        return mask
    bx0 = max(0, int(math.floor(minx)))
    bx1 = min(w, int(math.ceil(maxx)) + 1)
    by0 = max(0, int(math.floor(miny)))
    by1 = min(h, int(math.ceil(maxy)) + 1)
    if bx1 <= bx0 or by1 <= by0:
        mask.box = (0, 0, 0, 0)
        return mask
    mask.box = (bx0, by0, bx1, by1)
    edges.sort()
    data = mask.data
    bw = bx1 - bx0
    wgt = 1.0 / SUBROWS
    ei = 0
    active = []
    ne = len(edges)
    for py in range(by0, by1):
        acc = [0.0] * (bw + 2)
        delta = [0.0] * (bw + 2)
        touched = False
        for s in range(SUBROWS):
            sy = py + (s + 0.5) / SUBROWS
            while ei < ne and edges[ei][0] <= sy:
                active.append(edges[ei])
                ei += 1
            if not active:
                continue
            active = [e for e in active if e[1] > sy]
            xs = []
            for e in active:
                if e[0] <= sy:
                    xs.append((e[2] + (sy - e[0]) * e[3], e[4]))
            if not xs:
                continue
            xs.sort()
            wind = 0
            for i in range(len(xs) - 1):
                wind += xs[i][1]
                if wind == 0:
                    continue
                xa = xs[i][0] - bx0
                xb = xs[i + 1][0] - bx0
                if xa < 0.0:
                    xa = 0.0
                if xb > bw:
                    xb = float(bw)
                if xb <= xa:
                    continue
                touched = True
                ia = int(xa)
                ib = int(xb)
                if ia == ib:
                    acc[ia] += (xb - xa) * wgt
                else:
                    acc[ia] += (ia + 1 - xa) * wgt
                    delta[ia + 1] += wgt
                    delta[ib] -= wgt
                    acc[ib] += (xb - ib) * wgt
        if not touched:
            continue
        run = 0.0
        base = py * w + bx0
        for x in range(bw):
            run += delta[x]
            c = acc[x] + run
            if c > 1.0:
                c = 1.0
            elif c < 1e-6:
                c = 0.0
            data[base + x] = c
    return mask


# ---------------------------------------------------------------------------
# Canvas
# ---------------------------------------------------------------------------

class Canvas:
    def __init__(self, w, h, scale=1.0, origin=(0.0, 0.0)):
        self.w, self.h = w, h
        self.s = scale
        self.ox, self.oy = origin
        self.px = [0.0] * (w * h * 4)

    # -- coordinate mapping -------------------------------------------------
    def to_px(self, shape):
        s, ox, oy = self.s, self.ox, self.oy
        return [[(x * s + ox, y * s + oy) for x, y in poly] for poly in shape]

    def at_least(self, units, pixels):
        """A length in design units that is never thinner than `pixels`."""
        return max(units, pixels / self.s)

    def mask(self, shape):
        return rasterize(self.to_px(shape), self.w, self.h)

    # -- drawing ----------------------------------------------------------------
    def fill(self, shape, paint, opacity=1.0, clip=None):
        """Fill a shape (design units) over what is already drawn.

        Returns the coverage mask so callers can clip later layers to it.
        """
        m = self.mask(shape)
        if clip is not None:
            m = m.intersect(clip)
        self.fill_mask(m, paint, opacity)
        return m

    def fill_mask(self, m, paint, opacity=1.0):
        """Composite a paint through a coverage mask (source-over)."""
        if isinstance(paint, tuple):
            paint = Solid(paint)
        x0, y0, x1, y1 = m.box
        w = self.w
        px = self.px
        data = m.data
        s, ox, oy = self.s, self.ox, self.oy
        solid = paint.c if isinstance(paint, Solid) else None
        for y in range(y0, y1):
            dy = (y + 0.5 - oy) / s
            row = y * w
            for x in range(x0, x1):
                c = data[row + x]
                if c <= 0.0:
                    continue
                r, g, b, a = solid if solid else paint((x + 0.5 - ox) / s, dy)
                k = a * c * opacity
                if k <= 0.0:
                    continue
                i = (row + x) * 4
                inv = 1.0 - k
                px[i] = r * k + px[i] * inv
                px[i + 1] = g * k + px[i + 1] * inv
                px[i + 2] = b * k + px[i + 2] * inv
                px[i + 3] = k + px[i + 3] * inv

    def shadow(self, shape, color=(0, 0, 0), opacity=0.5, blur_px=1.5, dx=0.0, dy=0.0):
        """Soft shadow of a shape, offset by (dx, dy) design units."""
        m = self.mask(translate(shape, dx, dy)).blurred(blur_px)
        self.fill_mask(m, Solid(color), opacity)

    def draw_canvas(self, other, opacity=1.0):
        """Composite another canvas of the same size on top of this one."""
        a, b = self.px, other.px
        for i in range(0, len(a), 4):
            k = b[i + 3] * opacity
            if k <= 0.0:
                continue
            inv = 1.0 - k
            a[i] = b[i] * opacity + a[i] * inv
            a[i + 1] = b[i + 1] * opacity + a[i + 1] * inv
            a[i + 2] = b[i + 2] * opacity + a[i + 2] * inv
            a[i + 3] = k + a[i + 3] * inv

    def alpha_mask(self):
        return Mask(self.w, self.h, [self.px[i * 4 + 3] for i in range(self.w * self.h)])

    # -- output -------------------------------------------------------------
    def rgba_bytes(self, background=None):
        """Straight-alpha 8-bit RGBA rows (top row first).

        With a background colour the result is composited onto it and is
        fully opaque.
        """
        out = bytearray(self.w * self.h * 4)
        bg = rgba(background) if background is not None else None
        px = self.px
        for i in range(self.w * self.h):
            r, g, b, a = px[i * 4:i * 4 + 4]
            if bg is not None:
                inv = 1.0 - a
                r, g, b, a = r + bg[0] * inv, g + bg[1] * inv, b + bg[2] * inv, 1.0
            elif a > 0.0:
                r, g, b = r / a, g / a, b / a
            else:
                r = g = b = 0.0
            out[i * 4] = _byte(r)
            out[i * 4 + 1] = _byte(g)
            out[i * 4 + 2] = _byte(b)
            out[i * 4 + 3] = _byte(a)
        return bytes(out)


def _byte(v):
    v = int(v * 255.0 + 0.5)
    return 0 if v < 0 else 255 if v > 255 else v


def composite_rgba(rgba_bytes, background):
    """Flatten straight RGBA bytes onto an opaque RGB background colour."""
    out = bytearray(len(rgba_bytes))
    br, bg, bb = background[:3]
    for i in range(0, len(rgba_bytes), 4):
        r, g, b, a = rgba_bytes[i:i + 4]
        out[i] = (r * a + br * (255 - a) + 127) // 255
        out[i + 1] = (g * a + bg * (255 - a) + 127) // 255
        out[i + 2] = (b * a + bb * (255 - a) + 127) // 255
        out[i + 3] = 255
    return bytes(out)


def upscale_nearest(rgba_bytes, w, h, k):
    """Nearest-neighbour enlargement, used for previews."""
    out = bytearray()
    for y in range(h):
        row = bytearray()
        for x in range(w):
            row += rgba_bytes[(y * w + x) * 4:(y * w + x) * 4 + 4] * k
        out += bytes(row) * k
    return bytes(out)
