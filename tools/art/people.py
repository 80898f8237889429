"""One parametric person, drawn in any pose and facing. A `Look` says who it is (skin, hair,
clothes, proportions); a `Pose` says what they do (facing, step of the walk, arms, face,
seated). Units are on-screen pixels with the feet at (0, 0) and y up the screen negative; the
caller scales to the authoring size."""
import math
from dataclasses import dataclass, field, replace

from style import (BLUSH, COCOA, WHITE, CREAM, ellipse, fill_stroke, flat, ground_shadow, line,
                   outline_of, rounded_rect, set_color, shade, lighten, star_path)

HEAD_R = 14.0


@dataclass
class Look:
    skin: tuple
    hair: tuple
    hair_style: str            # bob, long, bun, ponytail, short, curly, balding, side, updo, chef
    top: tuple
    bottom: tuple
    outfit: str = "dress"      # dress, suit, uniform, gown, tux, chef
    accent: tuple = CREAM      # tie, sash, collar or flower
    width: float = 1.0
    height: float = 1.0
    apron: bool = False
    glasses: bool = False
    veil: bool = False
    beard: bool = False
    clipboard: bool = False
    shoes: tuple = COCOA


@dataclass
class Pose:
    facing: str = "S"          # S, N, W, E
    step: int = 0              # -1, 0, 1: which foot leads in the walk
    bob: float = 0.0
    arms: str = "down"         # down, carry1, carry2, clip, wave, up, eat, fists, hips, tap, spin, play
    mouth: str = "smile"       # smile, neutral, frown, open, o, kiss
    brows: str = "calm"        # calm, up, angry, sad
    eyes: str = "open"         # open, closed, wide, glance
    seated: bool = False
    lean: float = 0.0          # degrees
    tap: int = 0               # foot tap phase
    extra: dict = field(default_factory=dict)


def draw_person(ctx, look, pose, shadow=True):
    ctx.save()
    if shadow:
        ground_shadow(ctx, 0, -1, 15 * look.width, 4)
    hip = -40.0 * look.height
    if pose.seated:
        hip = -24.0 * look.height
    ctx.translate(0, pose.bob)
    if pose.lean:
        ctx.translate(0, hip)
        ctx.rotate(math.radians(pose.lean))
        ctx.translate(0, -hip)
    side = {"W": -1, "E": 1}.get(pose.facing, 0)
    _legs(ctx, look, pose, hip, side)
    shoulder = hip - 28.0 * look.height
    head_y = shoulder - 15.0
    if pose.facing != "N":
        _back_hair(ctx, look, head_y, side)
    _arms(ctx, look, pose, shoulder, side, behind=True)
    _torso(ctx, look, pose, hip, shoulder, side)
    _head(ctx, look, pose, head_y, side)
    _arms(ctx, look, pose, shoulder, side, behind=False)
    ctx.restore()


def _legs(ctx, look, pose, hip, side):
    skirt = look.outfit in ("dress", "gown", "uniform") and look.bottom is not None
    leg_color = look.skin if skirt and look.outfit != "gown" else look.bottom
    if pose.seated:
        # Only the lap shows: the table hides the rest.
        rounded_rect(ctx, -11 * look.width, hip - 4, 22 * look.width, 12, 5)
        fill_stroke(ctx, look.bottom)
        return
    spread = 5.0 * look.width
    for foot in (-1, 1):
        if side == 0:
            x = foot * spread
            lift = 0.0
            if pose.step == foot:
                lift = 3.0
            if pose.tap and foot == 1:
                lift = 2.5 * pose.tap
            fx, fy = x, -lift
        else:
            swing = 7.0 * pose.step * foot
            x = swing * 0.2
            fx, fy = swing, -abs(swing) * 0.15
        line(ctx, [(x, hip + 4), (fx, fy - 3)], outline_of(leg_color), 7.5)
        line(ctx, [(x, hip + 4), (fx, fy - 3)], leg_color, 5.0)
        ellipse(ctx, fx + side * 2.5, fy - 2, 4.5 if side else 3.8, 2.6)
        flat(ctx, look.shoes, width=1.0)


def _torso(ctx, look, pose, hip, shoulder, side):
    w = (13.0 if side else 12.0) * look.width
    outfit = look.outfit
    # Skirt or trousers top.
    if outfit in ("dress", "uniform", "gown") and not pose.seated:
        hem = -4.0 if outfit == "gown" else hip + 22
        flare = 17.0 if outfit == "gown" else 13.0
        ctx.move_to(-w * 0.8, hip - 8)
        ctx.line_to(w * 0.8, hip - 8)
        ctx.line_to(flare * look.width + side * 2, hem)
        ctx.curve_to(6, hem + 3, -6, hem + 3, -flare * look.width + side * 2, hem)
        ctx.close_path()
        fill_stroke(ctx, look.bottom)
    elif not pose.seated:
        rounded_rect(ctx, -w * 0.8, hip - 8, w * 1.6, 14, 4)
        fill_stroke(ctx, look.bottom)
    # Body.
    rounded_rect(ctx, -w, shoulder, 2 * w, hip - shoulder + 2, 7)
    fill_stroke(ctx, look.top)
    if pose.facing == "N":
        return
    cx = side * 4.0
    if outfit in ("suit", "tux"):
        ctx.move_to(cx - 5, shoulder + 1)
        ctx.line_to(cx, shoulder + 13)
        ctx.line_to(cx + 5, shoulder + 1)
        ctx.close_path()
        flat(ctx, WHITE, width=0.8)
        if outfit == "tux":
            ctx.move_to(cx - 4, shoulder + 3); ctx.line_to(cx, shoulder + 5); ctx.line_to(cx - 4, shoulder + 7)
            ctx.close_path()
            ctx.move_to(cx + 4, shoulder + 3); ctx.line_to(cx, shoulder + 5); ctx.line_to(cx + 4, shoulder + 7)
            ctx.close_path()
            flat(ctx, look.accent, width=0.6)
        else:
            ctx.move_to(cx - 1.5, shoulder + 3); ctx.line_to(cx + 1.5, shoulder + 3)
            ctx.line_to(cx + 2, shoulder + 13); ctx.line_to(cx, shoulder + 15); ctx.line_to(cx - 2, shoulder + 13)
            ctx.close_path()
            flat(ctx, look.accent, width=0.6)
    elif outfit == "chef":
        for i in range(3):
            ellipse(ctx, cx + (side or 1) * 3, shoulder + 7 + i * 6, 1.4, 1.4)
            flat(ctx, shade(look.top, 0.7), width=0)
    else:
        ctx.move_to(cx - 6, shoulder + 1)
        ctx.curve_to(cx - 3, shoulder + 7, cx + 3, shoulder + 7, cx + 6, shoulder + 1)
        flat(ctx, look.skin, width=1.0)
        if look.accent and outfit in ("dress", "gown"):
            rounded_rect(ctx, -w + 1, hip - 9, 2 * w - 2, 4, 2)
            flat(ctx, look.accent, width=0.8)
    if look.apron:
        rounded_rect(ctx, -w * 0.75 + side * 2, hip - 12, w * 1.5, 26, 4)
        fill_stroke(ctx, WHITE, width=1.2)


def _back_hair(ctx, look, cy, side):
    style = look.hair_style
    if style == "long":
        rounded_rect(ctx, -HEAD_R - 2 - side * 3, cy - 6, 2 * HEAD_R + 4, 30, 8)
        fill_stroke(ctx, look.hair)
    elif style == "ponytail" and side:
        ellipse(ctx, -side * 14, cy + 6, 5, 10)
        fill_stroke(ctx, look.hair)


def _head(ctx, look, pose, cy, side):
    r = HEAD_R
    if look.veil:
        ctx.move_to(-r - 2 - side * 3, cy - 6)
        ctx.curve_to(-r - 8, cy + 20, -r - 6, cy + 40, -r + 2, cy + 46)
        ctx.line_to(r - 2, cy + 46)
        ctx.curve_to(r + 6, cy + 40, r + 8, cy + 20, r + 2 - side * 3, cy - 6)
        ctx.close_path()
        flat(ctx, WHITE, outline_of(CREAM), 1.2, alpha=0.75)
    ellipse(ctx, side * 1.5, cy, r, r)
    fill_stroke(ctx, look.skin)
    if pose.facing == "N":
        _hair_cap(ctx, look, cy, side, back=True)
        return
    _face(ctx, look, pose, cy, side)
    _hair_cap(ctx, look, cy, side, back=False)
    if look.glasses:
        for ex in ((-5, 5) if side == 0 else (side * 6,)):
            ellipse(ctx, ex + side * 1.5, cy + 0.5, 3.6, 3.2)
            set_color(ctx, COCOA)
            ctx.set_line_width(1.1)
            ctx.stroke()


def _hair_cap(ctx, look, cy, side, back):
    style = look.hair_style
    r = HEAD_R
    hx = side * 1.5
    if style == "chef":
        rounded_rect(ctx, hx - 11, cy - r - 14, 22, 14, 4)
        fill_stroke(ctx, WHITE)
        for dx in (-7, 0, 7):
            ellipse(ctx, hx + dx, cy - r - 15, 6, 6)
            fill_stroke(ctx, WHITE, width=1.2)
        rounded_rect(ctx, hx - 12, cy - r - 4, 24, 6, 2)
        fill_stroke(ctx, WHITE)
        return
    ctx.save()
    if style == "balding":
        for s in (-1, 1):
            if side == -s:
                continue
            ellipse(ctx, hx + s * (r - 2), cy - 1, 4, 6)
            fill_stroke(ctx, look.hair, width=1.2)
        ctx.restore()
        return
    bottom = cy + (12 if back else 0)
    if back and style in ("long", "bob"):
        bottom = cy + 18
    if not back and side == 0:
        # Fringe: a soft dip over the forehead.
        ctx.restore()
        ctx.save()
        ctx.move_to(-r - 3, cy + (4 if style in ("bob", "long") else -2))
        ctx.curve_to(-r - 3, cy - r - 6, r + 3, cy - r - 6, r + 3, cy + (4 if style in ("bob", "long") else -2))
        ctx.curve_to(r - 4, cy - 6, 4, cy - 9, -2 if style != "side" else 6, cy - 6)
        ctx.curve_to(-6, cy - 9, -r + 4, cy - 6, -r - 3, cy + (4 if style in ("bob", "long") else -2))
        ctx.close_path()
        fill_stroke(ctx, look.hair)
    elif not back:
        ctx.restore()
        ctx.save()
        ctx.move_to(hx - side * (r + 3), cy + (8 if style in ("bob", "long") else 2))
        ctx.curve_to(hx - side * (r + 4), cy - r - 6, hx + side * (r + 2), cy - r - 5, hx + side * (r + 1), cy - 4)
        ctx.curve_to(hx + side * 4, cy - 8, hx - side * 2, cy - 6, hx - side * 4, cy + 4)
        ctx.close_path()
        fill_stroke(ctx, look.hair)
    else:
        ctx.rectangle(-40, cy - 40, 80, bottom - (cy - 40))
        ctx.clip()
        ellipse(ctx, hx, cy - 1, r + 2.5, r + 2.5)
        fill_stroke(ctx, look.hair)
    ctx.restore()
    if style in ("bun", "updo"):
        ellipse(ctx, hx - side * 5, cy - r - 3, 7, 6)
        fill_stroke(ctx, look.hair)
    if style == "ponytail" and not side:
        ellipse(ctx, hx + (10 if back else 13), cy - 4, 4, 8)
        fill_stroke(ctx, look.hair)
    if style == "curly":
        for a in range(0, 360, 45):
            if 20 < a < 160 and not back:
                continue
            ex = hx + (r + 1) * math.cos(math.radians(a))
            ey = cy - 2 + (r + 1) * math.sin(math.radians(a)) * 0.9
            if ey > cy + 6:
                continue
            ellipse(ctx, ex, ey, 4.5, 4.5)
            fill_stroke(ctx, look.hair, width=1.2)
    if look.veil or style == "updo":
        for dx in (-5, 0, 5):
            ellipse(ctx, hx + dx - side * 4, cy - r - 1, 1.8, 1.8)
            flat(ctx, WHITE, width=0.6)


def _face(ctx, look, pose, cy, side):
    eye_y = cy + 1
    eyes = [(-5.0, eye_y), (5.0, eye_y)] if side == 0 else [(side * 7.0, eye_y)]
    glance = 1.2 if pose.eyes == "glance" else 0.0
    for ex, ey in eyes:
        ex += side * 1.5
        if pose.eyes == "closed":
            ctx.arc(ex, ey + 1, 2.4, math.pi * 1.1, math.pi * 1.9)
            set_color(ctx, COCOA)
            ctx.set_line_width(1.3)
            ctx.stroke()
        else:
            big = 1.2 if pose.eyes == "wide" else 1.0
            ellipse(ctx, ex + glance, ey, 2.0 * big, 2.7 * big)
            flat(ctx, COCOA, width=0)
            ellipse(ctx, ex + glance - 0.6, ey - 1.0, 0.8, 0.8)
            flat(ctx, WHITE, width=0)
        if pose.brows != "calm":
            tilt = {"up": -1.5, "angry": 2.0, "sad": -2.0}[pose.brows]
            inner = 1 if ex > side * 1.5 else -1
            if side:
                inner = -side
            line(ctx, [(ex - 3, ey - 5 + (tilt if inner < 0 else -tilt) * 0.5),
                       (ex + 3, ey - 5 + (-tilt if inner < 0 else tilt) * 0.5)], COCOA, 1.2)
    for ex, _ in eyes:
        ellipse(ctx, ex + side * 3 + (0 if side else (-3 if ex < 0 else 3)), cy + 6, 2.8, 1.8)
        set_color(ctx, BLUSH, 0.55)
        ctx.fill()
    mx = side * 8.0 + side * 1.5
    my = cy + 8
    if side:
        ctx.move_to(side * (HEAD_R + 1), cy + 1)
        ctx.line_to(side * (HEAD_R + 3.5), cy + 4)
        ctx.line_to(side * (HEAD_R + 1), cy + 5)
        set_color(ctx, outline_of(look.skin))
        ctx.set_line_width(1.1)
        ctx.stroke()
    if look.beard:
        ctx.move_to(mx - 8, my - 4)
        ctx.curve_to(mx - 7, my + 8, mx + 7, my + 8, mx + 8, my - 4)
        ctx.curve_to(mx + 3, my - 1, mx - 3, my - 1, mx - 8, my - 4)
        fill_stroke(ctx, look.hair, width=1.0)
    mouth = pose.mouth
    set_color(ctx, shade(COCOA, 1.0))
    ctx.set_line_width(1.3)
    if mouth == "smile":
        ctx.arc(mx, my - 2.5, 3.2, math.pi * 0.2, math.pi * 0.8)
        ctx.stroke()
    elif mouth == "neutral":
        line(ctx, [(mx - 2.5, my), (mx + 2.5, my)], COCOA, 1.3)
    elif mouth == "frown":
        ctx.arc(mx, my + 2.5, 3.0, math.pi * 1.2, math.pi * 1.8)
        ctx.stroke()
    elif mouth == "open":
        ctx.move_to(mx - 3.5, my - 1)
        ctx.curve_to(mx - 3, my + 4, mx + 3, my + 4, mx + 3.5, my - 1)
        ctx.close_path()
        flat(ctx, (0.62, 0.25, 0.27), COCOA, 1.0)
    elif mouth == "o":
        ellipse(ctx, mx, my, 1.8, 2.2)
        flat(ctx, (0.62, 0.25, 0.27), COCOA, 1.0)
    elif mouth == "kiss":
        ellipse(ctx, mx, my, 1.6, 1.4)
        flat(ctx, (0.85, 0.4, 0.48), COCOA, 0.8)


# Hand positions (relative to the shoulder) for each arm pose: (near hand, far hand).
def _hand_targets(pose, side):
    arms = pose.arms
    if pose.facing == "N" and arms in ("carry1", "carry2", "clip", "eat", "play"):
        # Seen from behind, hands held in front stay hidden by the body.
        return [(9, 16), (-9, 16)]
    if arms == "carry1":
        return [(18, 18), (3, 27)]
    if arms == "carry2":
        return [(18, 20), (-18, 20)]
    if arms == "clip":
        return [(9, 20), (-4, 22)]
    if arms == "wave":
        return [(14, -14), (-3, 27)]
    if arms == "up":
        return [(12, -18), (-12, -18)]
    if arms == "eat":
        return [(6, 2), (-9, 20)]
    if arms == "fists":
        return [(12, 14), (-12, 14)]
    if arms == "hips":
        return [(13, 16), (-13, 16)]
    if arms == "tap":
        return [(6, 26), (-10, 20)]
    if arms == "spin":
        return [(20, -2), (-20, -2)]
    if arms == "play":
        return [(10, 14), (-8, 12)]
    swing = 5 * pose.step
    return [(8 + (swing if side else 0), 27), (-8 - (swing if side else 0), 27)]


def _arms(ctx, look, pose, shoulder, side, behind):
    targets = _hand_targets(pose, side)
    sleeve = look.top
    for i, (tx, ty) in enumerate(targets):
        if side == 0:
            sx = (11.0 if i == 0 else -11.0) * look.width
            if pose.facing == "N":
                sx, tx = -sx, -tx
            # Facing the viewer both arms are in front, facing away both behind the body.
            if behind != (pose.facing == "N" and pose.arms in ("carry1", "carry2", "clip", "eat", "play")):
                continue
            hx, hy = sx + (tx - (8 if i == 0 else -8)) * 0.6 + (tx if pose.arms != "down" else 0) * 0.4, shoulder + ty
            if pose.arms == "down":
                hx = sx + (2 if i == 0 else -2)
        else:
            near = i == 0
            if behind == near:
                continue
            sx = side * (2.0 if near else -3.0)
            depth = 1.0 if near else 0.8
            hx, hy = sx + side * abs(tx) * depth if pose.arms not in ("down", "tap") else sx + tx * 0.6 * side, shoulder + ty
        hy += 2
        line(ctx, [(sx, shoulder + 4), ((sx + hx) / 2, (shoulder + 4 + hy) / 2 + 2), (hx, hy)], outline_of(sleeve), 7.0)
        line(ctx, [(sx, shoulder + 4), ((sx + hx) / 2, (shoulder + 4 + hy) / 2 + 2), (hx, hy)], sleeve, 4.8)
        ellipse(ctx, hx, hy, 3.2, 3.2)
        fill_stroke(ctx, look.skin, width=1.0)
        if look.clipboard and pose.arms == "clip" and (i == 0) and not behind and pose.facing != "N":
            ctx.save()
            ctx.translate(hx - 3, hy - 12)
            ctx.rotate(-0.15)
            rounded_rect(ctx, -6, 0, 13, 17, 2)
            fill_stroke(ctx, (0.72, 0.52, 0.36))
            rounded_rect(ctx, -4, 3, 9, 12, 1)
            flat(ctx, WHITE, width=0)
            for k in range(3):
                line(ctx, [(-2.5, 6 + k * 3), (3.5, 6 + k * 3)], (0.55, 0.45, 0.4), 0.8)
            rounded_rect(ctx, -2, -1.5, 5, 3, 1)
            flat(ctx, (0.75, 0.75, 0.78), width=0.6)
            ctx.restore()
