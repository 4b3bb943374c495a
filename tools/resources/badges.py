"""Rank badge artwork.

The ladder has 103 ranks.  Rank 1 is the recruit; ranks 2..103 form 17
tiers of 6 grades.  The tier decides the emblem and its metal; the grade
(1..6) is the number of pips on the arc under the emblem, styled after the
tier's metal.  Rank 0 is the "no rank" badge the client shows for a player
without one.

    ranks    emblem                                   metal, pips
    2-19     1, 2, 3 chevrons                         bronze, studs
    20-37    shoulder board with 1, 2, 3 bars         silver, diamonds
    38-55    crimson shield with 1, 2, 3 stars        gold, stars
    56-73    laurel wreath, blue medal, 1-3 stars     gold/platinum, platinum stars
    74-91    crowned wreath, 1-3 stars                gold, then platinum; rubies
    92-97    crossed batons, crowned wreath, star     gold and ruby; diamonds
    98-103   winged star under a crown                platinum; diamonds
             (103 alone: gold wings and a halo)

All geometry lives in a 100 x 100 design box: the emblem in y 3..82, the
pips on a gentle arc around y = 88.
"""

import math

from raster import (Linear, Radial, bbox, bezier, circle, ellipse, offset,
                    oriented, rect, regular_polygon, rotate_about,
                    rounded_rect, scale_about, star, stroke)

# ---------------------------------------------------------------------------
# Materials
# ---------------------------------------------------------------------------


class Metal:
    def __init__(self, outline, rim_top, rim_bottom, face, shine=(255, 255, 255)):
        self.outline = outline
        self.rim = [(0.0, rim_top), (1.0, rim_bottom)]
        self.face = face
        self.shine = shine


BRONZE = Metal((52, 24, 8), (255, 214, 160), (96, 46, 16),
               [(0.0, (250, 196, 140)), (0.42, (214, 138, 74)),
                (0.58, (160, 88, 40)), (1.0, (206, 128, 70))])
SILVER = Metal((24, 28, 38), (255, 255, 255), (86, 94, 108),
               [(0.0, (246, 248, 252)), (0.42, (198, 205, 216)),
                (0.58, (134, 142, 156)), (1.0, (192, 199, 210))])
GOLD = Metal((62, 34, 0), (255, 250, 205), (140, 84, 6),
             [(0.0, (255, 242, 170)), (0.42, (248, 198, 66)),
              (0.58, (204, 138, 22)), (1.0, (240, 184, 60))])
PLATINUM = Metal((18, 34, 56), (255, 255, 255), (104, 134, 162),
                 [(0.0, (252, 254, 255)), (0.42, (214, 232, 246)),
                  (0.58, (150, 182, 210)), (1.0, (206, 226, 242))])
IRON = Metal((18, 20, 18), (196, 198, 188), (60, 62, 58),
             [(0.0, (172, 174, 166)), (0.42, (130, 132, 126)),
              (0.58, (96, 98, 94)), (1.0, (128, 130, 124))])

# enamel fields: (top colour, bottom colour)
NAVY = ((40, 66, 124), (12, 22, 54))
CRIMSON = ((176, 34, 44), (74, 8, 16))
ROYAL = ((44, 96, 196), (12, 30, 88))
PURPLE = ((120, 48, 160), (42, 10, 70))
OLIVE = ((112, 122, 64), (48, 56, 24))
SLATE = ((86, 92, 102), (40, 44, 52))

# gem colours: (light, mid, dark)
RUBY = ((255, 150, 160), (220, 20, 50), (90, 0, 20))
SAPPHIRE = ((170, 210, 255), (30, 90, 220), (8, 24, 90))
EMERALD = ((170, 255, 200), (20, 170, 90), (0, 60, 30))
DIAMOND = ((255, 255, 255), (170, 230, 255), (60, 120, 180))

# ribbon cloth, drawn like a soft metal so it shares the bevel look
RIBBON = Metal((40, 4, 10), (255, 120, 120), (110, 10, 24),
               [(0.0, (236, 70, 76)), (0.5, (190, 24, 40)), (1.0, (150, 14, 30))])


# ---------------------------------------------------------------------------
# Drawing primitives
# ---------------------------------------------------------------------------

def emboss(cv, shape, metal, bevel=2.4, outline=1.7, angle=0.25, min_outline=0.75):
    """Metal piece: dark outline, bevelled rim and a banded face.

    Widths are in design units but never thinner than a fraction of a pixel,
    so small renderings keep a readable edge.
    """
    tiny = cv.s < 0.25          # sclass-sized renderings get lighter edges
    ow = cv.at_least(outline, 0.45 if tiny else min_outline)
    bv = cv.at_least(bevel, 0.4 if tiny else 0.55)
    x0, y0, x1, y1 = bbox(shape)
    h = max(y1 - y0, 1.0)
    dx = h * angle
    cv.fill(offset(shape, ow), metal.outline)
    cv.fill(shape, Linear((x0, y0), (x0 + dx, y1), metal.rim))
    face = offset(shape, -bv)
    fx0, fy0, fx1, fy1 = bbox(face)
    # the face's bands run against the rim, which reads as a raised bevel
    cv.fill(face, Linear((fx0 + dx, fy0), (fx0, fy1), metal.face))


def enamel(cv, shape, colors, gloss=True):
    """Flat coloured field with a soft top sheen."""
    x0, y0, x1, y1 = bbox(shape)
    m = cv.fill(shape, Linear((0, y0), (0, y1), [(0.0, colors[0]), (1.0, colors[1])]))
    if gloss:
        cx = (x0 + x1) / 2
        sheen = ellipse(cx, y0 + (y1 - y0) * 0.12, (x1 - x0) * 0.55, (y1 - y0) * 0.32)
        cv.fill(sheen, Linear((0, y0), (0, y0 + (y1 - y0) * 0.45),
                              [(0.0, (255, 255, 255, 80)), (1.0, (255, 255, 255, 0))]),
                clip=m)
    return m


def gem(cv, cx, cy, r, colors, facets=True):
    """Cut gem: outlined disc, radial body, bright table and a sparkle."""
    light, mid, dark = colors
    cv.fill(circle(cx, cy, r + cv.at_least(1.0, 0.6)), (20, 10, 20))
    cv.fill(circle(cx, cy, r), Radial((cx - r * 0.3, cy - r * 0.35), r * 1.3,
                                     [(0.0, light), (0.45, mid), (1.0, dark)]))
    if facets and r * cv.s >= 2.5:
        table = regular_polygon(cx, cy, r * 0.55, 8, rotation=math.pi / 8)
        cv.fill(table, (255, 255, 255, 60))
    if r * cv.s >= 1.6:
        cv.fill(circle(cx - r * 0.35, cy - r * 0.38, r * 0.28), (255, 255, 255, 230))


def chevron(cx, top, half_w, drop, thick):
    """An upward chevron (^) with vertical end cuts."""
    return [[(cx, top), (cx + half_w, top + drop), (cx + half_w, top + drop + thick),
             (cx, top + thick), (cx - half_w, top + drop + thick), (cx - half_w, top + drop)]]


def shield_outline(x0, x1, top, bottom, shoulder=0.42, notch=0.0):
    """Heater shield: flat top, straight sides, curved to a point."""
    cx = (x0 + x1) / 2
    side_end = top + (bottom - top) * shoulder
    right = bezier((x1, side_end), (x1, side_end + (bottom - side_end) * 0.55),
                   (cx + (x1 - cx) * 0.45, bottom - (bottom - side_end) * 0.18), (cx, bottom), n=20)
    left = [(2 * cx - x, y) for x, y in reversed(right)]
    pts = [(x0, top)]
    if notch:
        pts += [(cx - notch, top), (cx, top + notch * 0.6), (cx + notch, top)]
    pts += [(x1, top)] + right + left[1:]
    return [oriented(pts)]


def star_shape(cx, cy, r, inner=0.42):
    return star(cx, cy, r, r * inner)


def embossed_star(cv, cx, cy, r, metal):
    """A star with a ridge down each arm (light/dark halves)."""
    shape = star_shape(cx, cy, r)
    emboss(cv, shape, metal, bevel=max(0.9, r * 0.09), outline=max(1.2, r * 0.08))
    if r * cv.s < 5:
        return
    # facet shading: darken the right half of each arm to suggest a ridge
    pts = shape[0]
    for i in range(0, len(pts), 2):
        tip = pts[i]
        nxt = pts[(i + 1) % len(pts)]
        cv.fill([[(cx, cy), tip, nxt]], (0, 0, 0, 40))
    cv.fill(circle(cx, cy, r * 0.12), (255, 255, 255, 60))


# ---------------------------------------------------------------------------
# Pips (grade within a tier)
# ---------------------------------------------------------------------------

PIP_Y = 88.0


def pip_positions(count):
    spacing = 15.0
    out = []
    for i in range(count):
        x = 50 + (i - (count - 1) / 2) * spacing
        # a gentle smile: outer pips sit a little higher
        y = PIP_Y - ((x - 50) / 40.0) ** 2 * 4.0
        out.append((x, y))
    return out


def draw_pips(cv, count, style):
    # thin outlines at small sizes keep neighbouring pips apart
    ol = dict(bevel=1.2, outline=1.2, min_outline=0.55)
    for x, y in pip_positions(count):
        if style == "stud":
            emboss(cv, circle(x, y, 5.2), BRONZE, **ol)
        elif style == "diamond":
            emboss(cv, [[(x, y - 6.6), (x + 5.4, y), (x, y + 6.6), (x - 5.4, y)]], SILVER, **ol)
        elif style == "gold_star":
            emboss(cv, star_shape(x, y, 7.0, 0.47), GOLD, **ol)
        elif style == "plat_star":
            emboss(cv, star_shape(x, y, 7.0, 0.47), PLATINUM, **ol)
        elif style == "ruby":
            emboss(cv, circle(x, y, 5.8), GOLD, **ol)
            gem(cv, x, y, 3.7, RUBY)
        elif style == "diamond_gem":
            emboss(cv, regular_polygon(x, y, 6.4, 6, 0), PLATINUM, **ol)
            gem(cv, x, y, 3.9, DIAMOND)


# ---------------------------------------------------------------------------
# Emblems
# ---------------------------------------------------------------------------

def draw_chevrons(cv, n):
    thick = 15.0 if n == 1 else 13.0
    drop = 24.0 if n == 1 else 20.0
    spacing = 19.0
    total = drop + thick + (n - 1) * spacing
    top = 42 - total / 2
    hw = 38.0
    shapes = [chevron(50, top + i * spacing, hw, drop, thick) for i in range(n)]
    for s in reversed(shapes):
        emboss(cv, s, BRONZE, bevel=2.6)


def epaulette():
    pts = [(50, 3)] + [(78, 15)]
    pts += [(78, 66)] + [(x, y) for x, y in _arc(70, 66, 8, 0, 90)]
    pts += [(30, 74)] + [(x, y) for x, y in _arc(30, 66, 8, 90, 180)]
    pts += [(22, 15)]
    return [oriented(pts)]


def _arc(cx, cy, r, d0, d1, n=8):
    return [(cx + r * math.cos(math.radians(d0 + (d1 - d0) * i / n)),
             cy + r * math.sin(math.radians(d0 + (d1 - d0) * i / n))) for i in range(n + 1)]


def draw_bars(cv, n):
    plate = epaulette()
    emboss(cv, plate, SILVER, bevel=3.0)
    field = offset(plate, -5.0)
    enamel(cv, field, NAVY)
    # silver button near the point
    emboss(cv, circle(50, 19, 5.2), SILVER, bevel=1.4, outline=1.3)
    cv.fill(circle(50, 19, 1.6), (90, 98, 112))
    bar_h = 9.5 if n > 1 else 12.0
    gap = 13.5
    total = bar_h + (n - 1) * gap
    y0 = 50 - total / 2
    for i in range(n):
        y = y0 + i * gap
        emboss(cv, rounded_rect(27, y, 73, y + bar_h, 2.2), SILVER, bevel=1.8, outline=1.5)


def draw_shield_stars(cv, n):
    sh = shield_outline(15, 85, 4, 78, shoulder=0.40)
    emboss(cv, sh, GOLD, bevel=3.2, outline=1.9)
    enamel(cv, offset(sh, -5.2), CRIMSON)
    if n == 1:
        embossed_star(cv, 50, 38, 22, GOLD)
    elif n == 2:
        embossed_star(cv, 35.5, 36, 13.5, GOLD)
        embossed_star(cv, 64.5, 36, 13.5, GOLD)
    else:
        embossed_star(cv, 50, 25, 12.0, GOLD)
        embossed_star(cv, 35.5, 46, 12.0, GOLD)
        embossed_star(cv, 64.5, 46, 12.0, GOLD)


def leaf(bx, by, angle, length, width):
    """Pointed almond leaf whose base sits at (bx, by), pointing along angle."""
    hw = width / 2
    upper = bezier((0, 0), (length * 0.35, -hw * 1.35), (length, 0), n=10)
    lower = bezier((length, 0), (length * 0.45, hw * 1.35), (0, 0), n=10)
    pts = upper + lower[1:-1]
    ca, sa = math.cos(angle), math.sin(angle)
    return [oriented([(bx + x * ca - y * sa, by + x * sa + y * ca) for x, y in pts])]


def laurel_branch(cx, cy, radius, a_start, a_end, leaf_len=12.5, leaf_w=6.0, count=5):
    """Leaves along an arc from a_start to a_end (degrees, 90 = bottom).

    Leaves alternate outside/inside the stem and lean toward the tip.
    """
    leaves = []
    sgn = 1 if a_end > a_start else -1
    for i in range(count):
        t = (i + 0.35) / count
        a = math.radians(a_start + (a_end - a_start) * t)
        px, py = cx + radius * math.cos(a), cy + radius * math.sin(a)
        tx, ty = -math.sin(a) * sgn, math.cos(a) * sgn      # growth direction
        ox, oy = math.cos(a), math.sin(a)                    # outward
        size = 1.0 - 0.3 * t
        for side in (1, -1):
            lean = 0.95 if side > 0 else 0.75
            dx, dy = tx + side * lean * ox, ty + side * lean * oy
            leaves.append(leaf(px, py, math.atan2(dy, dx), leaf_len * size, leaf_w * size))
    # a single leaf crowns each branch
    a = math.radians(a_end)
    px, py = cx + radius * math.cos(a), cy + radius * math.sin(a)
    leaves.append(leaf(px, py, math.atan2(math.cos(a) * sgn, -math.sin(a) * sgn), leaf_len * 0.7, leaf_w * 0.7))
    return leaves


def draw_wreath(cv, cx, cy, radius, metal=GOLD, span=(100, 250)):
    """Two laurel branches rising from the bottom, tied with a ribbon."""
    a0, a1 = span
    branches = laurel_branch(cx, cy, radius, a0, a1) + laurel_branch(cx, cy, radius, 180 - a0, 180 - a1)
    # stems
    for (s, e) in ((a0, a1), (180 - a0, 180 - a1)):
        pts = [(cx + radius * math.cos(math.radians(s + (e - s) * i / 16)),
                cy + radius * math.sin(math.radians(s + (e - s) * i / 16))) for i in range(17)]
        cv.fill(stroke(pts, cv.at_least(3.6, 1.2)), metal.outline)
    ow = cv.at_least(1.2, 0.6)
    for lf in branches:
        cv.fill(offset(lf, ow), metal.outline)
    x0, y0, x1, y1 = bbox([p for lf in branches for p in lf])
    paint = Linear((x0, y0), (x0 + 8, y1), metal.face)
    for lf in branches:
        cv.fill(lf, paint)
        if cv.s >= 0.5:
            lx0, ly0, lx1, ly1 = bbox(lf)
            # inner sheen
            cv.fill(scale_about(lf, (lx0 + lx1) / 2, (ly0 + ly1) / 2, 0.55, 0.55), (255, 255, 255, 50))
    # ribbon bow where the stems meet: two tails and a knot
    by = cy + radius
    for side in (-1, 1):
        tail = [[(cx, by - 1), (cx + side * 9, by + 3.5), (cx + side * 6.5, by + 5.8), (cx + side * 1, by + 3)]]
        emboss(cv, [oriented(tail[0])], RIBBON, bevel=0.8, outline=1.1)
    emboss(cv, rounded_rect(cx - 4.5, by - 3.5, cx + 4.5, by + 2.5, 2.0), RIBBON, bevel=0.9, outline=1.1)


def medallion(cv, cx, cy, r, rim_metal, field):
    emboss(cv, circle(cx, cy, r), rim_metal, bevel=2.6, outline=1.8)
    enamel(cv, circle(cx, cy, r - 4.2), field)


def medal_stars(cv, cx, cy, r, n, metal):
    if n == 1:
        embossed_star(cv, cx, cy + 0.5, r * 0.72, metal)
    elif n == 2:
        embossed_star(cv, cx - r * 0.36, cy + 0.5, r * 0.42, metal)
        embossed_star(cv, cx + r * 0.36, cy + 0.5, r * 0.42, metal)
    else:
        embossed_star(cv, cx, cy - r * 0.3, r * 0.36, metal)
        embossed_star(cv, cx - r * 0.36, cy + r * 0.28, r * 0.36, metal)
        embossed_star(cv, cx + r * 0.36, cy + r * 0.28, r * 0.36, metal)


def draw_wreath_medal(cv, n):
    draw_wreath(cv, 50, 40, 34, GOLD)
    medallion(cv, 50, 40, 26, PLATINUM, ROYAL)
    medal_stars(cv, 50, 40, 22, n, PLATINUM)


def crown_shape(cx, base_y, w, h):
    """Five-pointed crown: a band topped with broad points.

    Returns the outline, the tip positions (for pearls) and the band top.
    """
    hw = w / 2
    band_top = base_y - h * 0.34
    valley = band_top - h * 0.06
    tips = [(cx - hw * 1.06, base_y - h * 0.86), (cx - hw * 0.52, base_y - h * 0.94),
            (cx, base_y - h * 1.04),
            (cx + hw * 0.52, base_y - h * 0.94), (cx + hw * 1.06, base_y - h * 0.86)]
    valleys = [(cx - hw * 0.76, valley), (cx - hw * 0.26, valley),
               (cx + hw * 0.26, valley), (cx + hw * 0.76, valley)]
    pts = [(cx - hw, base_y), (cx + hw, base_y), (cx + hw, band_top)]
    top = [tips[4], valleys[3], tips[3], valleys[2], tips[2], valleys[1], tips[1], valleys[0], tips[0]]
    pts += top + [(cx - hw, band_top)]
    return [oriented(pts)], tips, band_top


def draw_crown(cv, cx, base_y, w, h, metal, gems):
    shape, tips, band_top = crown_shape(cx, base_y, w, h)
    pearl_r = w * 0.075
    pearl_metal = PLATINUM if metal is GOLD else GOLD
    for tx, ty in tips:
        cv.fill(circle(tx, ty, pearl_r + cv.at_least(1.5, 0.7)), metal.outline)
    emboss(cv, shape, metal, bevel=2.2, outline=1.8)
    for tx, ty in tips:
        emboss(cv, circle(tx, ty, pearl_r), pearl_metal, bevel=0.9, outline=0.01)
    # band: a darker strip with a bright top edge and a row of gems
    bx0, bx1 = cx - w / 2 + 2.0, cx + w / 2 - 2.0
    cv.fill(rect(bx0, band_top + 1.0, bx1, base_y - 2.0),
            Linear((0, band_top), (0, base_y), [(0, (0, 0, 0, 60)), (1, (0, 0, 0, 110))]))
    cv.fill(rect(bx0, band_top, bx1, band_top + cv.at_least(1.0, 0.5)), (255, 255, 255, 120))
    gy = (band_top + base_y) / 2 - 0.5
    gh = base_y - band_top
    gem(cv, cx, gy, gh * 0.36, gems[0])
    gem(cv, cx - w * 0.31, gy, gh * 0.26, gems[1])
    gem(cv, cx + w * 0.31, gy, gh * 0.26, gems[1])


CROWN_SETS = {
    1: (GOLD, (RUBY, EMERALD), PURPLE),
    2: (GOLD, (SAPPHIRE, RUBY), PURPLE),
    3: (PLATINUM, (DIAMOND, SAPPHIRE), PURPLE),
}


def draw_crowned_wreath(cv, n):
    metal, gems, field = CROWN_SETS[n]
    draw_wreath(cv, 50, 49, 27, GOLD, span=(100, 230))
    medallion(cv, 50, 49, 21, metal, field)
    medal_stars(cv, 50, 49, 17.5, n, PLATINUM if metal is GOLD else GOLD)
    draw_crown(cv, 50, 29, 38, 24, metal, gems)


def draw_batons(cv):
    """Two crossed marshal's batons: red velvet rods with gold caps and bands."""
    cx, cy = 50, 50
    length, thick = 104, 10.5
    for ang in (math.radians(-45), math.radians(45)):
        rot = lambda s: rotate_about(s, cx, cy, ang)
        body = rot(rounded_rect(cx - length / 2, cy - thick / 2, cx + length / 2, cy + thick / 2, thick / 2))
        cv.fill(offset(body, cv.at_least(1.6, 0.7)), (34, 4, 10))
        cv.fill(body, Linear((cx - 8, cy - 8), (cx + 8, cy + 8),
                             [(0, (240, 80, 90)), (0.45, (186, 20, 38)), (1, (96, 4, 16))]))
        for end in (-1, 1):
            x_cap = cx + end * (length / 2 - 4.0)
            cap = rot(rounded_rect(x_cap - 4.2, cy - thick / 2 - 1.0, x_cap + 4.2, cy + thick / 2 + 1.0, 3.0))
            emboss(cv, cap, GOLD, bevel=1.0, outline=1.3)
            x_band = cx + end * (length / 2 - 13.0)
            band = rot(rect(x_band - 1.4, cy - thick / 2, x_band + 1.4, cy + thick / 2))
            cv.fill(band, (240, 190, 70))


def draw_marshal(cv):
    draw_batons(cv)
    draw_wreath(cv, 50, 50, 26, GOLD, span=(100, 235))
    medallion(cv, 50, 50, 20, GOLD, CRIMSON)
    embossed_star(cv, 50, 50.5, 15, PLATINUM)
    gem(cv, 50, 50.5, 3.2, RUBY)
    draw_crown(cv, 50, 30, 40, 25, GOLD, (RUBY, SAPPHIRE))


def wing_feathers(cx, cy, side):
    """Feathers of a spread wing, back to front; side = +1 right, -1 left."""
    feathers = []
    specs = [  # (angle from horizontal, length, width, root offset y)
        (-36, 44, 12, -8), (-22, 43, 12, -4), (-8, 39, 11, 0),
        (6, 33, 10, 4), (20, 26, 9, 8)]
    for ang, length, width, dy in specs:
        a = math.radians(ang)
        direction = math.atan2(math.sin(a), side * math.cos(a))
        feathers.append(leaf(cx + side * 10, cy + dy, direction, length, width))
    return feathers


def draw_supreme(cv, radiant):
    """Grand marshal: winged star under a crown; the very top rank has gold
    wings and a radiant halo."""
    if radiant:
        draw_aura(cv)
    wing_metal = GOLD if radiant else PLATINUM
    for side in (-1, 1):
        for f in wing_feathers(50, 46, side):
            emboss(cv, f, wing_metal, bevel=1.4, outline=1.4)
    draw_wreath(cv, 50, 52, 22, GOLD, span=(105, 230))
    emboss(cv, star_shape(50, 52, 21, 0.46), GOLD, bevel=2.0, outline=1.8)
    emboss(cv, star_shape(50, 52, 13, 0.46), PLATINUM, bevel=1.2, outline=1.2)
    gem(cv, 50, 52.5, 5.2, DIAMOND)
    draw_crown(cv, 50, 29, 36, 22, PLATINUM, (RUBY, SAPPHIRE))


def draw_aura(cv):
    """Golden rays and glow behind the top rank."""
    rays = []
    for i in range(16):
        a = math.radians(i * 22.5 + 11.25)
        a0, a1 = a - 0.09, a + 0.09
        r0, r1 = 14, 50
        rays.append([[(50 + r0 * math.cos(a0), 48 + r0 * math.sin(a0)),
                      (50 + r1 * math.cos(a), 48 + r1 * math.sin(a)),
                      (50 + r0 * math.cos(a1), 48 + r0 * math.sin(a1))]])
    glow = Radial((50, 48), 50, [(0.0, (255, 236, 150, 210)), (0.55, (255, 190, 60, 110)), (1.0, (255, 170, 40, 0))])
    for r in rays:
        cv.fill(r, glow)
    cv.fill(circle(50, 48, 40), Radial((50, 48), 40, [(0.0, (255, 240, 170, 160)), (1.0, (255, 200, 80, 0))]))


# ---------------------------------------------------------------------------
# Special badges
# ---------------------------------------------------------------------------

def draw_no_rank(cv):
    """Rank 0: a hollow, dashed steel ring with a bar across."""
    for i in range(12):
        a0 = math.radians(i * 30 + 4)
        a1 = math.radians(i * 30 + 26)
        pts = [(50 + 34 * math.cos(a0 + (a1 - a0) * k / 6), 46 + 34 * math.sin(a0 + (a1 - a0) * k / 6))
               for k in range(7)]
        cv.fill(stroke(pts, cv.at_least(8.5, 1.6)), (20, 22, 26, 230))
        cv.fill(stroke(pts, cv.at_least(5.5, 1.0)), (150, 156, 166))
    emboss(cv, rounded_rect(30, 41, 70, 51, 4), IRON, bevel=1.8, outline=1.6)


def draw_recruit(cv):
    """Rank 1: an olive roundel with an iron rim and a single bronze stud."""
    emboss(cv, circle(50, 44, 32), IRON, bevel=3.0, outline=1.8)
    enamel(cv, circle(50, 44, 27), OLIVE)
    emboss(cv, chevron(50, 35, 18, 11, 7), IRON, bevel=1.4, outline=1.4)
    emboss(cv, circle(50, 88, 4.8), IRON, bevel=1.3, outline=1.3)


# ---------------------------------------------------------------------------
# Ladder
# ---------------------------------------------------------------------------

# (name, drawer, pip style) per tier, lowest first
TIERS = [
    ("Private", lambda cv: draw_chevrons(cv, 1), "stud"),
    ("Corporal", lambda cv: draw_chevrons(cv, 2), "stud"),
    ("Sergeant", lambda cv: draw_chevrons(cv, 3), "stud"),
    ("Warrant Officer", lambda cv: draw_bars(cv, 1), "diamond"),
    ("Lieutenant", lambda cv: draw_bars(cv, 2), "diamond"),
    ("Captain", lambda cv: draw_bars(cv, 3), "diamond"),
    ("Major", lambda cv: draw_shield_stars(cv, 1), "gold_star"),
    ("Lieutenant Colonel", lambda cv: draw_shield_stars(cv, 2), "gold_star"),
    ("Colonel", lambda cv: draw_shield_stars(cv, 3), "gold_star"),
    ("Brigadier", lambda cv: draw_wreath_medal(cv, 1), "plat_star"),
    ("Major General", lambda cv: draw_wreath_medal(cv, 2), "plat_star"),
    ("Lieutenant General", lambda cv: draw_wreath_medal(cv, 3), "plat_star"),
    ("General", lambda cv: draw_crowned_wreath(cv, 1), "ruby"),
    ("Senior General", lambda cv: draw_crowned_wreath(cv, 2), "ruby"),
    ("Grand General", lambda cv: draw_crowned_wreath(cv, 3), "ruby"),
    ("Marshal", draw_marshal, "diamond_gem"),
    ("Grand Marshal", None, "diamond_gem"),
]

RANK_COUNT = 103
GRADES = 6


def rank_tier(rank):
    """(tier index, grade 1..6) for ranks 2..103."""
    t, g = divmod(rank - 2, GRADES)
    return t, g + 1


def draw_badge(cv, rank):
    if rank == 0:
        draw_no_rank(cv)
        return
    if rank == 1:
        draw_recruit(cv)
        return
    t, g = rank_tier(rank)
    name, drawer, pips = TIERS[t]
    if drawer is None:
        draw_supreme(cv, radiant=(rank == RANK_COUNT))
    else:
        drawer(cv)
    draw_pips(cv, g, pips)
