"""Food and items: the courses (full, empty and carried), drinks, gifts, the request list and
tray, the serving menu card, and the planning choices (cakes upright and tipped, flowers, the
option pictures). Dishes and cakes are authored at the authoring scale."""
import math
import random

import cairo

from registry import Frame
from room import glass
from style import (AUTHOR_SCALE, BAD, BLUSH, COCOA, CREAM, GOLD, GOOD, LINEN, NAVY, PLUM, ROSE,
                   SAGE, SAND, TAUPE, TEAL, WHITE, canvas, ellipse, fill_stroke, flat,
                   ground_shadow, heart_path, lighten, line, outline_of, rounded_rect, set_color,
                   shade, star_path)

GROUP = "food"
GEN = "tools/art/food.py"
PLATE_W, PLATE_H = 34, 28

TOMATO = (0.86, 0.32, 0.28)
BREAD = (0.9, 0.7, 0.42)
GREEN = (0.42, 0.66, 0.34)
SHRIMP = (0.98, 0.6, 0.45)
MEAT = (0.55, 0.3, 0.22)
PASTA = (0.98, 0.85, 0.5)
FISH = (0.95, 0.78, 0.62)
CHOCOLATE = (0.45, 0.27, 0.18)


def plate(ctx, cx, cy, rx, ry, crumbs=False):
    ellipse(ctx, cx, cy + 1.5, rx, ry)
    set_color(ctx, COCOA, 0.3)
    ctx.fill()
    ellipse(ctx, cx, cy, rx, ry)
    fill_stroke(ctx, WHITE, outline_of(LINEN), 1.2)
    ellipse(ctx, cx, cy, rx * 0.68, ry * 0.62)
    set_color(ctx, LINEN, 0.8)
    ctx.set_line_width(0.8)
    ctx.stroke()
    if crumbs:
        rnd = random.Random(int(rx * 100 + cy))
        for _ in range(5):
            ellipse(ctx, cx + rnd.uniform(-rx * 0.5, rx * 0.5), cy + rnd.uniform(-ry * 0.4, ry * 0.4), 1.1, 0.8)
            flat(ctx, rnd.choice([TOMATO, BREAD, GREEN, TAUPE]), width=0)
        line(ctx, [(cx + rx * 0.1, cy + ry * 0.3), (cx + rx * 0.75, cy - ry * 0.2)], (0.72, 0.74, 0.78), 1.5)


def _topping(ctx, kind, cx, cy):
    """The food on a plate, centred at (cx, cy), in dish units about 20 wide."""
    if kind == "app1":  # bruschetta
        for dx in (-6, 0, 6):
            rounded_rect(ctx, cx + dx - 3.5, cy - 3 + abs(dx) * 0.1, 7, 5, 2)
            fill_stroke(ctx, BREAD, width=0.9)
            for k in (-1.5, 1.5):
                ellipse(ctx, cx + dx + k, cy - 1.5, 1.4, 1.1)
                flat(ctx, TOMATO, width=0)
            ellipse(ctx, cx + dx, cy - 2.5, 1.0, 0.7)
            flat(ctx, GREEN, width=0)
    elif kind == "app2":  # shrimp cocktail in a glass bowl
        ellipse(ctx, cx, cy - 2, 8, 4)
        fill_stroke(ctx, lighten(TEAL, 0.7), width=0.9)
        ellipse(ctx, cx, cy - 3, 6, 2.6)
        flat(ctx, GREEN, width=0)
        for dx in (-4, 0, 4):
            ctx.arc(cx + dx, cy - 6, 2.4, math.pi * 0.2, math.pi * 1.4)
            set_color(ctx, SHRIMP)
            ctx.set_line_width(2.2)
            ctx.stroke()
        ellipse(ctx, cx + 6, cy - 5, 2, 1.4)
        flat(ctx, lighten(GOLD, 0.5), width=0.6)
    elif kind == "app3":  # garden salad
        for k in range(7):
            a = k * 2 * math.pi / 7
            ellipse(ctx, cx + 5 * math.cos(a), cy - 1 + 2.4 * math.sin(a), 3.4, 2.2)
            flat(ctx, GREEN if k % 2 else lighten(GREEN, 0.3), width=0.6)
        for dx, dy in ((-2, -1), (3, 0), (0, 1.5)):
            ellipse(ctx, cx + dx, cy + dy - 1, 1.6, 1.3)
            flat(ctx, TOMATO, width=0.5)
    elif kind == "dinner1":  # roast with vegetables
        ellipse(ctx, cx - 2, cy - 1, 6.5, 3.8)
        fill_stroke(ctx, MEAT, width=0.9)
        line(ctx, [(cx - 6, cy - 2), (cx + 2, cy - 2)], lighten(MEAT, 0.25), 0.8)
        for k in range(3):
            ellipse(ctx, cx + 6 + (k % 2), cy - 2 + k * 1.6, 1.6, 1.1)
            flat(ctx, (0.95, 0.55, 0.2) if k % 2 else GREEN, width=0.5)
    elif kind == "dinner2":  # pasta
        ellipse(ctx, cx, cy - 1, 7, 3.8)
        fill_stroke(ctx, PASTA, width=0.9)
        for k in range(4):
            ctx.arc(cx - 3 + k * 2, cy - 1, 2.2, 0, math.pi * 1.4)
            set_color(ctx, shade(PASTA, 0.8))
            ctx.set_line_width(0.6)
            ctx.stroke()
        ellipse(ctx, cx, cy - 2, 3, 1.6)
        flat(ctx, TOMATO, width=0.5)
        ellipse(ctx, cx + 1, cy - 3, 1.2, 0.8)
        flat(ctx, GREEN, width=0)
    elif kind == "dinner3":  # fish with lemon
        ctx.move_to(cx - 7, cy - 1)
        ctx.curve_to(cx - 3, cy - 5, cx + 3, cy - 5, cx + 5, cy - 1)
        ctx.line_to(cx + 8, cy - 4)
        ctx.line_to(cx + 8, cy + 2)
        ctx.line_to(cx + 5, cy - 1)
        ctx.curve_to(cx + 3, cy + 3, cx - 3, cy + 3, cx - 7, cy - 1)
        ctx.close_path()
        fill_stroke(ctx, FISH, width=0.9)
        ellipse(ctx, cx - 4, cy + 2.5, 2, 1.4)
        flat(ctx, lighten(GOLD, 0.3), width=0.5)
    elif kind == "cake1":  # a slice of layered cake
        ctx.move_to(cx - 6, cy + 1)
        ctx.line_to(cx + 6, cy + 1)
        ctx.line_to(cx + 6, cy - 6)
        ctx.line_to(cx - 6, cy - 3)
        ctx.close_path()
        fill_stroke(ctx, CREAM, width=0.9)
        line(ctx, [(cx - 6, cy - 1), (cx + 6, cy - 2.5)], BLUSH, 1.4)
        ctx.move_to(cx - 6, cy - 3)
        ctx.line_to(cx + 6, cy - 6)
        ctx.line_to(cx + 3, cy - 8)
        ctx.close_path()
        fill_stroke(ctx, WHITE, width=0.8)
        ellipse(ctx, cx + 3, cy - 8.5, 1.5, 1.5)
        flat(ctx, TOMATO, width=0.5)


def dish(kind, state):
    surface, ctx = canvas(PLATE_W, PLATE_H)
    ctx.translate(PLATE_W / 2, PLATE_H - 9)
    if state == "item":
        # Carried: held higher, a little tilted, with a napkin under the plate.
        ctx.rotate(-0.08)
        ctx.move_to(-12, 2)
        ctx.line_to(12, 2)
        ctx.line_to(8, 7)
        ctx.line_to(-8, 7)
        ctx.close_path()
        fill_stroke(ctx, lighten(BLUSH, 0.3), width=0.9)
    plate(ctx, 0, 0, 14, 6.5, crumbs=state == "empty")
    if state != "empty":
        _topping(ctx, kind, 0, 0)
        ellipse(ctx, -5, -4, 2.2, 1)
        set_color(ctx, WHITE, 0.6)
        ctx.fill()
    return surface


def covered(kind):
    surface, ctx = canvas(PLATE_W, PLATE_H)
    ctx.translate(PLATE_W / 2, PLATE_H - 9)
    plate(ctx, 0, 0, 14, 6.5)
    ctx.arc(0, 0, 11, math.pi, 2 * math.pi)
    ctx.close_path()
    fill_stroke(ctx, (0.84, 0.86, 0.9) if kind == "dinner" else lighten(GOLD, 0.4), width=1.1)
    ellipse(ctx, 0, -11.5, 2, 1.5)
    flat(ctx, (0.6, 0.62, 0.66), width=0.6)
    return surface


def gift():
    surface, ctx = canvas(30, 30)
    rounded_rect(ctx, 4, 10, 22, 18, 2)
    fill_stroke(ctx, TEAL, width=1.2)
    rounded_rect(ctx, 2, 7, 26, 6, 2)
    fill_stroke(ctx, lighten(TEAL, 0.2), width=1.2)
    ctx.rectangle(13, 7, 4, 21)
    flat(ctx, GOLD, width=0)
    for s in (-1, 1):
        ellipse(ctx, 15 + s * 4, 5, 4, 2.5)
        fill_stroke(ctx, GOLD, width=1)
    return surface


def request_list():
    surface, ctx = canvas(26, 30)
    ctx.translate(13, 15)
    ctx.rotate(-0.08)
    rounded_rect(ctx, -9, -12, 18, 24, 2)
    fill_stroke(ctx, CREAM, width=1.2)
    for k in range(4):
        ellipse(ctx, -5, -7 + k * 5, 1.1, 1.1)
        flat(ctx, ROSE, width=0)
        line(ctx, [(-2, -7 + k * 5), (6, -7 + k * 5)], TAUPE, 1)
    return surface


def tray():
    surface, ctx = canvas(44, 24)
    ellipse(ctx, 22, 13, 20, 8)
    fill_stroke(ctx, (0.78, 0.8, 0.84), width=1.2)
    ellipse(ctx, 22, 12, 16, 5.5)
    set_color(ctx, WHITE, 0.5)
    ctx.set_line_width(1)
    ctx.stroke()
    return surface


def drink(kind, icon=False):
    w, h = (24, 24) if icon else (14, 28)
    surface, ctx = canvas(w, h)
    if icon:
        ellipse(ctx, 12, 12, 11, 11)
        fill_stroke(ctx, CREAM, width=1.2)
        glass(ctx, 12, 22, kind, 0.75)
    else:
        glass(ctx, 7, 27, kind, 1.0)
    return surface


def menu_card():
    w, h = 60, 110
    surface, ctx = canvas(w, h)
    ground_shadow(ctx, w / 2, h - 4, w / 2 - 6, 3)
    rounded_rect(ctx, 4, 3, w - 8, h - 9, 6)
    fill_stroke(ctx, CREAM)
    rounded_rect(ctx, 8, 7, w - 16, h - 17, 4)
    set_color(ctx, GOLD)
    ctx.set_line_width(1.2)
    ctx.stroke()
    for y in (36, 71):
        line(ctx, [(16, y), (w - 16, y)], shade(GOLD, 0.9), 1)
        ellipse(ctx, w / 2, y, 2, 2)
        flat(ctx, ROSE, width=0)
    return surface


# The cakes a couple can choose in planning: tiers, icing and decoration.
CAKES = {
    "cake4": dict(tiers=2, icing=WHITE, trim=BLUSH, top="heart"),
    "cake5": dict(tiers=3, icing=CREAM, trim=GOLD, top="flower"),
    "cake6": dict(tiers=3, icing=WHITE, trim=ROSE, top="couple"),
    "cake7": dict(tiers=2, icing=CHOCOLATE, trim=CREAM, top="berry"),
    "cakeLace": dict(tiers=3, icing=lighten(BLUSH, 0.5), trim=WHITE, top="heart"),
    "cakeRose": dict(tiers=2, icing=WHITE, trim=ROSE, top="flower"),
    "cakeGold": dict(tiers=4, icing=CREAM, trim=GOLD, top="star"),
}


def _draw_cake(ctx, spec, sparkle):
    widths = [30, 23, 16, 11][:spec["tiers"]]
    y = 0.0
    for i, w in enumerate(widths):
        th = 12 if i == 0 else 10
        rounded_rect(ctx, -w / 2, y - th, w, th + 2, 3)
        fill_stroke(ctx, spec["icing"], width=1.1)
        ctx.move_to(-w / 2, y - th + 2)
        for k in range(6):
            x0 = -w / 2 + k * w / 6
            ctx.curve_to(x0 + w / 24, y - th + 6, x0 + w / 8, y - th + 6, x0 + w / 6, y - th + 2)
        set_color(ctx, spec["trim"])
        ctx.set_line_width(1.6)
        ctx.stroke()
        y -= th
    top = spec["top"]
    if top == "heart":
        heart_path(ctx, 0, y - 4, 8)
        fill_stroke(ctx, ROSE, width=0.9)
    elif top == "flower":
        for k in range(5):
            a = k * 2 * math.pi / 5
            ellipse(ctx, 2.2 * math.cos(a), y - 3 + 2.2 * math.sin(a), 1.8, 1.8)
            flat(ctx, ROSE if spec["trim"] != ROSE else BLUSH, width=0.5)
        ellipse(ctx, 0, y - 3, 1.3, 1.3)
        flat(ctx, GOLD, width=0)
    elif top == "couple":
        for dx, c in ((-2.5, WHITE), (2.5, COCOA)):
            rounded_rect(ctx, dx - 1.6, y - 8, 3.2, 7, 1.2)
            flat(ctx, c, outline_of(c) if c != COCOA else shade(COCOA, 0.6), 0.6)
            ellipse(ctx, dx, y - 9.5, 1.5, 1.5)
            flat(ctx, (0.96, 0.82, 0.7), width=0.5)
    elif top == "berry":
        for dx in (-3, 0, 3):
            ellipse(ctx, dx, y - 1.5, 1.8, 1.8)
            flat(ctx, TOMATO, width=0.5)
    else:
        star_path(ctx, 0, y - 5, 4.5, 2)
        fill_stroke(ctx, GOLD, width=0.8)
    if sparkle:
        star_path(ctx, 10, y + 4 + sparkle * 3, 3, 1, 4)
        flat(ctx, WHITE, GOLD, 0.6)


def cake_frames(spec, tipped):
    frames = []
    for i in range(2):
        surface, ctx = canvas(48, 52)
        ctx.translate(24, 48)
        if tipped:
            ellipse(ctx, 6, -2, 18, 4)
            flat(ctx, spec["icing"], outline_of(spec["icing"]), 1)
            ctx.translate(8, -4)
            ctx.rotate(1.2 + 0.04 * i)
            ctx.translate(0, 10)
        else:
            ellipse(ctx, 0, 1, 18, 4)
            fill_stroke(ctx, (0.85, 0.86, 0.9), width=1)
        _draw_cake(ctx, spec, 0 if tipped else i + 1)
        frames.append(Frame(surface, 24, 48))
    return frames


def flowers(n):
    surface, ctx = canvas(30, 36)
    _draw_flowers(ctx, n)
    return surface


def _draw_flowers(ctx, n):
    palette = [ROSE, BLUSH, GOLD, WHITE, PLUM, TEAL][n - 1]
    second = [WHITE, ROSE, CREAM, BLUSH, BLUSH, WHITE][n - 1]
    ctx.move_to(9, 22)
    ctx.line_to(21, 22)
    ctx.line_to(19, 34)
    ctx.line_to(11, 34)
    ctx.close_path()
    fill_stroke(ctx, [SAGE, TEAL, CREAM, GOLD, LINEN, NAVY][n - 1], width=1)
    rnd = random.Random(n)
    for k in range(6):
        x, y = 15 + rnd.uniform(-9, 9), 12 + rnd.uniform(-8, 6)
        line(ctx, [(15, 24), (x, y)], shade(SAGE, 0.7), 1)
        ellipse(ctx, x, y, 4, 4)
        fill_stroke(ctx, palette if k % 2 else second, width=0.9)
        ellipse(ctx, x, y, 1.2, 1.2)
        flat(ctx, GOLD, width=0)


# A planning option's card, drawn five thirds larger: 137 x 98 on screen, so that three
# options and their captions fit a row of the planning screen.
OPTION_W, OPTION_H = 82, 59


def option_card(draw, down):
    w, h = OPTION_W, OPTION_H
    surface, ctx = canvas(w, h)
    rounded_rect(ctx, 2, 2, w - 4, h - 4, 7)
    fill_stroke(ctx, lighten(GOLD, 0.6) if down else CREAM, shade(GOLD, 0.8) if down else TAUPE,
                2 if down else 1.3)
    ctx.save()
    rounded_rect(ctx, 3, 3, w - 6, h - 6, 6)
    ctx.clip()
    ctx.translate(w / 2, h / 2 + 11)
    ctx.scale(1.45, 1.45)
    draw(ctx)
    ctx.restore()
    return surface


def _option_dish(kind):
    def draw(ctx):
        ctx.scale(1.3, 1.3)
        ctx.translate(0, -1)
        plate(ctx, 0, -4, 14, 6.5)
        _topping(ctx, kind, 0, -4)
    return draw


def _option_cake(name):
    def draw(ctx):
        ctx.scale(0.56, 0.56)
        ctx.translate(0, 5)
        _draw_cake(ctx, CAKES[name], 0)
    return draw


def _option_flowers(n):
    def draw(ctx):
        ctx.scale(0.8, 0.8)
        ctx.translate(-15, -31)
        _draw_flowers(ctx, n)
    return draw


def _option_trip(kind):
    def draw(ctx):
        rounded_rect(ctx, -18, -26, 36, 26, 3)
        ctx.save()
        ctx.clip()
        sky = {"beach": (0.7, 0.88, 0.96), "mountains": (0.78, 0.86, 0.95), "city": (0.98, 0.84, 0.7)}[kind]
        set_color(ctx, sky)
        ctx.paint()
        if kind == "beach":
            ctx.rectangle(-18, -10, 36, 10); flat(ctx, TEAL, width=0)
            ctx.rectangle(-18, -4, 36, 4); flat(ctx, SAND, width=0)
            ellipse(ctx, 10, -20, 3, 3); flat(ctx, GOLD, width=0)
        elif kind == "mountains":
            ctx.move_to(-18, 0); ctx.line_to(-6, -18); ctx.line_to(4, -6); ctx.line_to(10, -14)
            ctx.line_to(18, 0); ctx.close_path(); flat(ctx, SAGE, width=0.8)
            ctx.move_to(-9, -14); ctx.line_to(-6, -18); ctx.line_to(-3, -14); ctx.close_path()
            flat(ctx, WHITE, width=0)
        else:
            for i, (x, hh) in enumerate(((-15, 14), (-8, 20), (0, 12), (6, 22), (12, 16))):
                ctx.rectangle(x, -hh, 6, hh); flat(ctx, [NAVY, PLUM, TAUPE][i % 3], width=0.5)
        ctx.restore()
        rounded_rect(ctx, -18, -26, 36, 26, 3)
        set_color(ctx, COCOA); ctx.set_line_width(0.8); ctx.stroke()
        heart_path(ctx, 14, -3, 6); flat(ctx, ROSE, width=0.5)
    return draw


def options():
    """The planning choices by category: (name, drawing)."""
    out = [("appetizer%d" % i, _option_dish("app%d" % i)) for i in (1, 2, 3)]
    out += [("meal%d" % i, _option_dish("dinner%d" % i)) for i in (1, 2, 3)]
    out += [("cake_" + name, _option_cake(name)) for name in ("cake6", "cake5", "cake4", "cakeLace", "cakeRose", "cakeGold")]
    out += [("flowers%d" % n, _option_flowers(n)) for n in range(1, 7)]
    out += [("honeymoon_" + k, _option_trip(k)) for k in ("beach", "mountains", "city")]
    return out


def make_all(reg):
    folder = "assets/images/food/"
    names = {"app": ("App%dEmpty", "app%dfull", "item_app%d"),
             "dinner": ("Dinner%dEmpty", "Dinner%dFull", "item_dinner%d")}
    for course, (empty, full, item) in names.items():
        for i in (1, 2, 3):
            kind = "%s%d" % (course, i)
            reg.image(folder + full % i, dish(kind, "full"), GROUP, "guests: course on the table", GEN)
            reg.image(folder + empty % i, dish(kind, "empty"), GROUP, "guests: finished course", GEN)
            reg.image(folder + item % i, dish(kind, "item"), GROUP, "serving table and servers: dish", GEN)
    reg.image(folder + "Cake1Full", dish("cake1", "full"), GROUP, "guests: cake on the table", GEN)
    reg.image(folder + "Cake1Empty", dish("cake1", "empty"), GROUP, "guests: finished cake", GEN)
    reg.image(folder + "item_cake", dish("cake1", "item"), GROUP, "serving table and servers: cake", GEN)
    reg.image(folder + "item_appetizer", covered("appetizer"), GROUP, "request items: appetizer", GEN)
    reg.image(folder + "item_dinner", covered("dinner"), GROUP, "request items: dinner", GEN)
    reg.image(folder + "item_gift", gift(), GROUP, "guests: gift", GEN)
    reg.image(folder + "item_list", request_list(), GROUP, "guests: request list", GEN)
    reg.image(folder + "item_tray", tray(), GROUP, "request items: tray", GEN)
    reg.image(folder + "wineglass", drink("wine"), GROUP, "wine table: glass carried", GEN)
    reg.image(folder + "wineglass_icon", drink("wine", True), GROUP, "guests: wine request icon", GEN)
    reg.image(folder + "champagneglass", drink("champagne"), GROUP, "champagne table: glass", GEN)
    reg.image(folder + "menu.png", menu_card(), GROUP, "serving menu", GEN)
    planning = "assets/images/Festra Panning/"
    for name, spec in CAKES.items():
        reg.animation(planning + name + ".xml", cake_frames(spec, False), GROUP,
                      "planning and cake table: chosen cake", GEN)
        tipped_folder = planning if name == "cake7" else "assets/images/Problems/"
        reg.animation(tipped_folder + name + "_tipped.xml", cake_frames(spec, True), GROUP,
                      "cake table: tipped cake", GEN)
    for n in range(1, 7):
        reg.image(planning + "small_PLANNER_Flowers0%d" % n, flowers(n), GROUP,
                  "planning: flowers placed in the room", GEN)
    for name, draw in options():
        base = "images/Festra Panning/options/" + name
        reg.image(base, option_card(draw, False), GROUP, "selection scripts: planning option", GEN)
        reg.image(base + "_down", option_card(draw, True), GROUP,
                  "selection scripts: planning option chosen", GEN)
