"""Every character of the game from one description each: the heroine, the three server looks,
the chef, the DJ, the band, the ten guest types, the couples, their portraits, highlights and
mood bubbles. Walkers and guests register at the feet (bottom centre)."""
import math

import cairo

from people import Look, Pose, draw_person
from registry import Frame
from style import (AUTHOR_SCALE, BAD, BLUE_UNIFORM, BLUSH, COCOA, CREAM, GOLD, GOOD, LINEN, NAVY,
                   PLUM, RED_UNIFORM, ROSE, SAGE, SAND, SKIN_TONES, TAUPE, TEAL, WARNING, WHITE,
                   canvas, ellipse, fill_stroke, flat, heart_path, line, outline_of, rounded_rect,
                   set_color, shade, lighten)

GROUP = "characters"
GEN = "tools/art/characters.py"

# Frame of a walker or guest, in authored pixels, and its registration point (the feet).
FRAME_W, FRAME_H = 48, 70
REG_X, REG_Y = 24, 66

HAIR_DARK = (0.25, 0.17, 0.12)
HAIR_BROWN = (0.48, 0.30, 0.18)
HAIR_BLONDE = (0.93, 0.78, 0.45)
HAIR_RED = (0.72, 0.33, 0.18)
HAIR_GREY = (0.78, 0.76, 0.74)

HEROINE = Look(SKIN_TONES[0], HAIR_BROWN, "bun", PLUM, PLUM, accent=GOLD, clipboard=True,
               shoes=shade(PLUM, 0.6))
SERVERS = {
    "red": Look(SKIN_TONES[4], HAIR_RED, "ponytail", RED_UNIFORM, RED_UNIFORM, outfit="uniform",
                accent=WHITE, apron=True),
    "blue": Look(SKIN_TONES[1], HAIR_DARK, "bob", BLUE_UNIFORM, BLUE_UNIFORM, outfit="uniform",
                 accent=WHITE, apron=True),
    "zia": Look(SKIN_TONES[3], HAIR_DARK, "curly", TEAL, TEAL, outfit="uniform", accent=GOLD,
                apron=True),
}
CHEF = Look(SKIN_TONES[2], HAIR_DARK, "chef", WHITE, (0.35, 0.33, 0.36), outfit="chef",
            width=1.15, beard=True)
DJ = Look(SKIN_TONES[3], HAIR_DARK, "short", (0.22, 0.22, 0.28), (0.2, 0.2, 0.25), outfit="suit",
          accent=TEAL, glasses=True)

# The ten guest types in the order the level numbers them.
GUESTS = [
    ("female01", Look(SKIN_TONES[0], HAIR_BLONDE, "long", ROSE, ROSE, accent=BLUSH)),
    ("female02", Look(SKIN_TONES[2], HAIR_DARK, "bob", TEAL, TEAL, accent=CREAM)),
    ("female03", Look(SKIN_TONES[3], HAIR_DARK, "curly", GOLD, GOLD, accent=ROSE)),
    ("female04", Look(SKIN_TONES[1], HAIR_RED, "ponytail", SAGE, SAGE, accent=CREAM)),
    ("male01", Look(SKIN_TONES[1], HAIR_BROWN, "side", NAVY, NAVY, outfit="suit", accent=ROSE)),
    ("male02", Look(SKIN_TONES[3], HAIR_DARK, "short", (0.55, 0.56, 0.6), (0.42, 0.43, 0.47),
                    outfit="suit", accent=GOLD)),
    ("male03", Look(SKIN_TONES[0], HAIR_BLONDE, "side", SAND, TAUPE, outfit="suit",
                    accent=TEAL)),
    ("male04", Look(SKIN_TONES[2], HAIR_DARK, "curly", SAGE, shade(SAGE, 0.7), outfit="suit",
                    accent=PLUM, glasses=True)),
    ("uncle", Look(SKIN_TONES[4], HAIR_GREY, "balding", (0.6, 0.42, 0.3), (0.45, 0.33, 0.26),
                   outfit="suit", accent=BAD, width=1.2, beard=True)),
    ("aunt", Look(SKIN_TONES[1], HAIR_GREY, "bun", PLUM, shade(PLUM, 0.85), accent=GOLD,
                  width=1.1, height=0.95, glasses=True)),
]
# Animation rows in state order; state 3 is the dance on the dance floor.
GUEST_ROWS = ["idle", "impatient", "eating", "dance", "happy", "seated", "upset", "problem"]

BRIDES = {
    "b1": Look(SKIN_TONES[0], HAIR_BROWN, "updo", WHITE, WHITE, outfit="gown", accent=BLUSH,
               veil=True, shoes=CREAM),
    "b2": Look(SKIN_TONES[3], HAIR_DARK, "updo", CREAM, CREAM, outfit="gown", accent=GOLD,
               veil=True, shoes=CREAM),
    "b3": Look(SKIN_TONES[1], HAIR_RED, "updo", WHITE, WHITE, outfit="gown", accent=SAGE,
               veil=True, shoes=CREAM),
}
GROOMS = {
    "g1": Look(SKIN_TONES[1], HAIR_BROWN, "side", (0.2, 0.2, 0.26), (0.2, 0.2, 0.26),
               outfit="tux", accent=ROSE),
    "g2": Look(SKIN_TONES[2], HAIR_DARK, "short", NAVY, NAVY, outfit="tux", accent=GOLD,
               beard=True),
    "g3": Look(SKIN_TONES[0], HAIR_BLONDE, "side", (0.85, 0.82, 0.78), (0.3, 0.3, 0.34),
               outfit="tux", accent=NAVY),
}


def person_frame(look, pose, w=FRAME_W, h=FRAME_H, rx=REG_X, ry=REG_Y, scale=AUTHOR_SCALE,
                 shadow=True, extra=None):
    surface, ctx = canvas(w, h)
    ctx.translate(rx, ry)
    ctx.scale(scale, scale)
    if extra:
        extra(ctx, "behind")
    draw_person(ctx, look, pose, shadow and not pose.seated)
    if extra:
        extra(ctx, "front")
    return Frame(surface, rx, ry)


def walk(look, facing, arms):
    return [person_frame(look, Pose(facing=facing, step=s, bob=b, arms=arms))
            for s, b in ((-1, 0.0), (0, -1.5), (1, 0.0))]


def breathe(look, arms, n=4, **kw):
    bobs = [0.0, -0.6, -1.0, -0.6][:n]
    return [person_frame(look, Pose(arms=arms, bob=b, eyes="closed" if i == n - 1 else "open", **kw))
            for i, b in enumerate(bobs)]


def loop_script(delay, order):
    return "function DoAnim()\n    delay(%d);\n    repeat\n        frames{%s};\n    until false;\nend\n" % (
        delay, ",".join(str(i) for i in order))


def once_script(delay, order):
    return "function DoAnim()\n    delay(%d);\n    frames{%s};\nend\n" % (
        delay, ",".join(str(i) for i in order))


def make_heroine(reg):
    base = "assets/images/character/Velka/velka_"
    used = "level: the heroine"
    reg.animation(base + "idle.xml", breathe(HEROINE, "clip"), GROUP, used, GEN)
    for name, facing in (("west", "W"), ("south", "S"), ("north", "N"), ("east", "E")):
        reg.animation(base + name + ".xml", walk(HEROINE, facing, "clip"), GROUP, used, GEN)
    amb = [Pose(arms="clip"), Pose(arms="clip", eyes="glance"), Pose(arms="wave", mouth="open"),
           Pose(arms="wave", mouth="open", bob=-0.5), Pose(arms="clip", eyes="glance")]
    reg.animation(base + "amb1.xml", [person_frame(HEROINE, p) for p in amb], GROUP, used, GEN)
    fix = [Pose(arms="fists", mouth="o", brows="up"), Pose(arms="up", mouth="o", bob=-1),
           Pose(arms="fists", mouth="neutral", lean=-4), Pose(arms="up", mouth="o", bob=-1, lean=4),
           Pose(arms="fists", mouth="neutral"), Pose(arms="hips", mouth="smile")]
    reg.animation(base + "fix.xml", [person_frame(HEROINE, p) for p in fix], GROUP, used, GEN)
    happy = [Pose(arms="up", mouth="open", eyes="closed", bob=b) for b in (0, -4, -7, -4)]
    reg.animation(base + "happy.xml", [person_frame(HEROINE, p) for p in happy], GROUP, used, GEN)


def make_servers(reg):
    folders = {"red": "assets/images/character/Red/waitress_red_",
               "blue": "assets/images/character/Blue/waitress_blue_",
               "zia": "assets/images/character/zia/zia_"}
    ambients = {"red": ["amb1", "1amb1", "2amb1"], "blue": ["ambient", "ambient1", "ambient2"]}
    arms_by_load = ["down", "carry1", "carry2"]
    for look_name, prefix in folders.items():
        look = SERVERS[look_name]
        used = "level: server look " + look_name
        for load, suffix in enumerate(["", "1", "2"]):
            arms = arms_by_load[load]
            reg.animation(prefix + "idle" + suffix + ".xml", breathe(look, arms, 3), GROUP, used, GEN)
            for name, facing in (("west", "W"), ("south", "S"), ("north", "N"), ("east", "E")):
                reg.animation(prefix + name + str(load) + ".xml", walk(look, facing, arms), GROUP,
                              used, GEN)
        for load, name in enumerate(ambients.get(look_name, [])):
            arms = arms_by_load[load]
            poses = [Pose(arms=arms), Pose(arms=arms, eyes="glance"),
                     Pose(arms=arms, eyes="glance", mouth="open", bob=-0.5),
                     Pose(arms=arms, tap=1), Pose(arms=arms)]
            if load == 0:
                poses[2] = Pose(arms="wave", mouth="open")
            reg.animation(prefix + name + ".xml", [person_frame(look, p) for p in poses], GROUP,
                          used, GEN)


def _pan(ctx, layer, phase):
    if layer != "front":
        return
    ctx.save()
    ctx.translate(0, -44)
    ellipse(ctx, 0, 0, 16, 5)
    fill_stroke(ctx, (0.4, 0.4, 0.44))
    line(ctx, [(14, -1), (26, -4)], COCOA, 3)
    for i in range(3):
        ellipse(ctx, -6 + i * 6 + phase * 2, -4 - (i + phase) % 3 * 2, 3, 2)
        flat(ctx, (0.95, 0.7, 0.35), width=0.8)
    ctx.restore()


def make_kitchen_and_music(reg):
    used = "level: the chef behind the serving table"
    frames = [person_frame(CHEF, Pose(arms="play", bob=b), w=60, rx=30,
                           extra=lambda c, l, p=i: _pan(c, l, p)) for i, b in enumerate((0, -0.6, 0, -0.6))]
    reg.animation("assets/images/character/chef_normal.xml", frames, GROUP, used, GEN,
                  loop_script(160, [1, 2, 3, 4]))
    spin = [person_frame(CHEF, Pose(facing=f, arms="spin", mouth="open", bob=-2), w=60, rx=30)
            for f in "SEN W".replace(" ", "")]
    reg.animation("assets/images/character/chef_spin.xml", spin, GROUP,
                  "level: the chef when the kitchen is busy", GEN, loop_script(90, [1, 2, 3, 4]))
    dj_frames = [person_frame(DJ, Pose(arms="play", bob=b, mouth=m, eyes=e), w=60, rx=30,
                              extra=_headphones)
                 for b, m, e in ((0, "smile", "open"), (-1.5, "open", "closed"),
                                 (0, "smile", "open"), (-1.5, "open", "closed"))]
    reg.animation("assets/images/character/dj.xml", dj_frames, GROUP, "level: the DJ at the music table",
                  GEN, loop_script(220, [1, 2, 3, 4]))
    reg.animation("assets/images/band.xml", [_band_frame(i) for i in range(4)], GROUP,
                  "level: the band at the music table", GEN, loop_script(220, [1, 2, 3, 4]))


def _headphones(ctx, layer):
    if layer != "front":
        return
    ctx.arc(1.5, -98, 15, math.pi, 2 * math.pi)
    set_color(ctx, COCOA)
    ctx.set_line_width(2.5)
    ctx.stroke()
    for x in (-13.5, 16.5):
        rounded_rect(ctx, x - 3, -100, 6, 9, 2)
        flat(ctx, TEAL, width=1)


def _band_frame(i):
    surface, ctx = canvas(110, 72)
    ctx.translate(0, 68)
    ctx.scale(AUTHOR_SCALE, AUTHOR_SCALE)
    players = [(Look(SKIN_TONES[1], HAIR_DARK, "short", (0.2, 0.2, 0.26), (0.2, 0.2, 0.26),
                     outfit="suit", accent=GOLD), "sax"),
               (Look(SKIN_TONES[3], HAIR_DARK, "bun", PLUM, PLUM, accent=GOLD), "sing"),
               (Look(SKIN_TONES[0], HAIR_BROWN, "side", NAVY, NAVY, outfit="suit", accent=ROSE), "bass")]
    for k, (look, kind) in enumerate(players):
        ctx.save()
        sway = math.sin((i + k) * math.pi / 2) * 3
        ctx.translate(34 + k * 56, 0)
        if kind == "bass":
            ctx.save()
            ctx.translate(14, -30)
            ctx.rotate(0.15)
            ellipse(ctx, 0, 0, 11, 16)
            fill_stroke(ctx, (0.62, 0.38, 0.2))
            line(ctx, [(0, -12), (0, -62)], COCOA, 3)
            ctx.restore()
        draw_person(ctx, look, Pose(arms="play", lean=sway, mouth="open" if (i + k) % 2 else "smile",
                                    eyes="closed" if kind == "sing" and i % 2 else "open"))
        if kind == "sax":
            ctx.move_to(6, -74)
            ctx.curve_to(16, -60, 16, -44, 6, -38)
            ctx.curve_to(0, -36, -2, -42, 2, -46)
            set_color(ctx, GOLD)
            ctx.set_line_width(5)
            ctx.stroke()
        if kind == "sing":
            line(ctx, [(10, -58), (10, 0)], COCOA, 2)
            ellipse(ctx, 10, -62, 3, 4)
            flat(ctx, (0.5, 0.5, 0.55))
        ctx.restore()
    return Frame(surface, 55, 68)


def guest_poses(row):
    return {
        "idle": [Pose(arms="down", bob=b, eyes=e) for b, e in ((0, "open"), (-0.6, "open"),
                                                                  (-0.6, "glance"), (0, "closed"))],
        "impatient": [Pose(arms="hips", mouth="neutral", brows="angry", tap=t) for t in (0, 1, 0, 1)],
        "eating": [Pose(seated=True, arms=a, mouth=m) for a, m in
                   (("play", "smile"), ("eat", "o"), ("eat", "neutral"), ("play", "smile"))],
        "dance": [Pose(arms="up", step=-1, lean=-6, mouth="open"),
                  Pose(arms="wave", bob=-2.5, eyes="closed", mouth="smile"),
                  Pose(arms="up", step=1, lean=6, mouth="open"),
                  Pose(arms="spin", bob=-2.5, eyes="closed", mouth="open")],
        "happy": [Pose(seated=True, arms="up", mouth="open", eyes="closed", bob=b) for b in (0, -2, -3, -2)],
        "seated": [Pose(seated=True, arms="play", bob=b, eyes=e) for b, e in
                   ((0, "open"), (-0.5, "open"), (-0.5, "glance"), (0, "closed"))],
        "upset": [Pose(seated=True, arms="fists", mouth="frown", brows="angry", lean=l) for l in (-3, 3, -3, 3)],
        "problem": [Pose(seated=True, arms="eat", mouth="frown", brows="sad", eyes=e, bob=b)
                    for e, b in (("closed", 0), ("closed", -1), ("open", 0), ("closed", -1))],
    }[row]


def guest_anim_name(type_name, row):
    return "assets/images/character/guests/%s_%s.xml" % (type_name, row)


def make_guests(reg):
    for index, (type_name, look) in enumerate(GUESTS):
        used = "level scripts: guest type %d" % index
        rows = GUEST_ROWS if index >= 8 else GUEST_ROWS[:7]
        for row in rows:
            frames = [person_frame(look, p) for p in guest_poses(row)]
            if row == "problem":
                frames = [_with_prop(f, type_name, i) for i, f in enumerate(frames)]
            reg.animation(guest_anim_name(type_name, row), frames, GROUP, used, GEN)
        idle = person_frame(look, Pose(), shadow=False)
        seated = person_frame(look, Pose(seated=True, arms="play"), shadow=False)
        base = "assets/images/character/guests/highlight_" + type_name
        reg.image(base, glow(idle.surface), GROUP, "level scripts: guest highlight", GEN)
        reg.image(base + "_sit", glow(seated.surface), GROUP, "guests: seated highlight", GEN)


def _with_prop(frame, type_name, i):
    ctx = cairo.Context(frame.surface)
    ctx.translate(frame.regx, frame.regy)
    ctx.scale(AUTHOR_SCALE, AUTHOR_SCALE)
    if type_name == "aunt":
        for k in range(2):
            ellipse(ctx, -7 + k * 14, -78 + (i % 2) * 3 + k * 2, 1.8, 2.6)
            flat(ctx, (0.55, 0.75, 0.95), width=0.6)
    else:
        ctx.translate(10, -62)
        rounded_rect(ctx, -4, -5, 8, 9, 2)
        fill_stroke(ctx, WHITE, width=1)
        for k in range(2):
            line(ctx, [(-1 + k * 3, -8 - (i % 2)), (k * 3, -14 - (i % 2))], (0.8, 0.8, 0.8), 1)
    return frame


def glow(surface, color=GOLD, radius=2.5):
    """A soft outline of a figure: the figure's alpha spread out and tinted, then the figure
    itself cut out of it."""
    w, h = surface.get_width() + 8, surface.get_height() + 8
    out, ctx = canvas(w, h)
    for k in range(16):
        a = k * math.pi / 8
        set_color(ctx, color, 0.5)
        ctx.mask_surface(surface, 4 + radius * math.cos(a), 4 + radius * math.sin(a))
    ctx.set_operator(cairo.OPERATOR_DEST_OUT)
    set_color(ctx, color, 1.0)
    ctx.mask_surface(surface, 4, 4)
    return out


def head_icon(look):
    surface, ctx = canvas(32, 32)
    ellipse(ctx, 16, 16, 15, 15)
    fill_stroke(ctx, CREAM, COCOA, 1.5)
    ctx.save()
    ellipse(ctx, 16, 16, 14, 14)
    ctx.clip()
    ctx.translate(16, 53)
    ctx.scale(0.55, 0.55)
    draw_person(ctx, look, Pose(), shadow=False)
    ctx.restore()
    return surface


def make_head_icons(reg):
    for index, (type_name, look) in enumerate(GUESTS):
        reg.image("assets/images/character/guests/head_" + type_name, head_icon(look), GROUP,
                  "level scripts: head icon of guest type %d" % index, GEN)


def make_couples(reg):
    folder = "images/character/Brides and Grooms/"
    moods = [("happy", Pose(seated=True, arms="up", mouth="open", eyes="closed")),
             ("normal", Pose(seated=True, arms="play", mouth="smile")),
             ("mad", Pose(seated=True, arms="hips", mouth="neutral", brows="angry")),
             ("angry", Pose(seated=True, arms="fists", mouth="frown", brows="angry"))]
    for key, look in list(BRIDES.items())[:2] + list(GROOMS.items())[:2]:
        for mood, pose in moods:
            frames = []
            for i in range(4):
                p = Pose(**{**pose.__dict__, "bob": -1.5 if i % 2 else 0.0,
                            "lean": (3 if mood == "angry" else 0) * (1 if i % 2 else -1)})
                if mood == "normal" and i == 3:
                    p.eyes = "closed"
                frames.append(person_frame(look, p, w=56, rx=28))
            # The head table plays these with their own scripts: a calm loop per mood.
            delay = {"happy": 180, "normal": 260, "mad": 220, "angry": 110}[mood]
            reg.animation(folder + "gen_%s_%s.xml" % (key, mood), frames, GROUP,
                          "head table: couple mood", GEN, loop_script(delay, [1, 2, 3, 4]))
    dance = []
    for i in range(8):
        surface, ctx = canvas(72, 74)
        ctx.translate(36, 70)
        ctx.scale(AUTHOR_SCALE, AUTHOR_SCALE)
        ctx.rotate(math.sin(i * math.pi / 4) * 0.08)
        for look, dx, facing in ((GROOMS["g1"], 9, "W"), (BRIDES["b1"], -9, "E")):
            ctx.save()
            ctx.translate(dx + math.sin(i * math.pi / 4) * 3, 0)
            draw_person(ctx, look, Pose(facing=facing, arms="carry1", step=(i % 3) - 1,
                                        mouth="open" if i % 4 < 2 else "smile"))
            ctx.restore()
        for k in range(2):
            heart_path(ctx, -20 + k * 40, -120 - (i % 4) * 4 - k * 6, 9)
            flat(ctx, ROSE, width=1)
        dance.append(Frame(surface, 36, 70))
    reg.animation(folder + "bg_genericdance.xml", dance, GROUP, "head table: the couple's dance", GEN,
                  loop_script(140, range(1, 9)))
    pictures = [("bfg%d_normal" % (i + 1), GUESTS[i][1]) for i in range(4)]
    pictures += [("gmg%d_normal" % (i + 1), GUESTS[4 + i][1]) for i in range(4)]
    pictures += [("gen_%s_normal" % k, v) for k, v in BRIDES.items()]
    pictures += [("gen_%s_normal" % k, v) for k, v in GROOMS.items()]
    # Head and shoulders: the introduction shows them above its plan button.
    for name, look in pictures:
        reg.image(folder + name, portrait(look, h=95), GROUP, "level dialog: couple picture", GEN)


# Where a portrait's figure stands: the same for every portrait, so that a shorter one shows
# less of the body, never less of the head.
PORTRAIT_FEET = 136 * 1.48


def portrait(look, w=116, h=136, mood="smile", brows="calm", eyes="open", arms="play"):
    surface, ctx = canvas(w, h)
    rounded_rect(ctx, 3, 3, w - 6, h - 6, 14)
    ctx.save()
    ctx.clip_preserve()
    grad = cairo.RadialGradient(w / 2, h * 0.35, 5, w / 2, h * 0.4, h * 0.7)
    grad.add_color_stop_rgb(0, *CREAM)
    grad.add_color_stop_rgb(1, *lighten(SAND, 0.3))
    ctx.set_source(grad)
    ctx.fill_preserve()
    ctx.new_path()
    ctx.translate(w / 2, PORTRAIT_FEET)
    ctx.scale(1.8, 1.8)
    draw_person(ctx, look, Pose(arms=arms, mouth=mood, brows=brows, eyes=eyes), shadow=False)
    ctx.restore()
    rounded_rect(ctx, 3, 3, w - 6, h - 6, 14)
    set_color(ctx, GOLD)
    ctx.set_line_width(4)
    ctx.stroke()
    rounded_rect(ctx, 1, 1, w - 2, h - 2, 15)
    set_color(ctx, COCOA)
    ctx.set_line_width(1.5)
    ctx.stroke()
    return surface


def make_mood_pictures(reg):
    used = "end-of-level dialog: the heroine's mood"
    # Narrow enough to stand beside the page's heading (it is drawn five thirds larger at
    # x = 100, the heading begins at x = 265).
    w = 96
    reg.image("assets/images/Velka_poor",
              portrait(HEROINE, w=w, mood="frown", brows="sad", arms="down"), GROUP, used, GEN)
    reg.image("assets/images/Velka_normal", portrait(HEROINE, w=w, arms="clip"), GROUP, used, GEN)
    reg.image("assets/images/Velka_expert",
              portrait(HEROINE, w=w, mood="open", eyes="closed", arms="up"), GROUP, used, GEN)


def bubble(face_color, mood, reseat):
    surface, ctx = canvas(40, 40)
    ctx.move_to(12, 30)
    ctx.line_to(9, 38)
    ctx.line_to(19, 31)
    ellipse(ctx, 20, 18, 17, 14)
    fill_stroke(ctx, WHITE, outline_of(SAND), 1.6)
    ellipse(ctx, 20, 18, 10, 10)
    fill_stroke(ctx, face_color, width=1.2)
    for x in (16.5, 23.5):
        ellipse(ctx, x, 16, 1.3, 1.8)
        flat(ctx, COCOA, width=0)
    set_color(ctx, COCOA)
    ctx.set_line_width(1.3)
    if mood == 2:
        ctx.arc(20, 19, 4, math.pi * 0.2, math.pi * 0.8)
    elif mood == 1:
        ctx.move_to(16.5, 22.5)
        ctx.line_to(23.5, 22.5)
    else:
        ctx.arc(20, 25, 4, math.pi * 1.2, math.pi * 1.8)
        line(ctx, [(14, 11), (18, 13)], COCOA, 1.2)
        line(ctx, [(26, 11), (22, 13)], COCOA, 1.2)
    ctx.stroke()
    if reseat:
        rounded_rect(ctx, 27, 23, 10, 13, 2)
        fill_stroke(ctx, WOOD_LIGHT, width=1.2)
        line(ctx, [(29, 36), (29, 39)], COCOA, 1.4)
        line(ctx, [(35, 36), (35, 39)], COCOA, 1.4)
    return surface


WOOD_LIGHT = (0.78, 0.56, 0.36)


def make_bubbles(reg):
    used = "guests: mood bubble"
    for name, color, mood in (("alert0003", BAD, 0), ("warning", WARNING, 1), ("normal", GOOD, 2)):
        reg.image("assets/images/guestbubble_" + name, bubble(color, mood, False), GROUP, used, GEN)
    for name, color, mood in (("alert", BAD, 0), ("warning", WARNING, 1), ("normal", GOOD, 2)):
        reg.image("assets/images/guestbubble_%s_reseat.png" % name, bubble(color, mood, True), GROUP,
                  used + " while waiting to change seats", GEN)


def make_all(reg):
    make_heroine(reg)
    make_servers(reg)
    make_kitchen_and_music(reg)
    make_guests(reg)
    make_head_icons(reg)
    make_couples(reg)
    make_mood_pictures(reg)
    make_bubbles(reg)
