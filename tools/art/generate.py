"""Remakes all the game's art into the assets folder, with tools/art/manifest.csv and one
contact sheet per group in tools/art/contact/. Usage: generate.py <repository root>"""
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import characters  # noqa: E402
import contact  # noqa: E402
import food  # noqa: E402
import interface  # noqa: E402
import room  # noqa: E402
import scene  # noqa: E402
from registry import Registry  # noqa: E402

GROUPS = [("characters", characters), ("room", room), ("food", food),
          ("interface", interface)]


def remove_previous(assets, manifest):
    """Deletes what the last run made (the files of its manifest and their frame sheets), so
    that a renamed drawing leaves nothing behind."""
    if not os.path.exists(manifest):
        return
    with open(manifest, encoding="utf-8") as f:
        for row in f:
            if row.startswith("#") or not row.strip():
                continue
            file = row.split(",")[1]
            paths = [file]
            if file.endswith(".xml"):
                paths.append(file[:-len(".xml")] + "_sheet.png")
            for path in paths:
                full = os.path.join(assets, path)
                if os.path.exists(full):
                    os.remove(full)
    for folder, _, files in sorted(os.walk(assets), reverse=True):
        if not files and not os.listdir(folder):
            os.rmdir(folder)


def main(root):
    assets = os.path.join(root, "assets")
    here = os.path.join(root, "tools", "art")
    remove_previous(assets, os.path.join(here, "manifest.csv"))
    reg = Registry(assets)
    for _, module in GROUPS:
        module.make_all(reg)
    reg.write_manifest(os.path.join(here, "manifest.csv"))
    sheets = os.path.join(here, "contact")
    shutil.rmtree(sheets, ignore_errors=True)
    os.makedirs(sheets)
    for group, items in sorted(reg.previews.items()):
        contact.write(os.path.join(sheets, group + ".png"), items)
    scene.write(os.path.join(sheets, "scene.png"), assets)
    print("%d entries" % len(reg.rows))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.getcwd())
