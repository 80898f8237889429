"""The interface: dialogs and panels, buttons with their idle, pressed and hover layers, check
boxes, sliders, the cursor, the loading and meter animations, the venue map with its dots, the
hiscore panels, the heroine's balloons, small level icons, the upgrade icons and the effect
textures. Panels follow one rule: rounded linen with a cocoa outline, gold for primary buttons,
sage for secondary ones; labels come from the string table and are never drawn here."""
import math

import cairo

from characters import HEROINE, portrait
from people import Pose, draw_person
from registry import Frame
from room import VENUES, background, glass
from style import (AUTHOR_SCALE, BAD, BLUSH, COCOA, CREAM, GOLD, GOOD, LINEN, NAVY, PLUM, ROSE,
                   SAGE, SAND, SPECIAL, TAUPE, TEAL, WARNING, WHITE, WOOD, canvas, ellipse,
                   fill_stroke, flat, heart_path, lighten, line, mix, outline_of, rounded_rect,
                   set_color, shade, star_path)

GROUP = "interface"
GEN = "tools/art/interface.py"
RADIUS = 10


def panel(w, h, fill=LINEN, radius=RADIUS, scale=1.0, inner=True):
    """A rounded panel; `scale` is the authoring scale (0.6 for dialogs drawn five thirds larger)."""
    surface, ctx = canvas(w, h)
    r = radius * scale
    rounded_rect(ctx, 3 * scale + 1, 4 * scale + 1, w - 4 * scale - 2, h - 4 * scale - 2, r)
    set_color(ctx, COCOA, 0.25)
    ctx.fill()
    rounded_rect(ctx, 1, 1, w - 4 * scale - 2, h - 4 * scale - 2, r)
    fill_stroke(ctx, fill, COCOA, 2 * scale)
    if inner:
        rounded_rect(ctx, 1 + 6 * scale, 1 + 6 * scale, w - 16 * scale - 2, h - 16 * scale - 2, r * 0.7)
        set_color(ctx, GOLD, 0.8)
        ctx.set_line_width(1.5 * scale)
        ctx.stroke()
    return surface, ctx


def button(w, h, color, state, scale=1.0):
    """Idle, pressed (10% darker, pushed down) and hover (8% lighter, with a glow) layers."""
    fill = {"idle": color, "down": shade(color, 0.9), "hover": lighten(color, 0.08)}[state]
    surface, ctx = canvas(w, h)
    r = min(RADIUS * scale * 1.6, h / 2 - 1)
    push = 1.5 * scale if state == "down" else 0
    if state != "down":
        rounded_rect(ctx, 1, 3 * scale + 1, w - 2, h - 3 * scale - 2, r)
        set_color(ctx, shade(color, 0.6))
        ctx.fill()
    rounded_rect(ctx, 1, 1 + push, w - 2, h - 3 * scale - 2, r)
    fill_stroke(ctx, fill, COCOA, 2 * scale)
    rounded_rect(ctx, 4 * scale, 3 * scale + push, w - 8 * scale, (h - 3 * scale) * 0.4, r * 0.7)
    set_color(ctx, WHITE, 0.25)
    ctx.fill()
    if state == "hover":
        rounded_rect(ctx, 1, 1, w - 2, h - 3 * scale - 2, r)
        set_color(ctx, WHITE, 0.6)
        ctx.set_line_width(1.5 * scale)
        ctx.stroke()
    return surface


def button_set(reg, names, w, h, color, used, scale=1.0):
    for state, name in zip(("idle", "down", "hover"), names):
        reg.image(name, button(w, h, color, state, scale), GROUP, used, GEN)


def check_box(checked, hover=False):
    surface, ctx = canvas(28, 28)
    rounded_rect(ctx, 3, 3, 22, 22, 5)
    fill_stroke(ctx, lighten(CREAM, 0.5) if hover else CREAM, COCOA, 2)
    if checked:
        line(ctx, [(8, 14), (12.5, 19), (21, 8)], GOOD, 3.5)
    return surface


def arrow(direction, state):
    surface, ctx = canvas(32, 32)
    color = {"idle": SAGE, "down": shade(SAGE, 0.9), "hover": lighten(SAGE, 0.08)}[state]
    ellipse(ctx, 16, 16 + (1 if state == "down" else 0), 13, 13)
    fill_stroke(ctx, color, COCOA, 2)
    s = -1 if direction in ("left", "up") else 1
    if direction in ("left", "right"):
        ctx.move_to(16 + 6 * s, 16)
        ctx.line_to(16 - 4 * s, 9)
        ctx.line_to(16 - 4 * s, 23)
    else:
        ctx.move_to(16, 16 + 6 * s)
        ctx.line_to(9, 16 - 4 * s)
        ctx.line_to(23, 16 - 4 * s)
    ctx.close_path()
    flat(ctx, WHITE, COCOA, 1.2)
    return surface


def slider_rail():
    """As tall as the knob, which the slider sets at its top: the groove runs through the
    knob's middle."""
    surface, ctx = canvas(240, 28)
    rounded_rect(ctx, 2, 10, 236, 8, 4)
    fill_stroke(ctx, SAND, COCOA, 1.5)
    return surface


def slider_knob(hover=False):
    """The knob; under the pointer (the slider's roll-over image) 8% lighter with a glow."""
    surface, ctx = canvas(24, 28)
    rounded_rect(ctx, 3, 2, 18, 24, 7)
    fill_stroke(ctx, lighten(ROSE, 0.08) if hover else ROSE, COCOA, 2)
    for y in (10, 14, 18):
        line(ctx, [(8, y), (16, y)], lighten(ROSE, 0.5), 1.2)
    if hover:
        rounded_rect(ctx, 2, 1, 20, 26, 8)
        set_color(ctx, WHITE, 0.7)
        ctx.set_line_width(1.5)
        ctx.stroke()
    return surface


def player_button(checked, hover):
    """A player's slot on the player choice: sage, gold once it is the chosen player; the
    name is the button's label."""
    color = GOLD if checked else SAGE
    return button(220, 40, color, "hover" if hover else "idle")


def credits_background():
    """The credits: the garden under a cream veil, and a framed card whose inside is the
    window the credits scroll through (20, 135 to 770, 485)."""
    surface = background(VENUES[0])
    ctx = cairo.Context(surface)
    set_color(ctx, CREAM, 0.45)
    ctx.paint()
    rounded_rect(ctx, 40, 30, 720, 100, 22)
    fill_stroke(ctx, CREAM, COCOA, 2)
    rounded_rect(ctx, 14, 129, 762, 362, 14)
    set_color(ctx, COCOA, 0.25)
    ctx.fill()
    rounded_rect(ctx, 10, 125, 762, 362, 14)
    fill_stroke(ctx, LINEN, COCOA, 2)
    rounded_rect(ctx, 18, 133, 746, 346, 10)
    set_color(ctx, GOLD, 0.8)
    ctx.set_line_width(1.5)
    ctx.stroke()
    for s in (-1, 1):
        heart_path(ctx, 400 + s * 200, 80, 24)
        fill_stroke(ctx, ROSE, COCOA, 1.5)
    return surface


def cursor():
    """Colour-keyed: opaque magenta is transparent, so the picture is drawn without soft
    edges against it."""
    surface, ctx = canvas(32, 32)
    ctx.set_source_rgb(1, 0, 1)
    ctx.paint()
    ctx.set_antialias(cairo.ANTIALIAS_NONE)
    ctx.move_to(2, 2)
    ctx.line_to(2, 24)
    ctx.line_to(8, 18)
    ctx.line_to(13, 28)
    ctx.line_to(17, 26)
    ctx.line_to(12, 17)
    ctx.line_to(20, 17)
    ctx.close_path()
    set_color(ctx, CREAM)
    ctx.fill_preserve()
    set_color(ctx, COCOA)
    ctx.set_line_width(2)
    ctx.stroke()
    ctx.move_to(5, 8)
    ctx.line_to(5, 17)
    ctx.line_to(9, 13)
    ctx.close_path()
    set_color(ctx, PLUM)
    ctx.fill()
    return surface


def checkmark_frames():
    frames = []
    for k in (0.4, 0.8, 1.15, 1.0):
        surface, ctx = canvas(30, 30)
        ctx.translate(15, 15)
        ctx.scale(k, k)
        ellipse(ctx, 0, 0, 12, 12)
        fill_stroke(ctx, GOOD, shade(GOOD, 0.6), 1.5)
        line(ctx, [(-6, 0), (-1.5, 5), (6.5, -5)], WHITE, 3)
        frames.append(Frame(surface, 15, 15))
    return frames


def loading_frames():
    frames = []
    for i in range(14):
        surface, ctx = canvas(64, 64)
        for k in range(7):
            a = 2 * math.pi * k / 7 - math.pi / 2
            lit = (k - i * 0.5) % 7
            heart_path(ctx, 32 + 22 * math.cos(a), 32 + 22 * math.sin(a), 10 + (3 if lit < 1 else 0))
            fill_stroke(ctx, mix(BLUSH, ROSE, max(0.0, 1 - lit / 3)), width=1.2)
        frames.append(Frame(surface, 32, 32))
    return frames


def flute_frames(level):
    """The score meter: a champagne flute filled to `level` of 13, bubbles rising."""
    frames = []
    for i in range(3):
        surface, ctx = canvas(30, 72)
        top, bottom = 6, 46
        ctx.move_to(5, top)
        ctx.line_to(25, top)
        ctx.curve_to(25, 36, 20, bottom, 15, bottom)
        ctx.curve_to(10, bottom, 5, 36, 5, top)
        ctx.close_path()
        set_color(ctx, WHITE, 0.55)
        ctx.fill_preserve()
        ctx.save()
        ctx.clip()
        fill_y = bottom - (bottom - top) * level / 13.0
        ctx.rectangle(0, fill_y, 30, 60)
        grad = cairo.LinearGradient(0, top, 0, bottom)
        grad.add_color_stop_rgb(0, *lighten(GOLD, 0.35))
        grad.add_color_stop_rgb(1, *GOLD)
        ctx.set_source(grad)
        ctx.fill()
        if level > 0:
            for k in range(3):
                y = bottom - ((i * 5 + k * 11) % max(1, int(bottom - fill_y)))
                ellipse(ctx, 11 + k * 4, y - 2, 1.2, 1.2)
                set_color(ctx, WHITE, 0.8)
                ctx.fill()
        ctx.restore()
        ctx.move_to(5, top)
        ctx.line_to(25, top)
        ctx.curve_to(25, 36, 20, bottom, 15, bottom)
        ctx.curve_to(10, bottom, 5, 36, 5, top)
        ctx.close_path()
        set_color(ctx, COCOA)
        ctx.set_line_width(1.6)
        ctx.stroke()
        line(ctx, [(8, top + 3), (9, 30)], WHITE, 1.5)
        line(ctx, [(15, bottom), (15, 64)], COCOA, 2.6)
        ellipse(ctx, 15, 66, 9, 3)
        flat(ctx, WHITE, COCOA, 1.4)
        if level == 13:
            star_path(ctx, 24, 8 + i * 2, 5, 2, 4)
            flat(ctx, WHITE, GOLD, 0.8)
        frames.append(Frame(surface, 15, 69))
    return frames


def status_bg():
    surface, ctx = panel(280, 70)
    for x, w in ((58, 90), (156, 112)):
        rounded_rect(ctx, x, 12, w, 40, 6)
        set_color(ctx, CREAM)
        ctx.fill()
    ellipse(ctx, 30, 35, 22, 26)
    set_color(ctx, SAND, 0.45)
    ctx.fill()
    return surface


def boostmeter_frames():
    frames = []
    for i in range(8):
        surface, ctx = canvas(120, 30)
        rounded_rect(ctx, 2, 4, 116, 22, 11)
        fill_stroke(ctx, CREAM, COCOA, 2)
        filled = min(i, 5)
        blink = i >= 6
        for k in range(5):
            heart_path(ctx, 18 + k * 21, 15, 14)
            if k < filled or blink:
                flat(ctx, lighten(ROSE, 0.3) if i == 7 else ROSE, COCOA, 1)
            else:
                flat(ctx, LINEN, TAUPE, 1)
        frames.append(Frame(surface, 0, 0))
    return frames


def heartburst_frames():
    frames = []
    for i in range(6):
        surface, ctx = canvas(60, 60)
        t = (i + 1) / 6.0
        for k in range(8):
            a = 2 * math.pi * k / 8
            r = 6 + 22 * t
            heart_path(ctx, 30 + r * math.cos(a), 30 + r * math.sin(a), 9 * (1.1 - t * 0.5))
            set_color(ctx, ROSE, 1.0 - t * 0.7)
            ctx.fill()
        frames.append(Frame(surface, 30, 30))
    return frames


def eyes_frames():
    frames = []
    for state in ("open", "open", "half", "closed", "open", "glance"):
        surface, ctx = canvas(44, 22)
        for x in (12, 32):
            ellipse(ctx, x, 11, 8, 9)
            fill_stroke(ctx, WHITE, COCOA, 1.5)
            if state == "closed":
                line(ctx, [(x - 7, 11), (x + 7, 11)], COCOA, 1.8)
                continue
            dx = 3 if state == "glance" else 0
            ellipse(ctx, x + dx, 12, 4, 4.5)
            flat(ctx, COCOA, width=0)
            ellipse(ctx, x + dx - 1.2, 10.5, 1.3, 1.3)
            flat(ctx, WHITE, width=0)
            if state == "half":
                ctx.rectangle(x - 9, 1, 18, 9)
                flat(ctx, SAND, width=0)
        frames.append(Frame(surface, 0, 0))
    return frames


# Where each venue lies on the map (inside the 500 x 500 area of the level dots), and its
# island's size; venue 1 is the mainland at the lower left.
ISLANDS = {1: (120, 500, 0, 0), 2: (330, 480, 95, 60), 3: (410, 310, 85, 62), 4: (175, 270, 95, 66),
           5: (290, 105, 110, 70)}
EYES_WINDOW = (619, 180)  # centre of the round window the map's eyes peek from


def _blob(ctx, x, y, rx, ry, seed):
    points = 48
    for i in range(points + 1):
        a = 2 * math.pi * i / points
        k = 1 + 0.07 * math.sin(3 * a + seed) + 0.05 * math.sin(5 * a + seed * 2)
        px, py = x + rx * k * math.cos(a), y + ry * k * math.sin(a)
        (ctx.move_to if i == 0 else ctx.line_to)(px, py)
    ctx.close_path()


def _island(ctx, n):
    x, y, rx, ry = ISLANDS[n]
    name, back, floor, seam, accent = VENUES[n - 1]
    _blob(ctx, x, y + 4, rx + 8, ry + 8, n)
    set_color(ctx, WHITE, 0.45)
    ctx.fill()
    _blob(ctx, x, y, rx + 4, ry + 4, n)
    fill_stroke(ctx, lighten(SAND, 0.2), shade(SAND, 0.7), 2)
    _blob(ctx, x, y - 3, rx - 4, ry - 6, n)
    fill_stroke(ctx, lighten(mix(SAGE, back, 0.3), 0.2), shade(SAGE, 0.6), 1.5)
    for k in range(4):
        a = k * 1.7 + n
        tx, ty = x + rx * 0.6 * math.cos(a), y - 3 + ry * 0.5 * math.sin(a)
        ellipse(ctx, tx, ty, 9, 8)
        fill_stroke(ctx, shade(SAGE, 0.75), shade(SAGE, 0.5), 1.2)


def _path(ctx, a, b):
    (x0, y0), (x1, y1) = ISLANDS[a][:2], ISLANDS[b][:2]
    ctx.move_to(x0, y0)
    ctx.curve_to((x0 + x1) / 2 + 30, y0, (x0 + x1) / 2 - 30, y1, x1, y1)
    set_color(ctx, CREAM, 0.9)
    ctx.set_line_width(3)
    ctx.set_dash([6, 6])
    ctx.stroke()
    ctx.set_dash([])


def map_background():
    surface, ctx = canvas(800, 600)
    grad = cairo.LinearGradient(0, 0, 0, 600)
    grad.add_color_stop_rgb(0, *lighten(TEAL, 0.55))
    grad.add_color_stop_rgb(1, *lighten(TEAL, 0.35))
    ctx.set_source(grad)
    ctx.paint()
    for y in range(30, 600, 46):
        for x in range((y * 7) % 90, 520, 150):
            ctx.arc(x, y, 10, math.pi * 1.1, math.pi * 1.9)
            set_color(ctx, WHITE, 0.5)
            ctx.set_line_width(1.5)
            ctx.stroke()
    # The mainland with the first venue.
    ctx.move_to(0, 600)
    ctx.curve_to(20, 440, 110, 400, 200, 430)
    ctx.curve_to(260, 450, 250, 540, 290, 600)
    ctx.close_path()
    fill_stroke(ctx, mix(SAGE, VENUES[0][1], 0.35), shade(SAGE, 0.6), 3)
    _venue_marker(ctx, *ISLANDS[1][:2], VENUES[0])
    # The side panel for the venue's texts and buttons, with the window of the eyes.
    rounded_rect(ctx, 530, 20, 250, 560, 16)
    fill_stroke(ctx, LINEN, COCOA, 2)
    rounded_rect(ctx, 540, 30, 230, 540, 12)
    set_color(ctx, GOLD)
    ctx.set_line_width(1.5)
    ctx.stroke()
    ex, ey = EYES_WINDOW
    ellipse(ctx, ex, ey, 42, 34)
    fill_stroke(ctx, shade(PLUM, 0.55), WOOD, 5)
    return surface


def venue_overlay(n):
    surface, ctx = canvas(800, 600)
    _path(ctx, n - 1, n)
    _island(ctx, n)
    _venue_marker(ctx, *ISLANDS[n][:2], VENUES[n - 1])
    return surface


def _venue_marker(ctx, x, y, venue):
    name, back, floor, seam, accent = venue
    ctx.save()
    ctx.translate(x, y - 4)
    rounded_rect(ctx, -26, -30, 52, 34, 4)
    fill_stroke(ctx, lighten(back, 0.3), COCOA, 2)
    ctx.move_to(-32, -28)
    ctx.line_to(0, -52)
    ctx.line_to(32, -28)
    ctx.close_path()
    fill_stroke(ctx, accent, COCOA, 2)
    rounded_rect(ctx, -7, -16, 14, 20, 6)
    fill_stroke(ctx, WOOD, COCOA, 1.5)
    heart_path(ctx, 0, -36, 10)
    flat(ctx, WHITE, width=0)
    ctx.restore()


def dot(kind):
    surface, ctx = canvas(22, 22)
    if kind == "selected":
        ellipse(ctx, 11, 11, 10, 10)
        set_color(ctx, GOLD)
        ctx.set_line_width(3)
        ctx.stroke()
        return surface
    color = {"locked": (0.7, 0.68, 0.66), "open": ROSE, "open_expert": GOLD}[kind]
    ellipse(ctx, 11, 11, 7.5, 7.5)
    fill_stroke(ctx, color, COCOA, 1.6)
    if kind == "open_expert":
        star_path(ctx, 11, 11, 5, 2.2)
        flat(ctx, WHITE, width=0)
    elif kind == "locked":
        rounded_rect(ctx, 8, 10, 6, 5, 1)
        flat(ctx, COCOA, width=0)
        ctx.arc(11, 10, 2.2, math.pi, 2 * math.pi)
        set_color(ctx, COCOA)
        ctx.set_line_width(1.2)
        ctx.stroke()
    else:
        ellipse(ctx, 9, 9, 2.2, 2.2)
        set_color(ctx, WHITE, 0.7)
        ctx.fill()
    return surface


def balloon(kind):
    """The heroine's thought balloons; `kind` picks the alert look."""
    surface, ctx = canvas(56, 60)
    for r, (x, y) in ((3, (22, 56)), (5, (26, 48))):
        ellipse(ctx, x, y, r, r)
        fill_stroke(ctx, WHITE, COCOA, 1.3)
    for cx, cy, r in ((16, 22, 13), (28, 14, 14), (40, 22, 13), (28, 30, 14)):
        ellipse(ctx, cx, cy, r, r)
    fill = {"thought": WHITE, "alert": WHITE, "highlight": lighten(GOLD, 0.55),
            "selected": lighten(GOOD, 0.5), "talk": CREAM}[kind]
    fill_stroke(ctx, fill, COCOA, 1.5)
    for cx, cy, r in ((16, 22, 12), (28, 14, 13), (40, 22, 12), (28, 30, 13)):
        ellipse(ctx, cx, cy, r, r)
    set_color(ctx, fill)
    ctx.fill()
    if kind in ("alert", "highlight", "selected"):
        rounded_rect(ctx, 25, 8, 6, 16, 3)
        flat(ctx, BAD, width=0)
        ellipse(ctx, 28, 29, 3, 3)
        flat(ctx, BAD, width=0)
    elif kind == "thought":
        heart_path(ctx, 28, 21, 16)
        fill_stroke(ctx, ROSE, width=1.2)
    return surface


def select_circle():
    surface, ctx = canvas(24, 18)
    ctx.move_to(4, 3)
    ctx.line_to(20, 3)
    ctx.line_to(12, 15)
    ctx.close_path()
    fill_stroke(ctx, GOLD, COCOA, 1.6)
    return surface


def icon(draw, w=28, h=28):
    surface, ctx = canvas(w, h)
    draw(ctx, w, h)
    return surface


def _chair_icon(n):
    def draw(ctx, w, h):
        ellipse(ctx, w / 2, h / 2, w / 2 - 1, h / 2 - 1)
        fill_stroke(ctx, CREAM, COCOA, 1.5)
        for k in range(n):
            x = w / 2 + (k - (n - 1) / 2) * 9
            rounded_rect(ctx, x - 3.5, 7, 7, 10, 2)
            fill_stroke(ctx, WOOD, width=1)
            line(ctx, [(x - 2.5, 17), (x - 2.5, 21)], COCOA, 1.2)
            line(ctx, [(x + 2.5, 17), (x + 2.5, 21)], COCOA, 1.2)
    return draw


def _alone(ctx, w, h):
    ellipse(ctx, w / 2, h / 2, w / 2 - 1, h / 2 - 1)
    fill_stroke(ctx, CREAM, COCOA, 1.5)
    ellipse(ctx, w / 2, 10, 4, 4)
    flat(ctx, TAUPE, width=0)
    rounded_rect(ctx, w / 2 - 5, 14, 10, 9, 4)
    flat(ctx, TAUPE, width=0)


def _cross(ctx, w, h):
    line(ctx, [(6, 6), (w - 6, h - 6)], shade(BAD, 0.7), 6)
    line(ctx, [(w - 6, 6), (6, h - 6)], shade(BAD, 0.7), 6)
    line(ctx, [(6, 6), (w - 6, h - 6)], BAD, 4)
    line(ctx, [(w - 6, 6), (6, h - 6)], BAD, 4)


def _arrow(direction, color):
    def draw(ctx, w, h):
        ctx.save()
        if direction == "left":
            ctx.translate(w, 0)
            ctx.scale(-1, 1)
        ctx.move_to(3, h * 0.35)
        ctx.line_to(w * 0.55, h * 0.35)
        ctx.line_to(w * 0.55, 3)
        ctx.line_to(w - 3, h / 2)
        ctx.line_to(w * 0.55, h - 3)
        ctx.line_to(w * 0.55, h * 0.65)
        ctx.line_to(3, h * 0.65)
        ctx.close_path()
        fill_stroke(ctx, color, COCOA, 2)
        ctx.restore()
    return draw


def _potion(ctx, w, h):
    ellipse(ctx, w / 2, h * 0.62, w * 0.32, h * 0.3)
    fill_stroke(ctx, lighten(SPECIAL, 0.2), COCOA, 1.5)
    rounded_rect(ctx, w / 2 - 3, h * 0.12, 6, h * 0.25, 2)
    fill_stroke(ctx, lighten(SPECIAL, 0.5), COCOA, 1.2)
    rounded_rect(ctx, w / 2 - 4, h * 0.06, 8, 4, 2)
    flat(ctx, WOOD, COCOA, 1)
    heart_path(ctx, w / 2, h * 0.64, w * 0.3)
    flat(ctx, ROSE, width=0)


def _potion_icon(ctx, w, h):
    ellipse(ctx, w / 2, h / 2, w / 2 - 1, h / 2 - 1)
    fill_stroke(ctx, CREAM, COCOA, 1.5)
    ctx.save()
    ctx.translate(w * 0.15, h * 0.12)
    ctx.scale(0.7, 0.75)
    _potion(ctx, w, h)
    ctx.restore()


def _points_heart(ctx, w, h):
    """The planning reveal's heart on a picked option; the dialog writes "+100" or "0" on
    it, so it is light enough for dark text."""
    heart_path(ctx, w / 2, h / 2 + 1, w - 4)
    fill_stroke(ctx, BLUSH, shade(ROSE, 0.8), 1.5)
    ellipse(ctx, w * 0.35, h * 0.35, 3, 2)
    set_color(ctx, WHITE, 0.6)
    ctx.fill()


def _badge(ctx, w, h):
    """The expert rosette; the dialog writes "Expert" on its ribbon (from a third of the way
    across, in its upper half)."""
    cx, cy = w * 0.45, h * 0.6
    star_path(ctx, cx, cy, h * 0.4, h * 0.22, 8)
    fill_stroke(ctx, GOLD, COCOA, 1.5)
    ellipse(ctx, cx, cy, h * 0.2, h * 0.2)
    fill_stroke(ctx, lighten(GOLD, 0.4), COCOA, 1)
    star_path(ctx, cx, cy, h * 0.12, h * 0.05)
    flat(ctx, WHITE, width=0)
    ctx.move_to(10, 9)
    ctx.line_to(w - 1, 9)
    ctx.line_to(w - 4, 15)
    ctx.line_to(w - 1, 21)
    ctx.line_to(10, 21)
    ctx.close_path()
    fill_stroke(ctx, CREAM, COCOA, 1)


def _halo(color, alpha):
    """A mark the dialogs draw under a button, a little larger than it: a glow whose rim
    shows around the button."""
    def draw(ctx, w, h):
        rounded_rect(ctx, 1, 1, w - 2, h - 2, 10)
        set_color(ctx, color, alpha)
        ctx.fill_preserve()
        set_color(ctx, shade(color, 0.8))
        ctx.set_line_width(1.5)
        ctx.stroke()
    return draw


# Upgrades by what they improve; the icon shows the thing and a small badge.
UPGRADE_KINDS = ["plate", "plate", "plate", "plate", "chair", "shoe", "plate", "plate", "table",
                 "table", "note", "note", "glass", "glass", "shoe", "heart", "dance", "dance",
                 "chair", "heart", "note", "glass", "table", "shoe", "shoe", "heart", "dance",
                 "plate", "note", "table", "shoe", "shoe"]


# An upgrade's button on the upgrade dialog, drawn five thirds larger (425 x 100 on screen):
# a card whose left part is left for the description the dialog writes over it, and the
# upgrade's picture in a medallion on the right.
UPGRADE_W, UPGRADE_H = 255, 60


def upgrade_icon(n, down):
    w, h = UPGRADE_W, UPGRADE_H
    surface, ctx = canvas(w, h)
    rounded_rect(ctx, 2, 2, w - 4, h - 4, 9)
    fill_stroke(ctx, lighten(GOLD, 0.55) if down else CREAM, COCOA, 1.5)
    rounded_rect(ctx, 191, 6, 50, 48, 10)
    fill_stroke(ctx, LINEN if down else lighten(SAND, 0.55), GOLD, 1.5)
    ctx.translate(216, 31)
    ctx.scale(0.78, 0.78)
    _upgrade_picture(ctx, UPGRADE_KINDS[n - 1])
    return surface


def _upgrade_picture(ctx, kind):
    """The thing an upgrade improves, centred on the origin in about 56 x 56, with a small
    star."""
    if kind == "plate":
        ellipse(ctx, 0, 4, 18, 8)
        fill_stroke(ctx, WHITE, outline_of(LINEN), 1.5)
        ctx.arc(0, 4, 13, math.pi, 2 * math.pi)
        ctx.close_path()
        fill_stroke(ctx, (0.84, 0.86, 0.9), COCOA, 1.5)
    elif kind == "chair":
        rounded_rect(ctx, -9, -16, 18, 24, 6)
        fill_stroke(ctx, GOLD, COCOA, 1.5)
        rounded_rect(ctx, -5, -12, 10, 16, 4)
        fill_stroke(ctx, CREAM, width=1)
        line(ctx, [(-7, 8), (-8, 16)], COCOA, 2)
        line(ctx, [(7, 8), (8, 16)], COCOA, 2)
    elif kind == "shoe":
        ctx.move_to(-16, 6)
        ctx.curve_to(-16, -6, -4, -8, 0, -2)
        ctx.curve_to(6, 2, 16, 0, 16, 8)
        ctx.line_to(-16, 8)
        ctx.close_path()
        fill_stroke(ctx, ROSE, COCOA, 1.5)
        for k in range(3):
            line(ctx, [(-26 + k * 3, -6 + k * 5), (-18 + k * 3, -6 + k * 5)], TAUPE, 1.5)
    elif kind == "table":
        rounded_rect(ctx, -20, -10, 40, 14, 4)
        fill_stroke(ctx, lighten(SAND, 0.3), COCOA, 1.5)
        rounded_rect(ctx, -20, 2, 40, 12, 3)
        fill_stroke(ctx, WOOD, COCOA, 1.5)
    elif kind == "note":
        ellipse(ctx, -6, 10, 6, 4.5)
        flat(ctx, PLUM, COCOA, 1.2)
        ellipse(ctx, 10, 6, 6, 4.5)
        flat(ctx, PLUM, COCOA, 1.2)
        line(ctx, [(-1, 10), (-1, -14), (15, -18), (15, 6)], COCOA, 2.5)
    elif kind == "glass":
        glass(ctx, -6, 14, "champagne", 1.2)
        glass(ctx, 8, 14, "wine", 1.2)
    elif kind == "dance":
        for k in range(2):
            ctx.arc(-6 + k * 12, 0, 8, 0, 2 * math.pi)
            set_color(ctx, [ROSE, NAVY][k])
            ctx.set_line_width(3)
            ctx.stroke()
        star_path(ctx, 0, -14, 5, 2)
        flat(ctx, GOLD, COCOA, 1)
    else:
        heart_path(ctx, 0, 0, 26)
        fill_stroke(ctx, ROSE, COCOA, 1.5)
    star_path(ctx, 18, -20, 6, 2.6)
    fill_stroke(ctx, GOLD, COCOA, 1)


def particle(kind):
    size = 32
    surface, ctx = canvas(size, size)
    c = size / 2
    if kind == "sparkle":
        grad = cairo.RadialGradient(c, c, 0, c, c, c)
        grad.add_color_stop_rgba(0, 1, 1, 1, 1)
        grad.add_color_stop_rgba(0.25, 1, 0.95, 0.75, 0.7)
        grad.add_color_stop_rgba(1, 1, 0.9, 0.6, 0)
        ctx.set_source(grad)
        ctx.paint()
        star_path(ctx, c, c, c - 1, 2.2, 4)
        set_color(ctx, WHITE, 0.9)
        ctx.fill()
    elif kind == "heart":
        heart_path(ctx, c, c + 1, size - 6)
        fill_stroke(ctx, ROSE, shade(ROSE, 0.7), 1.5)
        ellipse(ctx, c - 5, c - 4, 3, 2)
        set_color(ctx, WHITE, 0.6)
        ctx.fill()
    elif kind == "smoke":
        grad = cairo.RadialGradient(c, c, 0, c, c, c)
        grad.add_color_stop_rgba(0, 0.85, 0.83, 0.82, 0.8)
        grad.add_color_stop_rgba(0.6, 0.8, 0.78, 0.77, 0.4)
        grad.add_color_stop_rgba(1, 0.8, 0.78, 0.77, 0)
        ctx.set_source(grad)
        ctx.paint()
    elif kind == "star":
        star_path(ctx, c, c, c - 2, c / 2.4)
        fill_stroke(ctx, GOLD, shade(GOLD, 0.7), 1.5)
    elif kind == "glow":
        grad = cairo.RadialGradient(c, c, 0, c, c, c)
        grad.add_color_stop_rgba(0, 1, 1, 1, 1)
        grad.add_color_stop_rgba(1, 1, 1, 1, 0)
        ctx.set_source(grad)
        ctx.paint()
    elif kind == "note":
        # A quaver: a tilted head, its stem and a flag.
        ctx.save()
        ctx.translate(c - 4, c + 7)
        ctx.rotate(-0.35)
        ctx.scale(1.0, 0.72)
        ctx.arc(0, 0, 6, 0, 2 * math.pi)
        ctx.restore()
        ctx.rectangle(c + 0.5, c - 11, 3, 18)
        ctx.move_to(c + 3.5, c - 11)
        ctx.curve_to(c + 12, c - 7, c + 11, c - 2, c + 8, c + 1)
        ctx.curve_to(c + 9, c - 4, c + 7, c - 6, c + 3.5, c - 6)
        ctx.close_path()
        fill_stroke(ctx, PLUM, shade(PLUM, 0.6), 1.2)
    elif kind == "confetti":
        for k, color in enumerate((ROSE, GOLD, TEAL, SAGE)):
            ctx.save()
            ctx.translate(8 + (k % 2) * 16, 8 + (k // 2) * 16)
            ctx.rotate(k * 0.7)
            ctx.rectangle(-5, -3, 10, 6)
            flat(ctx, color, width=0)
            ctx.restore()
    return surface


def anger_mark():
    """The cartoon sign of temper that pulses over the angry bride: four bent strokes."""
    size = 48
    surface, ctx = canvas(size, size)
    c = size / 2
    for k in range(4):
        ctx.save()
        ctx.translate(c, c)
        ctx.rotate(k * math.pi / 2)
        ctx.move_to(3, -17)
        ctx.curve_to(4, -9, 9, -4, 17, -3)
        ctx.line_to(17, 3)
        ctx.curve_to(7, 2, 2, -4, -3, -17)
        ctx.close_path()
        fill_stroke(ctx, BAD, shade(BAD, 0.55), 1.5)
        ctx.restore()
    return surface


def dialog(w, h, scale, fill=LINEN, header=True):
    surface, ctx = panel(w, h, fill, scale=scale)
    if header:
        rounded_rect(ctx, w * 0.25, 12 * scale, w * 0.5, 38 * scale, 16 * scale)
        fill_stroke(ctx, ROSE, COCOA, 2 * scale)
        for s in (-1, 1):
            heart_path(ctx, w / 2 + s * w * 0.2, 31 * scale, 14 * scale)
            flat(ctx, WHITE, width=0)
    return surface


def intro_background(second):
    """The level's introduction, drawn as it is over the whole screen: the venue, and a card
    on the left for the introduction's text, the goals and the couple's pictures."""
    w, h = 800, 600
    surface, ctx = canvas(w, h)
    ctx.set_source_surface(background(VENUES[3 if second else 0]), 0, 0)
    ctx.paint()
    rounded_rect(ctx, 96, 86, 340, 452, 16)
    set_color(ctx, COCOA, 0.25)
    ctx.fill()
    rounded_rect(ctx, 90, 80, 340, 452, 16)
    fill_stroke(ctx, CREAM, COCOA, 2)
    rounded_rect(ctx, 100, 90, 320, 432, 11)
    set_color(ctx, GOLD)
    ctx.set_line_width(2)
    ctx.stroke()
    for s in (-1, 1):
        heart_path(ctx, 255 + s * 115, 318, 14)
        flat(ctx, ROSE, width=1)
    line(ctx, [(150, 318), (360, 318)], lighten(TAUPE, 0.4), 1.5)
    return surface


def tall_dialog():
    """The lost page's panel: narrower than the long dialog, in the middle of the screen."""
    s = AUTHOR_SCALE
    surface, ctx = canvas(480, 360)
    ctx.set_source_surface(dialog(300, 360, s), 90, 0)
    ctx.paint()
    return surface


def outro():
    surface = dialog(480, 360, AUTHOR_SCALE)
    ctx = cairo.Context(surface)
    for i in range(30):
        a = i * 2.4
        x, y = 240 + math.cos(a) * (80 + i * 5), 190 + math.sin(a) * (60 + i * 3)
        heart_path(ctx, x, y, 6 + i % 4)
        set_color(ctx, [ROSE, BLUSH, GOLD][i % 3], 0.6)
        ctx.fill()
    return surface


def menu_background():
    surface = background(VENUES[0])
    ctx = cairo.Context(surface)
    set_color(ctx, CREAM, 0.35)
    ctx.paint()
    ctx.save()
    ctx.translate(640, 560)
    ctx.scale(3.2, 3.2)
    draw_person(ctx, HEROINE, Pose(arms="wave", mouth="open"))
    ctx.restore()
    rounded_rect(ctx, 200, 40, 400, 110, 24)
    fill_stroke(ctx, CREAM, COCOA, 2)
    rounded_rect(ctx, 212, 52, 376, 86, 18)
    set_color(ctx, GOLD)
    ctx.set_line_width(2)
    ctx.stroke()
    for s in (-1, 1):
        heart_path(ctx, 400 + s * 160, 95, 26)
        fill_stroke(ctx, ROSE, COCOA, 1.5)
    return surface


def text_field():
    """The box of a text edit: the field in its lower part, where the screens place the edit
    22 pixels down; the part above is left clear."""
    surface, ctx = canvas(240, 50)
    rounded_rect(ctx, 1, 17, 238, 31, 6)
    fill_stroke(ctx, WHITE, COCOA, 1.5)
    return surface


def hiscore_board(w, h, fill, rows=0):
    """A hiscore panel; with rows, the bands of the table's rows (the screen script sets a row
    every 25 pixels from y 62, 20 high)."""
    surface, ctx = panel(w, h, fill)
    for i in range(rows):
        rounded_rect(ctx, 8, 60 + 25 * i, w - 16, 24, 4)
        set_color(ctx, WHITE, 0.35 if i % 2 else 0.15)
        ctx.fill()
    return surface


def player_icon():
    """The member mark of a hiscore row, 20 pixels to fit the rows 25 apart."""
    surface, ctx = canvas(20, 20)
    ellipse(ctx, 10, 10, 9, 9)
    fill_stroke(ctx, GOLD, COCOA, 1.5)
    ellipse(ctx, 10, 7, 3.2, 3.2)
    flat(ctx, CREAM, width=0)
    rounded_rect(ctx, 5, 11, 10, 6, 3.5)
    flat(ctx, CREAM, width=0)
    return surface


def planning_note():
    surface, ctx = panel(200, 120, CREAM, scale=AUTHOR_SCALE)
    for y in range(40, 100, 14):
        line(ctx, [(20, y), (180, y)], lighten(TAUPE, 0.5), 1)
    heart_path(ctx, 180, 22, 16)
    fill_stroke(ctx, ROSE, COCOA, 1)
    return surface


def make_all(reg):
    s = AUTHOR_SCALE
    reg.image("cursor/cursor", cursor(), GROUP, "mouse cursor (colour-keyed)", GEN)
    reg.animation("assets/images/checkmark", checkmark_frames(), GROUP, "room objects: check mark", GEN,
                  "function DoAnim()\n    delay(50);\n    frames{1,2,3,4};\nend\n")
    reg.image("assets/images/UI/ui_bg", status_bg(), GROUP, "status panel", GEN)
    for level in range(14):
        reg.animation("assets/images/UI/UI_Flute/ui_flute_%02d.xml" % level, flute_frames(level), GROUP,
                      "status panel: score meter", GEN)
    reg.image("assets/backgrounds/longdialog", dialog(480, 360, s), GROUP,
              "level dialog and loading box", GEN)
    reg.image("assets/backgrounds/talldialog", tall_dialog(), GROUP, "level dialog: lost", GEN)
    reg.image("assets/backgrounds/hintbg", dialog(220, 70, s, CREAM, header=False), GROUP,
              "level: hint and tutorial box", GEN)
    reg.image("backgrounds/helppage", dialog(800, 600, 1.0), GROUP, "help page", GEN)
    reg.image("backgrounds/textfield.png", text_field(), GROUP, "name entry and hiscore submit", GEN)
    reg.image("images/outro/outro", outro(), GROUP, "level dialog: the last level won", GEN)
    reg.image("assets/images/intro/intro_bg", intro_background(False), GROUP, "level dialog: intro", GEN)
    reg.image("assets/images/intro/intro_bg02", intro_background(True), GROUP, "level dialog: intro", GEN)
    button_set(reg, ["buttons/btn_idle_long", "buttons/btn_down_long", "buttons/btn_hl_long"],
               132, 32, GOLD, "level dialog buttons", s)
    button_set(reg, ["assets/buttons/planner_btn_idle", "assets/buttons/planner_btn_down",
                     "assets/buttons/planner_btn_hl"], 168, 34, ROSE, "level dialog: plan button", s)
    button_set(reg, ["images/menu/button_idle", "images/menu/button_down", "images/menu/button_hover"],
               220, 48, GOLD, "menu and dialog buttons", 1.0)
    button_set(reg, ["images/menu/button2_idle", "images/menu/button2_down", "images/menu/button2_hover"],
               160, 40, SAGE, "secondary buttons", 1.0)
    button_set(reg, ["images/menu/small_idle", "images/menu/small_down", "images/menu/small_hover"],
               90, 34, SAGE, "small buttons (pause, upgrade, ok)", 1.0)
    for state in ("idle", "down", "hover"):
        for d in ("left", "right"):
            reg.image("images/menu/arrow_%s_%s" % (d, state), arrow(d, state), GROUP,
                      "hiscore and mode choosers: arrows", GEN)
        for d in ("up", "down"):
            reg.image("images/menu/arrow_%s_%s" % (d, state), arrow(d, state), GROUP,
                      "hiscore table: scroll arrows", GEN)
    reg.image("images/menu/checkbox", check_box(False), GROUP, "check boxes", GEN)
    reg.image("images/menu/checkbox_checked", check_box(True), GROUP, "check boxes", GEN)
    reg.image("images/menu/checkbox_hover", check_box(False, True), GROUP, "check boxes", GEN)
    reg.image("images/menu/menu_bg", menu_background(), GROUP, "main menu", GEN)
    reg.image("images/menu/panel", panel(360, 300)[0], GROUP, "options, players and pause panels", GEN)
    reg.image("images/options/slider_rail", slider_rail(), GROUP, "options: slider rail", GEN)
    reg.image("images/options/slider_roll", slider_knob(True), GROUP,
              "options: slider knob under the pointer", GEN)
    reg.image("images/options/slider_knob", slider_knob(), GROUP, "options: slider knob", GEN)
    for checked, hover, name in ((False, False, "idle"), (True, False, "checked"),
                                 (False, True, "hover"), (True, True, "checked_hover")):
        reg.image("images/menu/player_" + name, player_button(checked, hover), GROUP,
                  "player choice: player slots", GEN)
    reg.image("images/credits/credits_bg", credits_background(), GROUP, "credits screen", GEN)
    reg.animation("images/loading/loading", loading_frames(), GROUP, "loading box", GEN,
                  "function DoAnim()\n    delay(70);\n    repeat\n        frames{%s};\n    until false;\nend\n"
                  % ",".join(str(i) for i in range(1, 15)))
    reg.image("images/metamap/metamap_bg", map_background(), GROUP, "venue map", GEN)
    for n in (2, 3, 4, 5):
        reg.image("assets/images/metamap/metamap_venue%d" % n, venue_overlay(n), GROUP,
                  "venue map: venue %d" % n, GEN)
    for kind in ("locked", "open", "open_expert", "selected"):
        reg.image("images/metamap/level_" + kind, dot(kind), GROUP, "venue map: level dot", GEN)
    reg.animation("assets/images/metamap/eyes.xml", eyes_frames(), GROUP, "venue map: eyes", GEN,
                  "function DoAnim()\n    repeat\n        delay(1800);\n        frames{1};\n"
                  "        delay(90);\n        frames{2,3,4,3};\n        delay(900);\n        frames{6};\n"
                  "    until false;\nend\n")
    reg.image("hiscore/hiscores_BG", dialog(800, 600, 1.0), GROUP, "hiscore window", GEN)
    reg.image("hiscore/global-hs-bb_large.png", hiscore_board(302, 330, lighten(TEAL, 0.5), 10),
              GROUP, "hiscore window: the table", GEN)
    reg.image("hiscore/global-hs-bb_small.png", hiscore_board(320, 140, lighten(TEAL, 0.5)), GROUP,
              "hiscore window: rank and result", GEN)
    reg.image("hiscore/local-hs-bb.png", hiscore_board(320, 300, lighten(GOLD, 0.55)), GROUP,
              "hiscore window: local notes and submit", GEN)
    reg.image("hiscore/p1icon.png", player_icon(), GROUP, "hiscore window: own entry", GEN)
    reg.image("assets/images/velkabubble", balloon("talk"), GROUP, "level: the heroine's talk bubble", GEN)
    reg.image("assets/images/Velka_ThoughtBalloon.png", balloon("thought"), GROUP,
              "level: the heroine's thought balloon", GEN)
    reg.image("assets/images/velka_alert_balloon.png", balloon("alert"), GROUP, "problem events", GEN)
    reg.image("assets/images/velka_alert_balloon_highlight.png", balloon("highlight"), GROUP,
              "problem events: hovered", GEN)
    reg.image("assets/images/velka_alert_balloon_highlight_selected.png", balloon("selected"), GROUP,
              "problem events: chosen", GEN)
    reg.image("assets/images/character/selectCircle", select_circle(), GROUP, "level: current server marker", GEN)
    reg.animation("assets/images/boostmeter", boostmeter_frames(), GROUP, "level: boost meter", GEN)
    reg.animation("images/heartburst", heartburst_frames(), GROUP, "level: heart burst", GEN)
    reg.image("assets/images/chair1Icon", icon(_chair_icon(1)), GROUP, "level: chair icon", GEN)
    reg.image("assets/images/chair2Icon", icon(_chair_icon(2)), GROUP, "level: chair icon", GEN)
    reg.image("assets/images/iconAlone", icon(_alone), GROUP, "guests: no seating wish", GEN)
    reg.image("assets/images/cross", icon(_cross, 24, 24), GROUP, "level: refused", GEN)
    reg.image("assets/images/orangeArrow", icon(_arrow("right", WARNING), 40, 28), GROUP, "tutorial arrow", GEN)
    reg.image("assets/images/pointleft", icon(_arrow("left", GOLD), 40, 28), GROUP, "tutorial arrow", GEN)
    reg.image("assets/images/lovepotion", icon(_potion, 30, 36), GROUP, "level: love potion", GEN)
    reg.image("assets/images/lovepotionIcon", icon(_potion_icon, 36, 36), GROUP, "level: love potion icon", GEN)
    reg.image("assets/images/Festra Panning/points_heart.png", icon(_points_heart, 36, 32), GROUP,
              "planning: points", GEN)
    reg.image("assets/images/Festra Panning/planning_end_note", planning_note(), GROUP, "planning: result note", GEN)
    # The planning marks and the upgrade marks lie under their options (82 x 59) and upgrade
    # buttons (255 x 60), five pixels larger each way.
    reg.image("images/Festra Panning/wp_over", icon(_halo(GOLD, 0.75), 92, 69), GROUP,
              "planning: option roll-over", GEN)
    reg.image("images/Festra Panning/wp_down", icon(_halo(GOOD, 0.9), 92, 69), GROUP,
              "planning: option picked", GEN)
    reg.image("images/festra panning/planner_bg", dialog(800, 600, 1.0), GROUP, "planning dialog", GEN,
              file="images/Festra Panning/planner_bg.png")
    reg.image("images/expertbadge", icon(_badge, 44, 44), GROUP, "level dialog: expert badge", GEN)
    reg.image("images/upgrades/upgrade_down", icon(_halo(GOOD, 0.9), 265, 70), GROUP,
              "upgrade dialog: chosen", GEN)
    reg.image("images/upgrades/upgrade_rollover", icon(_halo(GOLD, 0.75), 265, 70), GROUP,
              "upgrade dialog: roll-over", GEN)
    for n in range(1, 33):
        reg.image("images/upgrades/upgrade_%02d" % n, upgrade_icon(n, False), GROUP, "upgrades script: icon", GEN)
        reg.image("images/upgrades/upgrade_%02d_down" % n, upgrade_icon(n, True), GROUP,
                  "upgrades script: icon pressed", GEN)
    for kind in ("sparkle", "heart", "smoke", "star", "glow", "confetti", "note"):
        reg.image("fx/%s.png" % kind, particle(kind), GROUP, "effect scripts: particle texture", GEN)
    reg.image("fx/anger.png", anger_mark(), GROUP, "effect files: the bride's outburst", GEN)
