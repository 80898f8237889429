"""Contact sheets: every drawing of a group with its name under it, on cream and on mid-grey,
so the look can be judged at a glance."""
import cairo

from style import COCOA, CREAM, set_color

WIDTH = 1600
PAD = 10
LABEL = 11
MAX_CELL = 240


def _cells(items):
    cells = []
    for label, surface in items:
        w, h = surface.get_width(), surface.get_height()
        k = min(1.0, MAX_CELL / max(w, h))
        if w * k < 40 and h * k < 40:
            k = min(2.0, 40.0 / max(w, h, 1))
        cells.append((label, surface, k, max(int(w * k), 60), int(h * k) + LABEL + 4))
    return cells


def _layout(cells, width):
    places, x, y, row = [], PAD, PAD, 0
    for _, _, _, w, h in cells:
        if x + w > width - PAD and x > PAD:
            x, y, row = PAD, y + row + PAD, 0
        places.append((x, y))
        x += w + PAD
        row = max(row, h)
    return places, y + row + PAD


def _draw(ctx, cells, places):
    ctx.select_font_face("DejaVu Sans", cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_size(LABEL - 2)
    for (label, surface, k, w, h), (x, y) in zip(cells, places):
        ctx.save()
        ctx.translate(x, y)
        ctx.scale(k, k)
        ctx.set_source_surface(surface, 0, 0)
        ctx.get_source().set_filter(cairo.FILTER_GOOD)
        ctx.paint()
        ctx.restore()
        set_color(ctx, COCOA)
        text = label.split("/")[-1]
        ctx.move_to(x, y + h - 2)
        ctx.show_text(text[:34])


def write(path, items):
    cells = _cells(items)
    half = WIDTH // 2
    places, height = _layout(cells, half)
    surface = cairo.ImageSurface(cairo.FORMAT_RGB24, WIDTH, height)
    ctx = cairo.Context(surface)
    for offset, background in ((0, CREAM), (half, (0.5, 0.5, 0.5))):
        set_color(ctx, background)
        ctx.rectangle(offset, 0, half, height)
        ctx.fill()
        ctx.save()
        ctx.translate(offset, 0)
        _draw(ctx, cells, places)
        ctx.restore()
    surface.write_to_png(path)
