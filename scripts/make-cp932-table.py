#!/usr/bin/env python3
"""Writes src/platform/common/Cp932Table.inc from the C library's iconv (glibc).

Run once on a glibc system; the output is committed, so that every build, whatever its C
library, reads and writes code page 932 exactly as glibc does. The engine's test compares the
table with iconv again on every code.
"""
import ctypes
import os
import platform
import sys

libc = ctypes.CDLL(None, use_errno=True)
libc.iconv_open.restype = ctypes.c_void_p
libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
libc.iconv.restype = ctypes.c_size_t
libc.iconv.argtypes = [ctypes.c_void_p] + [ctypes.c_void_p] * 4
libc.iconv_close.argtypes = [ctypes.c_void_p]


def convert(to, source, data):
    """The whole of `data` converted, or None when iconv stops anywhere."""
    cd = libc.iconv_open(to.encode(), source.encode())
    if cd == ctypes.c_void_p(-1).value:
        sys.exit("make-cp932-table: this C library's iconv has no %s to %s" % (source, to))
    inbuf = ctypes.create_string_buffer(data, len(data))
    outbuf = ctypes.create_string_buffer(16)
    inp, inleft = ctypes.c_char_p(ctypes.addressof(inbuf)), ctypes.c_size_t(len(data))
    outp, outleft = ctypes.c_char_p(ctypes.addressof(outbuf)), ctypes.c_size_t(16)
    result = libc.iconv(cd, ctypes.byref(inp), ctypes.byref(inleft), ctypes.byref(outp),
                        ctypes.byref(outleft))
    libc.iconv_close(cd)
    if result == ctypes.c_size_t(-1).value or inleft.value:
        return None
    return outbuf.raw[:16 - outleft.value]


def code_point(utf8):
    text = utf8.decode("utf-8")
    assert len(text) == 1, utf8
    return ord(text)


LEADS = list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD))
TRAILS = [t for t in range(0x40, 0xFD) if t != 0x7F]

# The single bytes follow a rule the engine writes out; make sure glibc still agrees.
for b in range(0x100):
    got = convert("UTF-8", "CP932", bytes([b]))
    want = b if b < 0x80 else 0xFF61 + b - 0xA1 if 0xA1 <= b <= 0xDF else None
    if (got and code_point(got)) != want:
        sys.exit("make-cp932-table: byte %02X decodes unlike the rule" % b)

decoded = {}  # code -> code point, in code order
for lead in range(0x80, 0x100):
    for trail in range(0x100):
        got = convert("UTF-8", "CP932", bytes([lead, trail]))
        if got is None or convert("UTF-8", "CP932", bytes([lead])) is not None:
            continue
        if lead not in LEADS or trail not in TRAILS:
            sys.exit("make-cp932-table: %02X %02X decodes outside the pair ranges" % (lead, trail))
        decoded[lead << 8 | trail] = code_point(got)

# The engine encodes a character as the last code that decodes to it, unless listed here.
last = {}
for b in list(range(0x80)) + list(range(0xA1, 0xE0)):
    last[b if b < 0x80 else 0xFF61 + b - 0xA1] = b
for code, cp in sorted(decoded.items()):
    last[cp] = code
exceptions = []
for cp in range(0x10000):
    if 0xD800 <= cp < 0xE000:
        continue
    got = convert("CP932", "UTF-8", chr(cp).encode("utf-8"))
    code = None if got is None else int.from_bytes(got, "big")
    if code != last.get(cp):
        if code is None:
            sys.exit("make-cp932-table: U+%04X decodes but does not encode" % cp)
        exceptions.append((cp, code))

out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "platform", "common",
                   "Cp932Table.inc")
with open(out, "w", encoding="ascii", newline="\n") as f:
    f.write("// Written by scripts/make-cp932-table.py from glibc %s's iconv; do not edit.\n"
            % platform.libc_ver()[1])
    f.write("// kPairs[lead][trail]: the code point of each pair, 0 where the pair has none; rows\n"
            "// are the lead bytes 81-9F and E0-FC, columns the trail bytes 40-FC without 7F.\n")
    f.write("constexpr uint16_t kPairs[%d][%d] = {\n" % (len(LEADS), len(TRAILS)))
    for lead in LEADS:
        row = ["0x%04X" % decoded.get(lead << 8 | t, 0) for t in TRAILS]
        f.write("    {  // %02X\n" % lead)
        for i in range(0, len(row), 12):
            f.write("        " + ", ".join(row[i:i + 12]) + ",\n")
        f.write("    },\n")
    f.write("};\n")
    f.write("// Characters not encoded as the last code decoding to them: the C library's choice\n"
            "// among duplicates, and characters it encodes without decoding to them.\n")
    f.write("constexpr uint16_t kEncodings[%d][2] = {\n" % len(exceptions))
    for cp, code in exceptions:
        f.write("    {0x%04X, 0x%04X},\n" % (cp, code))
    f.write("};\n")
print("make-cp932-table: %d pairs, %d exceptions -> %s" % (len(decoded), len(exceptions),
                                                            os.path.relpath(out)))
