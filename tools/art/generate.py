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
from registry import Registry  # noqa: E402

GROUPS = [("characters", characters), ("room", room), ("food", food),
          ("interface", interface)]


def main(root):
    assets = os.path.join(root, "assets")
    here = os.path.join(root, "tools", "art")
    reg = Registry(assets)
    for _, module in GROUPS:
        module.make_all(reg)
    reg.write_manifest(os.path.join(here, "manifest.csv"))
    sheets = os.path.join(here, "contact")
    shutil.rmtree(sheets, ignore_errors=True)
    os.makedirs(sheets)
    for group, items in sorted(reg.previews.items()):
        contact.write(os.path.join(sheets, group + ".png"), items)
    print("%d entries" % len(reg.rows))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.getcwd())
