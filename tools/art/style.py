"""The look shared by every drawing: palette, shading rules and the few shape helpers all
generators use, so that a change here re-renders the whole game in the new look."""
import math

import cairo


def hex_rgb(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


# Warm neutrals, accents and feedback colours.
CREAM = hex_rgb("#FFF6E9")
LINEN = hex_rgb("#F3E3CC")
SAND = hex_rgb("#E2C9A6")
TAUPE = hex_rgb("#A88B6E")
COCOA = hex_rgb("#4A3428")
BLUSH = hex_rgb("#F2A7A0")
ROSE = hex_rgb("#D9667A")
GOLD = hex_rgb("#E8B64C")
SAGE = hex_rgb("#9DBF8E")
TEAL = hex_rgb("#4FA3A5")
NAVY = hex_rgb("#2E4A6B")
PLUM = hex_rgb("#7D4E7A")
GOOD = hex_rgb("#5DBB63")
WARNING = hex_rgb("#F2B134")
BAD = hex_rgb("#E0524F")
SPECIAL = hex_rgb("#8E6FD1")
WHITE = (1.0, 1.0, 1.0)
RED_UNIFORM = hex_rgb("#C8453F")
BLUE_UNIFORM = hex_rgb("#3F6FB5")
WOOD = hex_rgb("#B07A4E")
SKIN_TONES = [hex_rgb(c) for c in ("#F6D3B3", "#E9B98F", "#C98E62", "#8E5B3A", "#F2C6A2")]

# Objects the game draws five thirds larger are authored at this scale.
AUTHOR_SCALE = 0.6
# Outline width in on-screen pixels.
OUTLINE = 2.0


def shade(color, factor=0.82):
    return tuple(c * factor for c in color)


def lighten(color, amount=0.12):
    return tuple(c + (1.0 - c) * amount for c in color)


def outline_of(color):
    """A darker shade of the fill, never pure black; warm fills lean to cocoa."""
    return tuple(0.55 * c + 0.45 * k for c, k in zip(shade(color, 0.6), COCOA))


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def set_color(ctx, color, alpha=1.0):
    ctx.set_source_rgba(color[0], color[1], color[2], alpha)


def fill_stroke(ctx, fill, line=None, width=OUTLINE, alpha=1.0):
    """Fills the current path with a soft top-left highlight and bottom-right shade, then
    strokes it in the outline colour."""
    x0, y0, x1, y1 = ctx.fill_extents()
    grad = cairo.LinearGradient(x0, y0, x1, y1)
    hi, lo = lighten(fill), shade(fill, 0.9)
    grad.add_color_stop_rgba(0.0, hi[0], hi[1], hi[2], alpha)
    grad.add_color_stop_rgba(0.45, fill[0], fill[1], fill[2], alpha)
    grad.add_color_stop_rgba(1.0, lo[0], lo[1], lo[2], alpha)
    ctx.set_source(grad)
    if width > 0:
        ctx.fill_preserve()
        set_color(ctx, line or outline_of(fill), alpha)
        ctx.set_line_width(width)
        ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        ctx.stroke()
    else:
        ctx.fill()


def flat(ctx, fill, line=None, width=OUTLINE, alpha=1.0):
    set_color(ctx, fill, alpha)
    if width > 0:
        ctx.fill_preserve()
        set_color(ctx, line or outline_of(fill), alpha)
        ctx.set_line_width(width)
        ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        ctx.stroke()
    else:
        ctx.fill()


def line(ctx, points, color, width=OUTLINE):
    ctx.move_to(*points[0])
    for p in points[1:]:
        ctx.line_to(*p)
    set_color(ctx, color)
    ctx.set_line_width(width)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.stroke()


def ellipse(ctx, cx, cy, rx, ry):
    ctx.save()
    ctx.translate(cx, cy)
    ctx.scale(max(rx, 0.01), max(ry, 0.01))
    ctx.new_sub_path()
    ctx.arc(0, 0, 1, 0, 2 * math.pi)
    ctx.restore()


def rounded_rect(ctx, x, y, w, h, r):
    r = max(0.0, min(r, w / 2, h / 2))
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    ctx.close_path()


def ground_shadow(ctx, cx, cy, rx, ry):
    ellipse(ctx, cx, cy, rx, ry)
    set_color(ctx, COCOA, 0.35)
    ctx.fill()


def heart_path(ctx, cx, cy, size):
    s = size / 2.0
    ctx.move_to(cx, cy + s * 0.9)
    ctx.curve_to(cx - s * 1.3, cy, cx - s * 0.9, cy - s * 1.1, cx, cy - s * 0.45)
    ctx.curve_to(cx + s * 0.9, cy - s * 1.1, cx + s * 1.3, cy, cx, cy + s * 0.9)
    ctx.close_path()


def star_path(ctx, cx, cy, outer, inner, points=5, turn=-math.pi / 2):
    for i in range(points * 2):
        r = outer if i % 2 == 0 else inner
        a = turn + i * math.pi / points
        (ctx.move_to if i == 0 else ctx.line_to)(cx + r * math.cos(a), cy + r * math.sin(a))
    ctx.close_path()


def canvas(w, h):
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, int(w), int(h))
    ctx = cairo.Context(surface)
    ctx.set_antialias(cairo.ANTIALIAS_BEST)
    return surface, ctx
