"""The room: the five venue backgrounds and the furniture and props the level places on them.
Furniture is drawn at on-screen size; the cake and decorations at the authoring scale."""
import math
import random

import cairo

from registry import Frame
from style import (BAD, BLUSH, COCOA, CREAM, GOLD, GOOD, LINEN, NAVY, PLUM, ROSE, SAGE, SAND,
                   TAUPE, TEAL, WHITE, WOOD, canvas, ellipse, fill_stroke, flat, ground_shadow,
                   heart_path, lighten, line, mix, outline_of, rounded_rect, set_color, shade,
                   star_path)

GROUP = "room"
GEN = "tools/art/room.py"
W, H = 800, 600
WALL = 150  # height of the venue's backdrop above the floor

# Tint of the base palette per venue: (name, backdrop, floor, floor line, accent).
VENUES = [
    ("backyard", SAGE, lighten(SAGE, 0.25), shade(SAGE, 0.9), BLUSH),
    ("barn", WOOD, lighten(SAND, 0.1), shade(SAND, 0.86), GOLD),
    ("seaside", TEAL, lighten(CREAM, 0.0), shade(LINEN, 0.9), TEAL),
    ("ballroom", NAVY, lighten(SAND, 0.35), shade(SAND, 0.9), GOLD),
    ("castle", PLUM, mix(LINEN, ROSE, 0.12), shade(mix(LINEN, ROSE, 0.15), 0.88), ROSE),
]


def _floor(ctx, venue):
    name, back, floor, seam, accent = venue
    set_color(ctx, floor)
    ctx.rectangle(0, WALL, W, H - WALL)
    ctx.fill()
    if name == "backyard":
        for i in range(0, W, 80):
            set_color(ctx, lighten(floor, 0.08) if (i // 80) % 2 else floor)
            ctx.rectangle(i, WALL, 80, H - WALL)
            ctx.fill()
    elif name in ("barn", "seaside"):
        step = 34 if name == "barn" else 28
        for y in range(WALL, H, step):
            line(ctx, [(0, y), (W, y)], seam, 1.5)
            off = (y // step) % 3 * 90
            for x in range(off, W, 270):
                line(ctx, [(x, y), (x, y + step)], seam, 1.2)
    elif name == "ballroom":
        for y in range(WALL, H, 50):
            for x in range(0, W, 50):
                if ((x + y) // 50) % 2:
                    set_color(ctx, shade(floor, 0.95))
                    ctx.rectangle(x, y, 50, 50)
                    ctx.fill()
    else:
        for y in range(WALL, H, 44):
            off = 0 if (y // 44) % 2 else 36
            for x in range(-off, W, 72):
                rounded_rect(ctx, x + 2, y + 2, 68, 40, 6)
                set_color(ctx, seam, 0.35)
                ctx.set_line_width(1.5)
                ctx.stroke()
    # A soft rug where the couple and the guests dance.
    ellipse(ctx, 490, 500, 150, 62)
    set_color(ctx, accent, 0.18)
    ctx.fill()
    ellipse(ctx, 490, 500, 150, 62)
    set_color(ctx, accent, 0.45)
    ctx.set_line_width(2)
    ctx.set_dash([8, 6])
    ctx.stroke()
    ctx.set_dash([])
    # Light from the upper left.
    grad = cairo.LinearGradient(0, WALL, W, H)
    grad.add_color_stop_rgba(0, 1, 1, 1, 0.12)
    grad.add_color_stop_rgba(1, 0.29, 0.2, 0.16, 0.10)
    ctx.set_source(grad)
    ctx.rectangle(0, WALL, W, H - WALL)
    ctx.fill()


def _bunting(ctx, y, colors, sag=18):
    ctx.move_to(0, y)
    ctx.curve_to(W / 3, y + sag, 2 * W / 3, y + sag, W, y)
    set_color(ctx, COCOA, 0.6)
    ctx.set_line_width(1.2)
    ctx.stroke()
    for i, x in enumerate(range(15, W, 36)):
        t = x / W
        yy = y + sag * 4 * t * (1 - t) * 0.75
        ctx.move_to(x - 8, yy)
        ctx.line_to(x + 8, yy)
        ctx.line_to(x, yy + 14)
        ctx.close_path()
        flat(ctx, colors[i % len(colors)], width=1)


def _lights(ctx, y, color=GOLD, sag=22):
    for i, x in enumerate(range(20, W, 40)):
        t = x / W
        yy = y + sag * 4 * t * (1 - t)
        ellipse(ctx, x, yy, 9, 9)
        set_color(ctx, color, 0.25)
        ctx.fill()
        ellipse(ctx, x, yy, 3.5, 3.5)
        flat(ctx, lighten(color, 0.4), width=0.8)
    ctx.move_to(0, y)
    ctx.curve_to(W / 3, y + sag * 1.3, 2 * W / 3, y + sag * 1.3, W, y)
    set_color(ctx, COCOA, 0.5)
    ctx.set_line_width(1)
    ctx.stroke()


def _backdrop(ctx, venue):
    name, back, floor, seam, accent = venue
    rnd = random.Random(name)
    if name == "backyard":
        grad = cairo.LinearGradient(0, 0, 0, WALL)
        grad.add_color_stop_rgb(0, *lighten((0.62, 0.8, 0.9), 0.3))
        grad.add_color_stop_rgb(1, *lighten((0.85, 0.92, 0.88), 0.2))
        ctx.set_source(grad)
        ctx.rectangle(0, 0, W, WALL)
        ctx.fill()
        for x in range(-20, W + 40, 70):
            r = rnd.uniform(40, 60)
            ellipse(ctx, x, 70 + rnd.uniform(-10, 10), r, r * 0.9)
            fill_stroke(ctx, shade(SAGE, rnd.uniform(0.7, 0.85)), width=1.5)
        rounded_rect(ctx, -10, 95, W + 20, 60, 16)
        fill_stroke(ctx, shade(SAGE, 0.78))
        for _ in range(60):
            x, y = rnd.uniform(0, W), rnd.uniform(98, 145)
            ellipse(ctx, x, y, 3, 3)
            flat(ctx, rnd.choice([BLUSH, CREAM, ROSE, GOLD]), width=0.8)
        _bunting(ctx, 8, [BLUSH, CREAM, SAGE, GOLD])
    elif name == "barn":
        set_color(ctx, shade(WOOD, 0.9))
        ctx.rectangle(0, 0, W, WALL)
        ctx.fill()
        for x in range(0, W, 40):
            line(ctx, [(x, 0), (x, WALL)], shade(WOOD, 0.7), 2)
        for x in (90, 400, 710):
            ctx.move_to(x - 60, WALL - 10)
            ctx.line_to(x - 60, 40)
            ctx.line_to(x, 10)
            ctx.line_to(x + 60, 40)
            ctx.line_to(x + 60, WALL - 10)
            fill_stroke(ctx, lighten(WOOD, 0.15), width=2)
            line(ctx, [(x - 60, 40), (x + 60, WALL - 10)], lighten(CREAM, 0), 4)
            line(ctx, [(x + 60, 40), (x - 60, WALL - 10)], lighten(CREAM, 0), 4)
        for x in (230, 560):
            rounded_rect(ctx, x - 45, 100, 90, 50, 8)
            fill_stroke(ctx, GOLD)
            for k in range(5):
                line(ctx, [(x - 40, 108 + k * 9), (x + 40, 108 + k * 9)], shade(GOLD, 0.8), 1)
        _lights(ctx, 10)
    elif name == "seaside":
        grad = cairo.LinearGradient(0, 0, 0, WALL)
        grad.add_color_stop_rgb(0, 0.7, 0.87, 0.95)
        grad.add_color_stop_rgb(1, 0.98, 0.92, 0.85)
        ctx.set_source(grad)
        ctx.rectangle(0, 0, W, 80)
        ctx.fill()
        ellipse(ctx, 640, 40, 26, 26)
        set_color(ctx, lighten(GOLD, 0.4))
        ctx.fill()
        set_color(ctx, TEAL)
        ctx.rectangle(0, 80, W, WALL - 80)
        ctx.fill()
        for y in range(88, WALL, 12):
            for x in range(rnd.randrange(40), W, 90):
                line(ctx, [(x, y), (x + 24, y)], lighten(TEAL, 0.4), 1.5)
        rounded_rect(ctx, -5, WALL - 24, W + 10, 8, 3)
        fill_stroke(ctx, WHITE)
        for x in range(10, W, 30):
            line(ctx, [(x, WALL - 18), (x, WALL)], outline_of(WHITE), 4)
            line(ctx, [(x, WALL - 18), (x, WALL)], WHITE, 2.5)
        _bunting(ctx, 4, [TEAL, CREAM, GOLD], 14)
    elif name == "ballroom":
        set_color(ctx, NAVY)
        ctx.rectangle(0, 0, W, WALL)
        ctx.fill()
        for x in range(60, W, 170):
            rounded_rect(ctx, x - 40, 20, 80, WALL - 20, 40)
            fill_stroke(ctx, lighten(NAVY, 0.2), GOLD, 2)
            ctx.arc(x, 60, 30, math.pi, 2 * math.pi)
            set_color(ctx, lighten(NAVY, 0.45), 0.6)
            ctx.fill()
        for x in range(145, W, 170):
            ctx.rectangle(x - 8, 0, 16, WALL)
            fill_stroke(ctx, GOLD, width=1.5)
        for x in (230, 570):
            line(ctx, [(x, 0), (x, 18)], GOLD, 2)
            for k in range(7):
                a = math.pi * (0.1 + 0.8 * k / 6)
                ellipse(ctx, x + 34 * math.cos(a), 22 + 12 * math.sin(a), 3.5, 5)
                flat(ctx, lighten(GOLD, 0.6), width=0.8)
            ellipse(ctx, x, 24, 40, 14)
            set_color(ctx, GOLD, 0.18)
            ctx.fill()
        line(ctx, [(0, WALL - 2), (W, WALL - 2)], GOLD, 4)
    else:
        set_color(ctx, mix(TAUPE, PLUM, 0.25))
        ctx.rectangle(0, 0, W, WALL)
        ctx.fill()
        for y in range(0, WALL, 24):
            off = 0 if (y // 24) % 2 else 30
            for x in range(-off, W, 60):
                rounded_rect(ctx, x + 1, y + 1, 58, 22, 3)
                set_color(ctx, shade(TAUPE, 0.75), 0.5)
                ctx.set_line_width(1.2)
                ctx.stroke()
        for x in (150, 400, 650):
            ctx.rectangle(x - 30, 50, 60, WALL - 50)
            ctx.arc(x, 50, 30, math.pi, 2 * math.pi)
            fill_stroke(ctx, (0.72, 0.8, 0.9), COCOA, 3)
        for x in (275, 525):
            ctx.move_to(x - 24, 0)
            ctx.line_to(x + 24, 0)
            ctx.line_to(x + 24, 110)
            ctx.line_to(x, 96)
            ctx.line_to(x - 24, 110)
            ctx.close_path()
            fill_stroke(ctx, ROSE)
            star_path(ctx, x, 50, 10, 4.5)
            flat(ctx, GOLD, width=1)
    # The foot of the wall.
    grad = cairo.LinearGradient(0, WALL - 6, 0, WALL + 14)
    grad.add_color_stop_rgba(0, 0.29, 0.2, 0.16, 0.0)
    grad.add_color_stop_rgba(1, 0.29, 0.2, 0.16, 0.25)
    ctx.set_source(grad)
    ctx.rectangle(0, WALL - 6, W, 20)
    ctx.fill()


def background(venue):
    surface, ctx = canvas(W, H)
    _floor(ctx, venue)
    _backdrop(ctx, venue)
    return surface


def table(seats):
    """A banquet table with a cloth; the chairs stand behind its top edge."""
    pitch = 40
    w = (pitch + 1) * seats + 22
    surface, ctx = canvas(w, 82)
    ground_shadow(ctx, w / 2, 74, w / 2 - 4, 8)
    rounded_rect(ctx, 3, 14, w - 6, 40, 10)
    fill_stroke(ctx, CREAM)
    ctx.move_to(3, 34)
    ctx.line_to(w - 3, 34)
    ctx.line_to(w - 6, 72)
    for x in range(int(w - 6), 6, -16):
        ctx.curve_to(x - 4, 76, x - 12, 76, x - 16, 72)
    ctx.line_to(3, 34)
    ctx.close_path()
    fill_stroke(ctx, LINEN)
    for x in range(20, w - 10, 28):
        line(ctx, [(x, 38), (x - 2, 70)], shade(LINEN, 0.9), 1)
    ellipse(ctx, w / 2, 26, 7, 5)
    fill_stroke(ctx, ROSE, width=1.2)
    for dx in (-9, 9):
        ellipse(ctx, w / 2 + dx, 28, 4, 3)
        fill_stroke(ctx, SAGE, width=1)
    return surface


def chair(color=WOOD, cushion=ROSE):
    surface, ctx = canvas(34, 52)
    rounded_rect(ctx, 4, 2, 26, 40, 9)
    fill_stroke(ctx, color)
    rounded_rect(ctx, 9, 8, 16, 26, 6)
    fill_stroke(ctx, cushion, width=1.5)
    line(ctx, [(8, 40), (7, 50)], outline_of(color), 4)
    line(ctx, [(26, 40), (27, 50)], outline_of(color), 4)
    return surface


def mark(color):
    surface, ctx = canvas(24, 24)
    ellipse(ctx, 12, 12, 10, 10)
    fill_stroke(ctx, color)
    heart_path(ctx, 12, 12, 10)
    flat(ctx, WHITE, width=0)
    return surface


def head_table():
    w, h = 240, 110
    surface, ctx = canvas(w, h)
    ground_shadow(ctx, w / 2, h - 7, w / 2 - 4, 8)
    rounded_rect(ctx, 4, 54, w - 8, 26, 10)
    fill_stroke(ctx, CREAM)
    rounded_rect(ctx, 4, 66, w - 8, h - 74, 6)
    fill_stroke(ctx, WHITE)
    ctx.move_to(6, 70)
    for i in range(8):
        x0 = 6 + i * (w - 12) / 8
        ctx.curve_to(x0 + 8, 88, x0 + 20, 88, x0 + (w - 12) / 8, 70)
    set_color(ctx, BLUSH)
    ctx.set_line_width(3)
    ctx.stroke()
    for i in range(9):
        x = 6 + i * (w - 12) / 8
        ellipse(ctx, x, 71, 5, 5)
        fill_stroke(ctx, ROSE, width=1.2)
        ellipse(ctx, x + 5, 75, 3, 2)
        flat(ctx, SAGE, width=0.8)
    heart_path(ctx, w / 2, 86, 18)
    fill_stroke(ctx, ROSE)
    return surface


def _serving_counter(ctx, w, h, cloth_left):
    """The counter: a deep top on which the slots' items stand (their feet at y 105 to 128),
    a cloth edge along the back from `cloth_left`, and a wooden front below the slots."""
    ground_shadow(ctx, w / 2, h - 8, w / 2 - 6, 9)
    rounded_rect(ctx, 4, 20, w - 8, 112, 12)
    fill_stroke(ctx, lighten(SAND, 0.3))
    rounded_rect(ctx, 4, 128, w - 8, h - 136, 8)
    fill_stroke(ctx, WOOD)
    for x in range(30, w - 10, 50):
        line(ctx, [(x, 132), (x, h - 12)], shade(WOOD, 0.8), 1.5)
    rounded_rect(ctx, cloth_left, 14, w - cloth_left - 4, 16, 6)
    fill_stroke(ctx, (0.85, 0.86, 0.9))


def serving_table(w=300, h=160):
    surface, ctx = canvas(w, h)
    _serving_counter(ctx, w, h, 4)
    return surface


def serving_extension(w=300, h=160):
    """The upgraded serving table: the counter with a stepped stand on its left end, whose
    shelves carry the first slots one above the other (their items stand at y 63, 84 and
    105)."""
    surface, ctx = canvas(w, h)
    _serving_counter(ctx, w, h, 76)
    rounded_rect(ctx, 6, 8, 70, 120, 8)
    fill_stroke(ctx, lighten(WOOD, 0.35))
    for y in (64, 85, 106):
        rounded_rect(ctx, 3, y, 76, 6, 3)
        fill_stroke(ctx, (0.85, 0.86, 0.9), width=1.2)
    return surface


def small_table(top, w=90, h=84, items=None):
    surface, ctx = canvas(w, h)
    ground_shadow(ctx, w / 2, h - 6, w / 2 - 6, 6)
    line(ctx, [(w / 2, 40), (w / 2, h - 8)], outline_of(WOOD), 7)
    line(ctx, [(w / 2, 40), (w / 2, h - 8)], WOOD, 4.5)
    ellipse(ctx, w / 2, h - 8, 16, 4)
    fill_stroke(ctx, WOOD, width=1.5)
    ellipse(ctx, w / 2, 36, w / 2 - 4, 16)
    fill_stroke(ctx, top)
    if items:
        items(ctx, w)
    return surface


def _glasses(kind):
    def draw(ctx, w):
        for i, dx in enumerate((-22, -8, 6, 20)):
            x, y = w / 2 + dx, 34 + (i % 2) * 4
            glass(ctx, x, y, kind)
    return draw


def glass(ctx, x, y, kind, size=1.0):
    ctx.save()
    ctx.translate(x, y)
    ctx.scale(size, size)
    if kind == "champagne":
        ctx.move_to(-3.5, -24)
        ctx.line_to(3.5, -24)
        ctx.line_to(2.5, -8)
        ctx.line_to(-2.5, -8)
        ctx.close_path()
        fill_stroke(ctx, lighten(GOLD, 0.45), shade(GOLD, 0.6), 1.2)
        for k in range(3):
            ellipse(ctx, -1 + k, -20 + k * 4, 0.7, 0.7)
            flat(ctx, WHITE, width=0)
    else:
        ctx.move_to(-5, -24)
        ctx.curve_to(-6, -12, 6, -12, 5, -24)
        ctx.close_path()
        fill_stroke(ctx, (0.62, 0.14, 0.24), COCOA, 1.2)
    line(ctx, [(0, -9), (0, -1)], (0.7, 0.72, 0.76), 1.4)
    ellipse(ctx, 0, -1, 4, 1.3)
    flat(ctx, (0.8, 0.82, 0.86), (0.5, 0.52, 0.56), 0.8)
    ctx.restore()


def dish_bin():
    surface, ctx = canvas(60, 60)
    ground_shadow(ctx, 30, 54, 24, 5)
    ctx.move_to(8, 16)
    ctx.line_to(52, 16)
    ctx.line_to(46, 54)
    ctx.line_to(14, 54)
    ctx.close_path()
    fill_stroke(ctx, (0.62, 0.67, 0.72))
    for x in (20, 30, 40):
        line(ctx, [(x, 22), (x - (x - 30) * 0.1, 48)], (0.5, 0.55, 0.6), 1.5)
    rounded_rect(ctx, 5, 11, 50, 8, 4)
    fill_stroke(ctx, (0.72, 0.76, 0.8))
    ellipse(ctx, 30, 10, 12, 4)
    fill_stroke(ctx, WHITE, width=1.2)
    return surface


def heroine_desk():
    surface, ctx = canvas(120, 80)
    ground_shadow(ctx, 60, 72, 54, 7)
    rounded_rect(ctx, 4, 14, 112, 30, 8)
    fill_stroke(ctx, lighten(PLUM, 0.5))
    rounded_rect(ctx, 8, 38, 104, 34, 6)
    fill_stroke(ctx, PLUM)
    rounded_rect(ctx, 20, 16, 30, 22, 3)
    fill_stroke(ctx, WHITE, width=1.2)
    for k in range(4):
        line(ctx, [(24, 21 + k * 4), (45, 21 + k * 4)], TAUPE, 1)
    ellipse(ctx, 84, 24, 10, 8)
    fill_stroke(ctx, BLUSH, width=1.2)
    heart_path(ctx, 60, 55, 12)
    flat(ctx, GOLD, width=1)
    return surface


def music_table():
    surface, ctx = canvas(140, 90)
    ground_shadow(ctx, 70, 82, 64, 7)
    rounded_rect(ctx, 4, 22, 132, 60, 8)
    fill_stroke(ctx, (0.28, 0.27, 0.33))
    rounded_rect(ctx, 4, 14, 132, 16, 6)
    fill_stroke(ctx, (0.4, 0.39, 0.46))
    for x in (36, 104):
        ellipse(ctx, x, 21, 18, 5)
        fill_stroke(ctx, (0.15, 0.15, 0.18), width=1)
        ellipse(ctx, x, 21, 4, 1.5)
        flat(ctx, ROSE, width=0)
    for k in range(6):
        ellipse(ctx, 20 + k * 20, 52, 4, 4)
        flat(ctx, [TEAL, GOLD, ROSE][k % 3], width=0.8)
    return surface


def cake_table(tipped=False):
    surface, ctx = canvas(100, 96)
    ground_shadow(ctx, 50, 88, 44, 7)
    if tipped:
        ctx.translate(50, 70)
        ctx.rotate(0.35)
        ctx.translate(-50, -70)
    rounded_rect(ctx, 6, 54, 88, 34, 6)
    fill_stroke(ctx, WHITE)
    ellipse(ctx, 50, 56, 44, 10)
    fill_stroke(ctx, LINEN)
    for x in range(12, 90, 14):
        ellipse(ctx, x, 76, 4, 4)
        fill_stroke(ctx, BLUSH, width=1)
    if tipped:
        ctx.identity_matrix()
        for x, y in ((22, 86), (70, 90), (84, 80)):
            ellipse(ctx, x, y, 8, 3)
            flat(ctx, CREAM, outline_of(CREAM), 1)
    return surface


def speaker_frames():
    frames = []
    for i, pulse in enumerate((0.0, 1.5, 3.0, 1.5)):
        surface, ctx = canvas(48, 80)
        ground_shadow(ctx, 24, 74, 18, 4)
        rounded_rect(ctx, 6, 6, 36, 66, 6)
        fill_stroke(ctx, (0.25, 0.24, 0.28))
        for cy, r in ((24, 8), (52, 12)):
            ellipse(ctx, 24, cy, r + pulse * 0.4, r + pulse * 0.4)
            fill_stroke(ctx, (0.45, 0.44, 0.5), width=1.2)
            ellipse(ctx, 24, cy, r * 0.35, r * 0.35)
            flat(ctx, (0.2, 0.2, 0.22), width=0)
        if i % 2:
            for k in range(2):
                ctx.arc(24, 40, 26 + k * 6, -0.5, 0.5)
                set_color(ctx, GOLD, 0.6)
                ctx.set_line_width(1.5)
                ctx.stroke()
        frames.append(Frame(surface, 24, 74))
    return frames


def wire_frames():
    frames = []
    for i in range(4):
        surface, ctx = canvas(70, 40)
        ctx.move_to(4, 30)
        ctx.curve_to(20, 40, 30, 10, 46, 24)
        set_color(ctx, COCOA)
        ctx.set_line_width(2.5)
        ctx.stroke()
        rounded_rect(ctx, 44, 20, 10, 7, 2)
        fill_stroke(ctx, (0.6, 0.6, 0.64), width=1)
        if i % 2 == 0:
            star_path(ctx, 60, 22, 8 - i, 3, 6, i * 0.4)
            flat(ctx, lighten(GOLD, 0.3), GOLD, 1)
        frames.append(Frame(surface, 35, 38))
    return frames


def flowers_vase():
    surface, ctx = canvas(40, 56)
    ground_shadow(ctx, 20, 52, 12, 3)
    ctx.move_to(12, 30)
    ctx.line_to(28, 30)
    ctx.line_to(25, 52)
    ctx.line_to(15, 52)
    ctx.close_path()
    fill_stroke(ctx, TEAL)
    for x, y, c in ((12, 18, ROSE), (20, 10, BLUSH), (28, 18, GOLD), (17, 24, CREAM), (25, 25, ROSE)):
        line(ctx, [(20, 32), (x, y)], shade(SAGE, 0.7), 1.5)
        ellipse(ctx, x, y, 5.5, 5.5)
        fill_stroke(ctx, c, width=1.2)
    return surface


def guest_book():
    w, h = 200, 130
    surface, ctx = canvas(w, h)
    ground_shadow(ctx, w / 2, h - 6, w / 2 - 8, 6)
    rounded_rect(ctx, 4, 6, w - 8, h - 16, 10)
    fill_stroke(ctx, ROSE)
    rounded_rect(ctx, 10, 10, w / 2 - 12, h - 26, 6)
    fill_stroke(ctx, CREAM, width=1.2)
    rounded_rect(ctx, w / 2 + 2, 10, w / 2 - 12, h - 26, 6)
    fill_stroke(ctx, CREAM, width=1.2)
    line(ctx, [(w / 2, 10), (w / 2, h - 14)], shade(ROSE, 0.7), 2)
    for x in (30, 70, 110, 150):
        ellipse(ctx, x, 67, 14, 12)
        set_color(ctx, SAND, 0.35)
        ctx.fill()
    for y in range(96, h - 18, 7):
        line(ctx, [(112, y), (180, y)], shade(LINEN, 0.85), 1)
    return surface


def green_spread():
    surface, ctx = canvas(30, 26)
    grad = cairo.RadialGradient(15, 13, 1, 15, 13, 14)
    grad.add_color_stop_rgba(0, GOOD[0], GOOD[1], GOOD[2], 0.75)
    grad.add_color_stop_rgba(1, GOOD[0], GOOD[1], GOOD[2], 0.0)
    ctx.set_source(grad)
    ellipse(ctx, 15, 13, 15, 13)
    ctx.fill()
    return surface


def heart():
    surface, ctx = canvas(22, 20)
    heart_path(ctx, 11, 10, 18)
    fill_stroke(ctx, ROSE)
    return surface


def make_all(reg):
    for i, venue in enumerate(VENUES):
        reg.image("images/bg_" + venue[0], background(venue), GROUP,
                  "level scripts: venue %d background" % (i + 1), GEN)
    for seats in (2, 4, 6, 8):
        reg.image("images/table/table%d" % seats, table(seats), GROUP,
                  "level scripts: guest table of %d" % seats, GEN)
    reg.image("images/table/chair", chair(), GROUP, "level scripts: chair", GEN)
    reg.image("images/table/chair06", chair(GOLD, CREAM), GROUP, "level: upgraded chair", GEN)
    for name, color in (("red", (0.85, 0.35, 0.33)), ("blue", (0.3, 0.5, 0.8)), ("gold", GOLD),
                        ("green", SAGE), ("plum", PLUM)):
        reg.image("images/table/mark_" + name, mark(color), GROUP, "level scripts: table mark", GEN)
    reg.image("assets/images/table/headtable1", head_table(), GROUP, "level: head table", GEN)
    reg.image("assets/images/table/servingtable_large.png", serving_table(), GROUP,
              "serving table", GEN)
    reg.image("assets/images/table/servingtable_extend.png", serving_extension(), GROUP,
              "serving table upgraded: a stand for two more slots", GEN)
    reg.image("assets/images/table/dishbin", dish_bin(), GROUP, "level: dish bin", GEN)
    reg.image("assets/images/table/winetable", small_table(LINEN, items=_glasses("wine")), GROUP,
              "level: wine table", GEN)
    reg.image("assets/images/table/champagnetable", small_table(CREAM, items=_glasses("champagne")),
              GROUP, "level: champagne table", GEN)
    reg.image("assets/images/table/VelkasTable", heroine_desk(), GROUP, "level: the heroine's table",
              GEN)
    reg.image("assets/images/table/musictable", music_table(), GROUP, "level: music table", GEN)
    # The cake table's two states are state animations of one frame, placed by their
    # top-left corner.
    reg.animation("assets/images/cake_table", [Frame(cake_table(), 0, 0)], GROUP, "cake table",
                  GEN)
    reg.animation("assets/images/Problems/table_tipped", [Frame(cake_table(True), 0, 0)], GROUP,
                  "cake table: tipped", GEN)
    reg.animation("assets/images/speaker_idle.xml", speaker_frames(), GROUP, "speaker", GEN)
    reg.animation("assets/images/speakerwire.xml", wire_frames(), GROUP, "speaker: loose wire", GEN)
    reg.image("images/flowers", flowers_vase(), GROUP, "level scripts: flowers", GEN)
    reg.image("assets/images/guestbk", guest_book(), GROUP, "guest book", GEN)
    reg.image("assets/images/greenSpread", green_spread(), GROUP, "guest book: served marker", GEN)
    reg.image("assets/images/heart.png", heart(), GROUP, "guest book and level: heart", GEN)
    reg.alias("assets/images/heart", "assets/images/heart.png")
