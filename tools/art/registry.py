"""Writes the generated art into the assets folder: still images as PNG, animations as a packed
frame sheet beside an XML animation document, and one manifest row for every name the game asks
for. It also keeps a small preview of each entry for the contact sheets."""
import os
from xml.sax.saxutils import escape, quoteattr

import cairo

SHEET_MAX_WIDTH = 1024
SHEET_GAP = 1


class Frame:
    """One drawn frame: its surface and the registration point inside it."""

    def __init__(self, surface, regx, regy, name=""):
        self.surface = surface
        self.regx = int(regx)
        self.regy = int(regy)
        self.name = name


class Registry:
    def __init__(self, assets_dir):
        self.assets_dir = assets_dir
        self.rows = []
        self.previews = {}
        self.seen = {}

    def _claim(self, name):
        key = name.lower()
        if key in self.seen and self.seen[key] != name:
            raise ValueError("names differ only by case: %s / %s" % (self.seen[key], name))
        self._claim_alias(name, name)

    def _write(self, file, surface):
        key = "file:" + file.lower()
        if key in self.seen:
            raise ValueError("two drawings in one file (names resolve without case): " + file)
        self.seen[key] = file
        path = os.path.join(self.assets_dir, file)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        surface.write_to_png(path)

    def _preview(self, group, label, surface):
        self.previews.setdefault(group, []).append((label, surface))

    def image(self, name, surface, group, used_by, generator, file=None):
        """A still image. `name` is the name the game asks for; without an extension the file
        gets ".png". `file` places it elsewhere, for a name asked in another case than its
        folder (names resolve without regard to case)."""
        file = file or package_path(name if os.path.splitext(name)[1] else name + ".png")
        self._claim(name)
        self._write(file, surface)
        self.rows.append((name, file, "image", surface.get_width(), surface.get_height(), "", "",
                          used_by, generator))
        self._preview(group, name, surface)

    def alias(self, name, existing):
        """A second name the game uses for an image already written (a name with and without
        its extension)."""
        row = next(r for r in self.rows if r[0] == existing)
        self._claim_alias(name, existing)
        self.rows.append((name,) + row[1:])

    def _claim_alias(self, name, existing):
        key = name.lower()
        if key in self.seen:
            raise ValueError("made twice: " + name)
        self.seen[key] = name

    def animation(self, name, frames, group, used_by, generator, script=None):
        """An animation: frames packed into "<base>_sheet.png" beside the XML document that
        `name` (with or without ".xml") resolves to."""
        file = package_path(name if name.endswith(".xml") else name + ".xml")
        self._claim(name)
        base = os.path.splitext(os.path.basename(file))[0]
        sheet_name = base + "_sheet.png"
        places, sheet_w, sheet_h = pack(frames)
        sheet = cairo.ImageSurface(cairo.FORMAT_ARGB32, sheet_w, sheet_h)
        ctx = cairo.Context(sheet)
        for frame, (x, y) in zip(frames, places):
            ctx.set_source_surface(frame.surface, x, y)
            ctx.paint()
        self._write(os.path.join(os.path.dirname(file), sheet_name), sheet)
        self._write_document(file, base, sheet_name, sheet_w, sheet_h, frames, places, script)
        width = max(f.surface.get_width() for f in frames)
        height = max(f.surface.get_height() for f in frames)
        self.rows.append((name, file, "animation", width, height, frames[0].regx, frames[0].regy,
                          used_by, generator))
        self._preview(group, name, strip(frames))

    def _write_document(self, file, base, sheet_name, sheet_w, sheet_h, frames, places, script):
        out = ['<?xml version="1.0"?>',
               '<sequence name=%s source="tools/art">' % quoteattr(base),
               '  <img name=%s w="%d" h="%d"/>' % (quoteattr(sheet_name), sheet_w, sheet_h),
               '  <framelist>']
        for i, (frame, (x, y)) in enumerate(zip(frames, places)):
            out.append('    <frame name="%s" x="%d" y="%d" w="%d" h="%d" regx="%d" regy="%d"/>' % (
                frame.name or "%s_%02d" % (base, i), x, y, frame.surface.get_width(),
                frame.surface.get_height(), frame.regx, frame.regy))
        out.append('  </framelist>')
        if script:
            # As element text: the reader collapses its line breaks to blanks, which Lua
            # reads the same.
            out.append('  <script>%s</script>' % escape(" ".join(script.split())))
        out.append('</sequence>')
        key = "file:" + file.lower()
        if key in self.seen:
            raise ValueError("two documents in one file (names resolve without case): " + file)
        self.seen[key] = file
        path = os.path.join(self.assets_dir, file)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(out) + "\n")

    def write_manifest(self, path):
        with open(path, "w", encoding="utf-8") as f:
            f.write("# name the game asks for,file in the package,kind,width,height,regx,regy,"
                    "used by,generator (made by tools/art/make_art.sh)\n")
            for row in sorted(self.rows, key=lambda r: r[0].lower()):
                # Commas separate the columns, so a description keeps semicolons instead.
                f.write(",".join(str(v).replace(",", ";") for v in row) + "\n")


def package_path(name):
    """The file of a name inside the assets folder: "assets/x" and "x" name the same file."""
    return name[len("assets/"):] if name.startswith("assets/") else name


def pack(frames):
    """Shelf packing in frame order; returns the top-left of each frame and the sheet size."""
    places = []
    x = y = shelf = width = 0
    for frame in frames:
        w, h = frame.surface.get_width(), frame.surface.get_height()
        if x > 0 and x + w > SHEET_MAX_WIDTH:
            x, y, shelf = 0, y + shelf + SHEET_GAP, 0
        places.append((x, y))
        x += w + SHEET_GAP
        shelf = max(shelf, h)
        width = max(width, x - SHEET_GAP)
    return places, max(width, 1), max(y + shelf, 1)


def strip(frames, limit=3):
    """A row of the first frames, for the contact sheet."""
    shown = frames[:limit]
    w = sum(f.surface.get_width() for f in shown) + 2 * (len(shown) - 1)
    h = max(f.surface.get_height() for f in shown)
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    ctx = cairo.Context(surface)
    x = 0
    for f in shown:
        ctx.set_source_surface(f.surface, x, h - f.surface.get_height())
        ctx.paint()
        x += f.surface.get_width() + 2
    return surface
