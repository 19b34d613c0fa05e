#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora into fuzz/corpus/NAME from the sample game (made by
`qvtool make-sample`) and the BMP suite kept in tests/data/bmpsuite. Run it again after the
sample or a target changes:
    fuzz/make_corpus.py SAMPLE_DIR
Files already in a corpus (inputs the fuzzers found, kept as regression checks) are left alone."""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
BMPSUITE = os.path.join(HERE, "..", "tests", "data", "bmpsuite")
FRAME_W, FRAME_H = 128, 64  # the picture target's frame
KINDS = ["background", "sprite", "mask", "message_window", "button_parts", "wait_cursor",
         "area_image", "choice_bar", "save_load_screen", "logo"]


def put(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def bmp24(width, height, pixel):
    row = bytearray()
    for y in range(height):
        line = b"".join(bytes(pixel(x, y)) for x in range(width))
        line += b"\0" * ((4 - len(line) % 4) % 4)
        row += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(row), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(row), 2835, 2835, 0, 0)
    return header + info + bytes(row)


def bmp8(width, height, index):
    palette = b"".join(bytes((g, g, g, 0)) for g in range(256))
    rows = bytearray()
    for y in range(height):
        line = bytes(index(x, y) for x in range(width))
        rows += line + b"\0" * ((4 - len(line) % 4) % 4)
    offset = 54 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(rows), 2835, 2835, 256, 0)
    return header + info + palette + bytes(rows)


def scrambled(data):
    return bytes(b ^ 0x5A for b in data[:50]) + data[50:]


def picture(kind, data):
    return bytes([KINDS.index(kind)]) + data


def main(sample):
    # Pictures: each kind from a picture of its own form, and the BMP suite as sprites and masks.
    frame = bmp24(FRAME_W, FRAME_H, lambda x, y: (x * 2, y * 4, (x ^ y) & 255))
    masked = bmp24(2 * 16, 16, lambda x, y: (200, 100, 50) if x < 16 else ((x * 16) & 255,) * 3)
    double = bmp24(2 * FRAME_W, FRAME_H, lambda x, y: (x & 255, y * 4, 128))
    put("picture", "background.bmp", picture("background", scrambled(frame)))
    put("picture", "sprite.bmp", picture("sprite", masked))
    put("picture", "mask.bmp", picture("mask", bmp8(FRAME_W, FRAME_H, lambda x, y: (x + y) & 255)))
    put("picture", "area_image.bmp", picture("area_image", frame))
    put("picture", "save_load_screen.bmp", picture("save_load_screen", double))
    put("picture", "logo.bmp", picture("logo", frame))
    for kind, name in [("message_window", "cg/menu/bar_a.bmp"), ("button_parts", "cg/menu/btnprts.bmp"),
                       ("wait_cursor", "cg/menu/waitcur.bmp"), ("choice_bar", "cg/menu/menubar.bmp")]:
        put("picture", kind + ".bmp", picture(kind, read(os.path.join(sample, name))))
    for sub in ("g", "b", "q"):
        folder = os.path.join(BMPSUITE, sub)
        for name in sorted(os.listdir(folder)):
            data = read(os.path.join(folder, name))
            if len(data) > 40000:
                continue
            put("picture", "suite-%s-%s-sprite" % (sub, name), picture("sprite", data))
            if sub == "g":
                put("picture", "suite-%s-%s-mask" % (sub, name), picture("mask", data))
    # The script, the instance file, the sounds: the sample's own, and a plain-text script.
    put("script", "sample.qv", read(os.path.join(sample, "sample.qv")))
    put("script", "plain.qv",
        "$windowopen\r\n$effect 2\r\n$imgblt cg\\bg.bmp\r\n$sprite 0 10 cg\\sp.bmp\r\ntext\r\n$C\r\n"
        "$selword\r\n(a,0,A)\r\n(b,3,B)\r\nselend\r\n:a\r\n$eventflag 3 1\r\n$pointflag 1 5\r\n"
        "$pointjudge 1 > 2 b\r\n$random 3 a\r\n$OGGPlay bgm\\m.ogg\r\n$talk v.ogg\r\n$wave s.wav\r\n"
        "$wait 20\r\n$syncstart\r\n$synctiming 5\r\n$syncexit\r\n$statetitle T\r\n$fill red\r\n"
        "$blt (0,0,10,10,5,5)\r\n$subeffect 1\r\n$maskefct cg\\m.bmp\r\n$jmp a\r\n:b\r\n$S\r\n"
        .encode("ascii"))
    put("instance_file", "sample.ist", read(os.path.join(sample, "sample.ist")))
    put("wav", "click.wav", read(os.path.join(sample, "sound/click.wav")))
    put("wav", "move.wav", read(os.path.join(sample, "sound/move.wav")))
    put("ogg", "aoi01.ogg", read(os.path.join(sample, "voice/aoi01.ogg")))
    put("ogg", "hina01.ogg", read(os.path.join(sample, "voice/hina01.ogg")))
    # Choice items, env.dat, events, a save of the save target's script.
    put("choice_items", "area.txt", b"(10,10,100,50,first,0)\n(300,300,400,400,flagged,7)")
    put("choice_items", "word.txt", b"(one,0,\x82\xa0\x82\xa2)\n\n(two,5,B)")
    put("choice_items", "flag.txt", b"(0,0,99,99,pic1,1)\n(200,0,299,99,pic2,2))")
    env = bytearray(56)
    env[0:4] = struct.pack("<i", 1)
    put("env_file", "env.dat", bytes(env))
    # Saves of the save target's script (it must match SaveFileFuzz.cpp), resuming at each wait.
    script = (":start\r\n$windowopen\r\n$imgblt cg\\bg.bmp\r\none\r\n$C\r\ntwo\r\n$P\r\n"
              "$selword\r\n(a,0,A)\r\n(b,0,B)\r\nselend\r\n:a\r\nthree\r\n$C\r\n$jmp start\r\n"
              ":b\r\n$S\r\n").encode("ascii")
    for code in (b"$C", b"$P", b"$S", b"selend"):
        state = bytearray(1592)
        state[0:4] = struct.pack("<I", script.index(code) + len(code))
        put("save_file", "at-%s.sav" % code.decode().strip("$"), bytes(state))
    put("events", "events.txt", b"idle\nclick 400 300\nrclick 10 10\nmove 5 5\nkey 44\nwait 100\n"
        b"menu 40001\nok\ncancel\nname \xe3\x81\x82\nname-close\nshot a\nstate b\nclose\n")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
