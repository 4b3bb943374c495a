"""Non-badge artwork: caption buttons, message icons, the program icon,
VIP marks, the client's small status icons and the badge glint frames.

Each function returns (width, height, rgba_bytes).
"""

import math

import badges as B
from raster import (Canvas, Linear, Mask, Radial, Solid, bezier, circle,
                    ellipse, offset, oriented, rect, ring, rotate_about,
                    rounded_rect, star, stroke)

WHITE = (255, 255, 255)

# ---------------------------------------------------------------------------
# Stroke glyphs (digits and the few signs the icons need)
# ---------------------------------------------------------------------------
# Glyphs are polylines on a 10 x 14 grid (x right, y down, baseline at 14).


def _arc(cx, cy, r, d0, d1, n=14):
    return [(cx + r * math.cos(math.radians(d0 + (d1 - d0) * i / n)),
             cy + r * math.sin(math.radians(d0 + (d1 - d0) * i / n))) for i in range(n + 1)]


GLYPHS = {
    "1": [[(2.6, 3.6), (5.6, 1.0), (5.6, 13.0)]],
    "2": [_arc(5.0, 4.6, 3.6, 200, 375) + [(1.4, 13.0), (8.8, 13.0)]],
    "3": [_arc(4.9, 4.1, 3.1, 205, 450), _arc(4.9, 9.6, 3.5, 270, 500)],
    "4": [[(7.0, 13.0), (7.0, 1.0), (1.0, 9.6), (9.2, 9.6)]],
    "5": [[(8.4, 1.0), (2.4, 1.0), (1.9, 6.4)] + _arc(5.0, 9.2, 3.8, 235, 500)],
    "6": [_arc(5.2, 9.3, 3.7, 0, 360, 20), _arc(9.0, 9.3, 7.5, 180, 250, 10)],
    "V": [[(1.0, 1.0), (5.0, 13.0), (9.0, 1.0)]],
    "?": [_arc(5.0, 4.6, 3.6, 195, 395) + [(5.0, 8.6), (5.0, 9.4)]],
}
GLYPH_DOTS = {"?": [(5.0, 12.8)]}


def glyph_shape(ch, x, y, height, weight):
    """Stroked glyph placed with its top-left at (x, y), scaled to height."""
    k = height / 14.0
    shape = []
    for line in GLYPHS[ch]:
        shape += stroke([(x + px * k, y + py * k) for px, py in line], weight)
    for px, py in GLYPH_DOTS.get(ch, []):
        shape += [oriented(circle(x + px * k, y + py * k, weight * 0.62)[0])]
    return shape


def dilate(mask, radius=1):
    """Grow a coverage mask by about `radius` pixels (max filter, soft diagonals)."""
    w, h = mask.w, mask.h
    d = mask.data
    out = [0.0] * (w * h)
    for y in range(h):
        for x in range(w):
            best = 0.0
            for dy in range(-radius, radius + 1):
                yy = y + dy
                if yy < 0 or yy >= h:
                    continue
                for dx in range(-radius, radius + 1):
                    xx = x + dx
                    if xx < 0 or xx >= w:
                        continue
                    v = d[yy * w + xx]
                    if dx and dy:
                        v *= 0.7
                    if v > best:
                        best = v
            out[y * w + x] = best
    return Mask(w, h, out)


# ---------------------------------------------------------------------------
# Caption buttons
# ---------------------------------------------------------------------------

CAPTION_W, CAPTION_H = 729, 20
CELL_TOP, CELL_BOTTOM = 2, 20          # cells are read from rows 2..19
CLOSE_CELLS = (0, 40, 80)
CLOSE_WIDTH = 39
BUTTON_WIDTH = 28
BUTTON_CELLS = {
    "maximize": (120, 149, 178),
    "restore": (207, 236, 265),
    "minimize": (294, 323, 352),
    "menu": (381, 410, 439),
    "skin": (468, 497, 526),
    "feedback": (555, 584, 613),
    "settings": (642, 671, 700),
}
RED_HOVER, RED_PRESSED = (224, 34, 46), (160, 16, 28)
BLUE_HOVER, BLUE_PRESSED = (44, 126, 220), (24, 84, 160)


def _outline_rect(x0, y0, x1, y1, t=1.0):
    """Pixel-crisp rectangle frame of thickness t (outer edge given)."""
    outer = oriented(rect(x0, y0, x1, y1)[0], True)
    inner = oriented(rect(x0 + t, y0 + t, x1 - t, y1 - t)[0], False)
    return [outer, inner]


def caption_glyph(kind, cx, cy):
    """Glyph shape centred on (cx, cy); cx, cy fall on pixel boundaries."""
    if kind == "close":
        d = 4.6
        return stroke([(cx - d, cy - d), (cx + d, cy + d)], 1.35) + \
            stroke([(cx - d, cy + d), (cx + d, cy - d)], 1.35)
    if kind == "maximize":
        return _outline_rect(cx - 5, cy - 5, cx + 5, cy + 5)
    if kind == "restore":
        back = [[(cx - 3, cy - 5), (cx + 5, cy - 5), (cx + 5, cy + 3), (cx + 4, cy + 3),
                 (cx + 4, cy - 4), (cx - 3, cy - 4)]]
        back = [oriented(back[0])]
        return back + _outline_rect(cx - 5, cy - 3, cx + 3, cy + 5)
    if kind == "minimize":
        return rect(cx - 5, cy, cx + 5, cy + 1)
    if kind == "menu":
        bar = rect(cx - 5, cy - 4, cx + 5, cy - 3)
        tri = [oriented([(cx - 4.5, cy - 0.5), (cx + 4.5, cy - 0.5), (cx, cy + 4.5)])]
        return bar + tri
    if kind == "skin":
        pts = [(cx - 2.2, cy - 5.2), (cx - 6.2, cy - 3.0), (cx - 4.6, cy + 0.2), (cx - 3.4, cy - 0.4),
               (cx - 3.4, cy + 5.4), (cx + 3.4, cy + 5.4), (cx + 3.4, cy - 0.4), (cx + 4.6, cy + 0.2),
               (cx + 6.2, cy - 3.0), (cx + 2.2, cy - 5.2)]
        collar = [(cx + 2.2, cy - 5.2), (cx, cy - 3.4), (cx - 2.2, cy - 5.2)]
        return stroke(pts + collar[1:], 1.1, closed=True)
    if kind == "feedback":
        body = rounded_rect(cx - 6, cy - 5, cx + 6, cy + 3, 2.2)[0]
        outer = stroke(body, 1.1, closed=True)
        tail = stroke([(cx - 3.0, cy + 3.0), (cx - 3.6, cy + 6.0), (cx + 0.2, cy + 3.0)], 1.1)
        dots = []
        for dx in (-3, 0, 3):
            dots += circle(cx + dx, cy - 1.0, 0.85)
        return outer + tail + [oriented(d) for d in dots]
    if kind == "settings":
        teeth = 8
        pts = []
        for i in range(teeth * 4):
            a = 2 * math.pi * i / (teeth * 4) + math.pi / 8
            r = 6.0 if (i % 4) in (1, 2) else 4.4
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        hole = oriented(circle(cx, cy, 1.9, n=24)[0], False)
        return [oriented(pts), hole]
    raise ValueError(kind)


def caption_buttons():
    cv = Canvas(CAPTION_W, CAPTION_H)
    cells = [("close", x, CLOSE_WIDTH, state) for x, state in zip(CLOSE_CELLS, range(3))]
    for kind, xs in BUTTON_CELLS.items():
        cells += [(kind, x, BUTTON_WIDTH, state) for x, state in zip(xs, range(3))]
    for kind, x, w, state in cells:
        if state:
            if kind == "close":
                color = RED_HOVER if state == 1 else RED_PRESSED
            else:
                color = BLUE_HOVER if state == 1 else BLUE_PRESSED
            top, bottom = tuple(min(255, c + 18) for c in color), color
            cv.fill(rect(x, CELL_TOP, x + w, CELL_BOTTOM),
                    Linear((0, CELL_TOP), (0, CELL_BOTTOM), [(0, top), (1, bottom)]))
        cx = x + w // 2 + (0.5 if kind == "close" else 0.0)
        cy = (CELL_TOP + CELL_BOTTOM) // 2
        glyph = caption_glyph(kind, cx, cy)
        m = cv.mask(glyph)
        # a faint dark halo keeps the white glyph readable on light skins
        halo = dilate(m).subtract(m)
        cv.fill_mask(halo, Solid((0, 0, 0), 0.38 if state == 0 else 0.22))
        cv.fill_mask(m, Solid(WHITE))
    return CAPTION_W, CAPTION_H, cv.rgba_bytes()


# ---------------------------------------------------------------------------
# Message box icons
# ---------------------------------------------------------------------------

def _disc_icon(cv, ox, top, bottom):
    """Glossy disc with a soft shadow in a 40 x 40 cell at x offset ox."""
    cx, cy, r = ox + 20, 19.5, 17.0
    cv.shadow(circle(cx, cy, r), opacity=0.35, blur_px=1.6, dy=1.2)
    cv.fill(circle(cx, cy, r + 0.6), tuple(int(c * 0.55) for c in bottom))
    cv.fill(circle(cx, cy, r), Radial((cx - 4, cy - 6), 24, [(0, top), (1, bottom)]))
    gloss = ellipse(cx, cy - 8.5, 12.5, 7.5)
    cv.fill(gloss, Linear((0, cy - 16), (0, cy - 2), [(0, (255, 255, 255, 120)), (1, (255, 255, 255, 0))]))
    return cx, cy


def _glyph_with_shadow(cv, shape, color=WHITE, shadow=(0, 0, 0), alpha=0.28):
    cv.shadow(shape, color=shadow, opacity=alpha, blur_px=1.0, dy=0.8)
    cv.fill(shape, color)


def message_icons():
    cv = Canvas(200, 40)
    # error
    cx, cy = _disc_icon(cv, 0, (255, 118, 110), (190, 18, 30))
    d = 6.2
    _glyph_with_shadow(cv, stroke([(cx - d, cy - d), (cx + d, cy + d)], 4.0)
                       + stroke([(cx - d, cy + d), (cx + d, cy - d)], 4.0))
    # warning: rounded amber triangle
    ox = 40
    tri = [(ox + 20, 3.5), (ox + 37.5, 34.5), (ox + 2.5, 34.5)]
    rounded = []
    for i in range(3):
        p, q, r_ = tri[i - 1], tri[i], tri[(i + 1) % 3]
        a = (q[0] + (p[0] - q[0]) * 0.12, q[1] + (p[1] - q[1]) * 0.12)
        b = (q[0] + (r_[0] - q[0]) * 0.12, q[1] + (r_[1] - q[1]) * 0.12)
        rounded += bezier(a, q, b, n=8)
    tri_shape = [oriented(rounded)]
    cv.shadow(tri_shape, opacity=0.35, blur_px=1.6, dy=1.2)
    cv.fill(offset(tri_shape, 0.6), (150, 86, 0))
    cv.fill(tri_shape, Linear((0, 4), (0, 35), [(0, (255, 222, 110)), (1, (236, 146, 0))]))
    cv.fill(ellipse(ox + 20, 15, 7, 9), Linear((0, 6), (0, 22), [(0, (255, 255, 255, 110)), (1, (255, 255, 255, 0))]))
    bang = [oriented([(ox + 18.2, 12.5), (ox + 21.8, 12.5), (ox + 21.0, 25.0), (ox + 19.0, 25.0)])]
    bang += [oriented(rounded_rect(ox + 18.2, 11.0, ox + 21.8, 15.0, 1.8)[0])]
    bang += circle(ox + 20, 29.3, 2.1)
    _glyph_with_shadow(cv, bang, color=(70, 40, 0), shadow=(255, 255, 255), alpha=0.25)
    # question
    cx, cy = _disc_icon(cv, 80, (110, 180, 255), (20, 84, 196))
    _glyph_with_shadow(cv, glyph_shape("?", cx - 6.0, cy - 10.5, 21.0, 3.6))
    # information
    cx, cy = _disc_icon(cv, 120, (110, 180, 255), (20, 84, 196))
    info = circle(cx, cy - 7.8, 2.5) + rounded_rect(cx - 2.0, cy - 3.5, cx + 2.0, cy + 9.5, 1.2)
    info += rect(cx - 4.0, cy - 3.5, cx, cy - 1.6) + rounded_rect(cx - 4.5, cy + 7.8, cx + 4.5, cy + 9.8, 0.8)
    _glyph_with_shadow(cv, info)
    # success
    cx, cy = _disc_icon(cv, 160, (126, 226, 120), (24, 144, 54))
    _glyph_with_shadow(cv, stroke([(cx - 7.5, cy + 0.5), (cx - 2.3, cy + 5.8), (cx + 8.0, cy - 5.5)], 4.0))
    return 200, 40, cv.rgba_bytes()


# ---------------------------------------------------------------------------
# Program icon: a golden ladder climbing into a cloud, on a blue shield
# ---------------------------------------------------------------------------

def draw_app_icon(cv, simple=False):
    sh = B.shield_outline(10, 90, 6, 96, shoulder=0.45)
    if not simple:
        cv.shadow(sh, opacity=0.45, blur_px=max(1.0, cv.s * 2.5), dy=2.0)
    B.emboss(cv, sh, B.GOLD, bevel=3.6, outline=2.2)
    field = offset(sh, -6.0)
    m = cv.fill(field, Linear((0, 10), (0, 92), [(0, (74, 150, 236)), (0.6, (26, 74, 170)), (1, (12, 34, 92))]))
    # sky glow behind the cloud
    cv.fill(circle(50, 28, 34), Radial((50, 26), 34, [(0, (190, 230, 255, 150)), (1, (190, 230, 255, 0))]), clip=m)
    # ladder in perspective: rails converge toward the cloud
    rail_w = 5.2 if not simple else 7.0
    lb, rb = (30, 88), (70, 88)
    lt, rt = (41, 26), (59, 26)
    rails = stroke([lb, lt], rail_w) + stroke([rb, rt], rail_w)
    rungs = []
    steps = 3 if simple else 6
    for i in range(steps):
        t = (i + 0.6) / (steps + 0.2)
        y = lb[1] + (lt[1] - lb[1]) * t
        xl = lb[0] + (lt[0] - lb[0]) * t
        xr = rb[0] + (rt[0] - rb[0]) * t
        rungs += stroke([(xl, y), (xr, y)], rail_w * (0.95 - 0.3 * t))
    ladder = rails + rungs
    if not simple:
        cv.fill(offset(ladder, cv.at_least(1.6, 0.7)), (70, 36, 0), clip=m)
    cv.fill(ladder, Linear((30, 30), (70, 90), [(0, (255, 240, 160)), (0.5, (246, 190, 54)), (1, (196, 124, 16))]), clip=m)
    # the cloud the ladder reaches
    puffs = [(36, 28, 10), (50, 22, 13), (64, 28, 10), (44, 32, 9), (57, 33, 9)]
    if simple:
        puffs = [(38, 25, 10), (52, 21, 12), (64, 26, 9)]
    cloud = []
    for x, y, r in puffs:
        cloud += circle(x, y, r)
    cv.fill([oriented(p) for p in offset(cloud, cv.at_least(1.4, 0.6))], (40, 80, 150), clip=m)
    cv.fill([oriented(p) for p in cloud],
            Linear((0, 10), (0, 42), [(0, (255, 255, 255)), (1, (196, 220, 246))]), clip=m)
    if not simple:
        star_s = star(50, 16, 5.5, 2.3)
        cv.fill(offset(star_s, 1.0), (120, 70, 0))
        cv.fill(star_s, (255, 226, 110))


def app_icon(size):
    cv = Canvas(size, size, size / 100.0)
    draw_app_icon(cv, simple=size <= 16)
    return size, size, cv.rgba_bytes()


# ---------------------------------------------------------------------------
# Picker placeholders
# ---------------------------------------------------------------------------

def _placeholder_frame(cv):
    sh = B.shield_outline(16, 84, 8, 92, shoulder=0.42)
    cv.fill(offset(sh, 1.0), (20, 24, 30, 200))
    cv.fill(sh, Linear((0, 8), (0, 92), [(0, (150, 158, 170)), (1, (90, 96, 108))]))
    inner = offset(sh, -6.0)
    cv.fill(inner, Linear((0, 12), (0, 88), [(0, (72, 78, 90)), (1, (40, 44, 52))]))
    return inner


def rank_present(size=30):
    """Current-rank box before a pick: a steel shield with a question mark."""
    cv = Canvas(size, size, size / 100.0)
    _placeholder_frame(cv)
    q = glyph_shape("?", 37, 22, 48, 9.0)
    cv.fill(offset(q, cv.at_least(1.5, 0.6)), (20, 22, 26))
    cv.fill(q, (226, 232, 240))
    return size, size, cv.rgba_bytes()


def rank_target(size=30):
    """Target-rank box before a pick: the same shield inviting a choice (+)."""
    cv = Canvas(size, size, size / 100.0)
    _placeholder_frame(cv)
    plus = stroke([(50, 30), (50, 66)], 11) + stroke([(32, 48), (68, 48)], 11)
    cv.fill(offset(plus, cv.at_least(1.5, 0.6)), (16, 40, 22))
    cv.fill(plus, Linear((0, 30), (0, 66), [(0, (170, 240, 150)), (1, (60, 178, 76))]))
    return size, size, cv.rgba_bytes()


# ---------------------------------------------------------------------------
# VIP marks (VIP_2ND): crest in the level's colour with the level digit
# ---------------------------------------------------------------------------

VIP_LEVELS = {
    1: (B.BRONZE, ((220, 150, 96), (120, 62, 24))),
    2: (B.SILVER, ((170, 180, 196), (70, 78, 92))),
    3: (B.GOLD, ((250, 196, 60), (168, 100, 8))),
    4: (B.GOLD, ((60, 200, 120), (8, 92, 48))),
    5: (B.PLATINUM, ((80, 140, 255), (24, 40, 150))),
    6: (B.PLATINUM, ((236, 70, 200), (96, 12, 120))),
}


def vip_icon(level, w, h):
    """Crest filling a w x h box (design box 100 wide, 100*h/w tall)."""
    k = w / 100.0
    dh = h / k
    cv = Canvas(w, h, k)
    metal, field = VIP_LEVELS[level]
    top, bottom = 4.0, dh - 3.0
    crest = [oriented([(8, top + 14), (28, top), (72, top), (92, top + 14), (92, bottom - 30),
                       (50, bottom), (8, bottom - 30)])]
    B.emboss(cv, crest, metal, bevel=6.0, outline=4.0, min_outline=0.6)
    inner = offset(crest, -cv.at_least(9.0, 1.0))
    B.enamel(cv, inner, field)
    gh = (bottom - top) * 0.56
    digit = glyph_shape(str(level), 50 - gh * 0.36, top + (bottom - top) * 0.2, gh, cv.at_least(gh * 0.17, 1.15))
    cv.fill(offset(digit, cv.at_least(4.0, 0.55)), (20, 14, 10, 220))
    cv.fill(digit, WHITE)
    return w, h, cv.rgba_bytes()


# ---------------------------------------------------------------------------
# Client status icons
# ---------------------------------------------------------------------------

def community_icon(size):
    """Green community member: green roundel with a white member silhouette."""
    cv = Canvas(size, size, size / 100.0)
    cv.fill(circle(50, 50, 47), (10, 60, 24))
    cv.fill(circle(50, 50, 44), Radial((40, 34), 62, [(0, (140, 230, 120)), (1, (20, 130, 50))]))
    cv.fill(ellipse(50, 30, 30, 16), (255, 255, 255, 50))
    person = circle(50, 37, 12) + [oriented(bezier((24, 78), (26, 52), (74, 52), n=16) + [(76, 78)])]
    cv.fill(offset(person, cv.at_least(2.0, 0.6)), (8, 70, 24, 200))
    cv.fill(person, WHITE)
    return size, size, cv.rgba_bytes()


def pay_user_icon(size):
    """Paying member: gold coin carrying a cut diamond."""
    cv = Canvas(size, size, size / 100.0)
    B.emboss(cv, circle(50, 50, 44), B.GOLD, bevel=6.0, outline=3.0)
    cv.fill(circle(50, 50, 33), Radial((44, 40), 40, [(0, (255, 226, 120)), (1, (206, 136, 20))]))
    gem = [oriented([(30, 42), (38, 31), (62, 31), (70, 42), (50, 70)])]
    cv.fill(offset(gem, cv.at_least(2.5, 0.6)), (10, 40, 80))
    cv.fill(gem, Linear((30, 30), (70, 70), [(0, (220, 250, 255)), (0.5, (90, 190, 250)), (1, (30, 90, 200))]))
    if size >= 24:
        for facet in ([(30, 42), (70, 42)], [(38, 31), (44, 42), (50, 70)], [(62, 31), (56, 42), (50, 70)],
                      [(44, 42), (50, 31), (56, 42)]):
            cv.fill(stroke(facet, cv.at_least(1.6, 0.5)), (255, 255, 255, 150))
    return size, size, cv.rgba_bytes()


def reject_icon(size):
    """Refused / not allowed: red ring with a slash."""
    cv = Canvas(size, size, size / 100.0)
    cv.shadow(circle(50, 50, 44), opacity=0.3, blur_px=max(1.0, size / 20), dy=2)
    cv.fill(ring(50, 50, 45, 30), (90, 0, 10))
    cv.fill(ring(50, 50, 42, 33), Linear((0, 8), (0, 92), [(0, (255, 90, 90)), (1, (190, 10, 24))]))
    bar = rotate_about(rounded_rect(18, 44.5, 82, 55.5, 2), 50, 50, math.radians(-45))
    cv.fill(offset(bar, 3), (90, 0, 10))
    cv.fill(bar, Linear((20, 20), (80, 80), [(0, (255, 90, 90)), (1, (190, 10, 24))]))
    return size, size, cv.rgba_bytes()


# ---------------------------------------------------------------------------
# Glint frames drawn over a badge
# ---------------------------------------------------------------------------

EFFECT_SIZE = 32


def line_effect_frame(i, frames=10, size=EFFECT_SIZE):
    """A soft diagonal light band sweeping left to right across the badge.

    The band's centre crosses the middle row from x = -5 to x = 105 over the
    frames, and fades toward the edge of the badge area.
    """
    cv = Canvas(size, size, size / 100.0)
    t = i / (frames - 1)
    x = -24 + 110 * t            # band centre at mid-height is x + 19
    band = [oriented([(x - 10, 110), (x + 8, 110), (x + 48, -10), (x + 30, -10)])]
    core = [oriented([(x - 3, 110), (x + 3, 110), (x + 43, -10), (x + 37, -10)])]
    fade = 0.35 + 0.65 * math.sin(math.pi * t)

    def light(color, alpha):
        a = int(255 * alpha * fade)
        return Radial((50, 48), 56, [(0.0, color + (a,)), (0.7, color + (int(a * 0.7),)), (1.0, color + (0,))])

    cv.fill(band, light((255, 246, 214), 0.40))
    cv.fill(core, light((255, 255, 255), 0.85))
    return size, size, cv.rgba_bytes()


def all_effect_frame(i, frames=6, size=EFFECT_SIZE):
    """A pulse of light over the whole badge with a turning four-point sparkle."""
    cv = Canvas(size, size, size / 100.0)
    t = i / (frames - 1)
    pulse = math.sin(math.pi * (0.15 + 0.7 * t))
    cv.fill(circle(50, 46, 48), Radial((50, 46), 48, [(0, (255, 244, 200, int(170 * pulse))),
                                                       (0.6, (255, 220, 120, int(70 * pulse))),
                                                       (1, (255, 210, 100, 0))]))
    spark = star(50, 46, 20 + 26 * pulse, 4 + 3 * pulse, points=4, rotation=math.radians(-90 + 30 * t))
    cv.fill(spark, Radial((50, 46), 46, [(0, (255, 255, 255, 255)), (1, (255, 240, 200, 40))]))
    for k, (dx, dy) in enumerate(((-26, -22), (24, -18), (22, 26), (-22, 24))):
        s = (0.4 + 0.6 * math.sin(math.pi * ((t + k * 0.23) % 1.0))) * pulse
        if s > 0.05:
            cv.fill(star(50 + dx, 46 + dy, 9 * s, 2 * s, points=4), (255, 255, 240, 220))
    return size, size, cv.rgba_bytes()
