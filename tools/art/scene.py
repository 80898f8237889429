"""A mock-up of a reception as the game lays it out (room at 800x600, characters and dishes
five thirds larger than authored), to judge the art together at play size. Written beside the
contact sheets; the game never loads it."""
import os

import cairo

from style import COCOA, GOLD, set_color

SCALE = 5.0 / 3.0


def _image(assets, name):
    return cairo.ImageSurface.create_from_png(os.path.join(assets, name))


def _frame(assets, xml):
    """The first frame of an animation document as a surface and its registration point."""
    import xml.etree.ElementTree as ET
    root = ET.parse(os.path.join(assets, xml)).getroot()
    sheet = _image(assets, os.path.join(os.path.dirname(xml), root.find("img").get("name")))
    f = root.find("framelist").find("frame")
    x, y, w, h = (int(f.get(k)) for k in ("x", "y", "w", "h"))
    out = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    ctx = cairo.Context(out)
    ctx.set_source_surface(sheet, -x, -y)
    ctx.paint()
    return out, int(f.get("regx")), int(f.get("regy"))


def _put(ctx, surface, x, y, scale=1.0, regx=0, regy=0, debug=False):
    ctx.save()
    ctx.translate(x, y)
    ctx.scale(scale, scale)
    ctx.set_source_surface(surface, -regx, -regy)
    ctx.paint()
    ctx.restore()
    if debug:
        ctx.arc(x, y, 2, 0, 6.3)
        set_color(ctx, (1, 0, 1))
        ctx.fill()


def write(path, assets):
    surface = cairo.ImageSurface(cairo.FORMAT_RGB24, 800, 600)
    ctx = cairo.Context(surface)
    _put(ctx, _image(assets, "images/bg_backyard.png"), 0, 0)
    _put(ctx, _image(assets, "images/table/headtable1.png"), 280, 120)
    for name, x in (("gen_b1_normal.xml", 280 + 90), ("gen_g1_normal.xml", 280 + 126)):
        frame, rx, ry = _frame(assets, "images/character/Brides and Grooms/" + name)
        _put(ctx, frame, x, 120 + 53 + 40, SCALE, rx, ry, True)
    _put(ctx, _image(assets, "images/table/headtable1.png"), 280, 120)
    chair = _image(assets, "images/table/chair.png")
    table = _image(assets, "images/table/table4.png")
    guests = ["female01", "male01", "female03", "uncle", "female02", "male04", "aunt", "male02"]
    for t, (tx, ty) in enumerate(((120, 300), (380, 330))):
        pitch = (table.get_width() - 22) // 4 - 1
        for i in range(4):
            cx = tx + 22 + i * pitch
            _put(ctx, chair, cx, ty + 4, 1.0, 17, 52)
            row = "seated" if i % 2 == 0 else "eating"
            frame, rx, ry = _frame(assets, "images/character/guests/%s_%s.xml" % (guests[t * 4 + i], row))
            _put(ctx, frame, cx, ty + 30, SCALE, rx, ry)
        _put(ctx, table, tx, ty)
        _put(ctx, _image(assets, "images/food/Dinner1Full.png"), tx + 40, ty + 20, SCALE, 17, 14)
    _put(ctx, _image(assets, "images/table/servingtable_large.png"), 490, 110)
    frame, rx, ry = _frame(assets, "images/character/chef_normal.xml")
    _put(ctx, frame, 640, 140, SCALE, rx, ry)
    _put(ctx, _image(assets, "images/table/servingtable_large.png"), 490, 110)
    for k, name in enumerate(("app1full", "Dinner2Full", "Cake1Full")):
        _put(ctx, _image(assets, "images/food/%s.png" % name), 540 + k * 80, 150, SCALE, 17, 14)
    for k, (folder, name) in enumerate((("Red", "waitress_red_south1"), ("Blue", "waitress_blue_west2"))):
        frame, rx, ry = _frame(assets, "images/character/%s/%s.xml" % (folder, name))
        _put(ctx, frame, 630 + 60 * k, 420, SCALE, rx, ry, True)
    _put(ctx, _image(assets, "images/food/item_dinner1.png"), 630 + 23, 420 - 45, SCALE, 17, 14)
    frame, rx, ry = _frame(assets, "images/character/Velka/velka_idle.xml")
    _put(ctx, frame, 116, 535, SCALE, rx, ry, True)
    frame, rx, ry = _frame(assets, "images/character/guests/female04_impatient.xml")
    _put(ctx, frame, 60, 250, SCALE, rx, ry, True)
    _put(ctx, _image(assets, "images/guestbubble_normal.png"), 40, 120, SCALE)
    _put(ctx, _image(assets, "images/UI/ui_bg.png"), 510, 525)
    frame, rx, ry = _frame(assets, "images/UI/UI_Flute/ui_flute_08.xml")
    _put(ctx, frame, 540, 596, 1.0, rx, ry)
    _put(ctx, _image(assets, "images/cake_table_sheet.png"), 430, 190)
    _put(ctx, _image(assets, "images/menu/small_idle.png"), 20, 553)
    set_color(ctx, COCOA)
    ctx.select_font_face("DejaVu Sans")
    ctx.set_font_size(11)
    ctx.move_to(8, 14)
    ctx.show_text("mock-up: magenta dots are registration points")
    surface.write_to_png(path)
