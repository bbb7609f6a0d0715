#!/usr/bin/env python3
"""Writes examples/human.bvh: a 20-joint human skeleton walking for 150 frames.

The motion is a walk cycle made of sines: the hips travel forward and bob, the legs swing in
opposite phase with the knees bending on the forward swing, the arms swing against the legs and
the chest counter-rotates. Legs use Zrotation Xrotation Yrotation, the upper body Zrotation
Yrotation Xrotation, the root the usual six channels. Tabs indent, every line ends in CR LF.

Usage: make_human_bvh.py [output path]   (default: human.bvh beside this script)
"""

import math
import os
import sys

FRAMES = 150
FRAME_TIME = 1.0 / 30.0
CYCLE_FRAMES = 32  # one full stride (left and right step)

ROOT_CHANNELS = "Xposition Yposition Zposition Zrotation Xrotation Yrotation"
ZXY = "Zrotation Xrotation Yrotation"
ZYX = "Zrotation Yrotation Xrotation"

# (name, offset, channel order, children); End Site blocks are written for limbs with no children,
# with the given end offset.
LEFT_LEG = ("LeftUpLeg", (3.9, -2.5, 0.0), ZXY, [
    ("LeftLowLeg", (0.0, -18.0, 0.0), ZXY, [
        ("LeftFoot", (0.0, -17.5, 0.0), ZXY, [
            ("LeftToe", (0.0, -3.0, 5.5), ZXY, (0.0, 0.0, 2.5)),
        ]),
    ]),
])
RIGHT_LEG = ("RightUpLeg", (-3.9, -2.5, 0.0), ZXY, [
    ("RightLowLeg", (0.0, -18.0, 0.0), ZXY, [
        ("RightFoot", (0.0, -17.5, 0.0), ZXY, [
            ("RightToe", (0.0, -3.0, 5.5), ZXY, (0.0, 0.0, 2.5)),
        ]),
    ]),
])
LEFT_ARM = ("LeftCollar", (1.2, 10.5, 0.8), ZYX, [
    ("LeftUpArm", (5.4, 0.0, 0.0), ZYX, [
        ("LeftLowArm", (11.2, 0.0, 0.0), ZYX, [
            ("LeftHand", (9.8, 0.0, 0.0), ZYX, (7.0, 0.0, 0.0)),
        ]),
    ]),
])
RIGHT_ARM = ("RightCollar", (-1.2, 10.5, 0.8), ZYX, [
    ("RightUpArm", (-5.4, 0.0, 0.0), ZYX, [
        ("RightLowArm", (-11.2, 0.0, 0.0), ZYX, [
            ("RightHand", (-9.8, 0.0, 0.0), ZYX, (-7.0, 0.0, 0.0)),
        ]),
    ]),
])
SKELETON = ("Hips", (0.0, 0.0, 0.0), ROOT_CHANNELS, [
    LEFT_LEG,
    RIGHT_LEG,
    ("Chest", (0.0, 5.2, 0.0), ZYX, [
        ("Neck", (0.0, 13.5, 0.0), ZYX, [
            ("Head", (0.0, 4.0, 0.5), ZYX, (0.0, 7.5, 0.0)),
        ]),
        LEFT_ARM,
        RIGHT_ARM,
    ]),
])


def number(value):
    text = "%.4f" % value
    return "0.0000" if text == "-0.0000" else text


def hierarchy_lines():
    lines = ["HIERARCHY"]

    def limb(node, depth, is_root):
        name, offset, channels, children = node
        tabs = "\t" * depth
        lines.append("%s%s %s" % (tabs, "ROOT" if is_root else "JOINT", name))
        lines.append(tabs + "{")
        lines.append("%s\tOFFSET %s" % (tabs, " ".join(number(v) for v in offset)))
        count = len(channels.split())
        lines.append("%s\tCHANNELS %d %s" % (tabs, count, channels))
        if isinstance(children, list):
            for child in children:
                limb(child, depth + 1, False)
        else:
            lines.append(tabs + "\tEnd Site")
            lines.append(tabs + "\t{")
            lines.append("%s\t\tOFFSET %s" % (tabs, " ".join(number(v) for v in children)))
            lines.append(tabs + "\t}")
        lines.append(tabs + "}")

    limb(SKELETON, 0, True)
    return lines


def joint_order():
    """The joints in the order their channels appear (pre-order), with their channel names."""
    order = []

    def walk(node):
        name, _, channels, children = node
        order.append((name, channels.split()))
        if isinstance(children, list):
            for child in children:
                walk(child)

    walk(SKELETON)
    return order


def pose(frame):
    """Degrees (and the root's position) of every joint at a frame, keyed by joint and axis."""
    phase = 2.0 * math.pi * frame / CYCLE_FRAMES
    s, c = math.sin(phase), math.cos(phase)
    s2 = math.sin(2.0 * phase)
    angles = {}

    def put(name, x=0.0, y=0.0, z=0.0):
        angles[name] = {"Xrotation": x, "Yrotation": y, "Zrotation": z}

    stride = 1.4  # forward travel per frame
    angles["Hips"] = {
        "Xposition": 0.8 * s,
        "Yposition": 35.5 + 0.9 * math.cos(2.0 * phase),
        "Zposition": stride * frame,
        "Xrotation": 2.0 * s2,
        "Yrotation": 6.0 * s,
        "Zrotation": 2.5 * c,
    }
    # Legs: hip swing, knee bent most while the leg swings forward, ankle following.
    for side, sign in (("Left", 1.0), ("Right", -1.0)):
        swing = sign * s
        knee = max(0.0, sign * c) ** 1.5
        put(side + "UpLeg", x=-28.0 * swing + 8.0, z=sign * 2.0 * c)
        put(side + "LowLeg", x=55.0 * knee + 4.0)
        put(side + "Foot", x=12.0 * swing - 6.0 * knee)
        put(side + "Toe", x=-10.0 * max(0.0, -swing))
        # Arms swing against the leg of their side.
        put(side + "Collar", z=sign * 3.0 * s2)
        put(side + "UpArm", x=24.0 * swing, z=sign * -62.0)
        put(side + "LowArm", x=-12.0 - 10.0 * max(0.0, swing), y=sign * 8.0)
        put(side + "Hand", x=-4.0 * swing, z=sign * 5.0)
    put("Chest", x=3.0 + 1.5 * s2, y=-9.0 * s, z=-1.5 * c)
    put("Neck", x=-2.0 - 1.0 * s2, y=4.0 * s)
    put("Head", x=-1.0 + 1.5 * s2, y=3.0 * s)
    return angles


def motion_lines():
    order = joint_order()
    lines = ["MOTION", "Frames: %d" % FRAMES, "Frame Time: %.6f" % FRAME_TIME]
    for frame in range(FRAMES):
        angles = pose(frame)
        values = []
        for name, channels in order:
            values.extend(number(angles[name][channel]) for channel in channels)
        lines.append(" ".join(values))
    return lines


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "human.bvh")
    text = "\r\n".join(hierarchy_lines() + motion_lines()) + "\r\n"
    with open(path, "w", newline="") as out:
        out.write(text)


if __name__ == "__main__":
    main()
