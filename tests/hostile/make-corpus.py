#!/usr/bin/python3
"""Writes the hostile-picture corpus: valid, damaged and lying BMP, GIF, JPEG, PNG, WebP, TIFF,
HEIC and AVIF files.

Usage: /usr/bin/python3 tests/hostile/make-corpus.py OUTDIR

Every file is made here from scratch (drawn shapes, fixed-seed noise, hand-built headers), the
same bytes on every run. OUTDIR/manifest.tsv says what each file is and what the program must do
with it; README.md beside this script describes the columns. Needs Debian's python3-pil; the HEIC
and AVIF files are made with heif-enc (libheif-examples) where it is installed.
"""

import io
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import unicodedata
import zlib

from PIL import Image, ImageDraw, ImageFont

FONT = ImageFont.load_default()  # Pillow's built-in bitmap font: no font file is read

entries = []  # (name, expect, width, height, what)
outdir = b""


def put(name, data, expect, what, size=(0, 0)):
    assert expect in ("loads", "refused", "either")
    assert expect == "loads" or size == (0, 0)
    assert "\t" not in name and "\n" not in name
    assert name not in [e[0] for e in entries], name
    with open(os.path.join(outdir, name.encode("utf-8")), "wb") as f:
        f.write(data)
    entries.append((name, expect, size[0], size[1], what))


# ---------------------------------------------------------------- drawings

def scene(w, h, seed):
    """Sky, sun, grass and a house: easy to tell upright from mirrored or turned."""
    rng = random.Random(seed)
    im = Image.new("RGB", (w, h))
    d = ImageDraw.Draw(im)
    ground = h * 2 // 3
    for y in range(ground):
        d.line([(0, y), (w, y)], fill=(90 + 100 * y // ground, 150 + 80 * y // ground, 255))
    d.rectangle([0, ground, w, h], fill=(60, 160, 50))
    r = max(4, min(w, h) // 8)
    d.ellipse([w - 3 * r, r // 2, w - r, r // 2 + 2 * r], fill=(255, 220, 0))
    hx, hw = w // 5, w // 3
    d.rectangle([hx, ground - hw * 2 // 3, hx + hw, ground], fill=(200, 60, 40))
    d.polygon([(hx - 4, ground - hw * 2 // 3), (hx + hw + 4, ground - hw * 2 // 3),
               (hx + hw // 2, ground - hw * 2 // 3 - hw // 2)], fill=(120, 40, 30))
    for _ in range(12):  # flowers
        x, y = rng.randrange(w), rng.randrange(ground + 2, h)
        d.ellipse([x - 2, y - 2, x + 2, y + 2], fill=rng.choice([(255, 255, 255), (250, 80, 160)]))
    d.text((3, 2), "BOVEN", fill=(0, 0, 0), font=FONT)
    return im


def ball(w, h, colour=(220, 30, 30)):
    im = Image.new("RGB", (w, h), (70, 170, 60))
    d = ImageDraw.Draw(im)
    r = min(w, h) * 2 // 5
    cx, cy = w // 2, h // 2
    d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=colour, outline=(0, 0, 0), width=2)
    d.ellipse([cx - r // 2, cy - r // 2, cx - r // 6, cy - r // 6], fill=(255, 255, 255))
    return im


def cow(w, h):
    im = Image.new("RGB", (w, h), (110, 190, 90))
    d = ImageDraw.Draw(im)
    d.rectangle([w // 5, h // 3, w * 3 // 4, h * 2 // 3], fill=(250, 250, 250), outline=(0, 0, 0))
    d.ellipse([w * 2 // 3, h // 4, w * 9 // 10, h // 2], fill=(250, 250, 250), outline=(0, 0, 0))
    d.ellipse([w // 3, h * 2 // 5, w // 2, h // 2 + 4], fill=(20, 20, 20))
    for x in (w // 4, w // 3, w * 3 // 5, w * 2 // 3):
        d.rectangle([x, h * 2 // 3, x + 5, h * 5 // 6], fill=(250, 250, 250), outline=(0, 0, 0))
    return im


def face(w, h):
    """Palette picture of a cross face, drawn with palette indices."""
    im = Image.new("P", (w, h), 0)
    im.putpalette([200, 230, 255, 255, 200, 0, 0, 0, 0, 230, 40, 40] + [0, 0, 0] * 252)
    d = ImageDraw.Draw(im)
    d.ellipse([4, 4, w - 5, h - 5], fill=1, outline=2)
    d.line([(w // 4, h // 3), (w * 2 // 5, h * 2 // 5)], fill=2, width=3)
    d.line([(w * 3 // 4, h // 3), (w * 3 // 5, h * 2 // 5)], fill=2, width=3)
    d.arc([w // 4, h * 3 // 5, w * 3 // 4, h * 9 // 10], 200, 340, fill=3, width=3)
    return im


def cup(w, h):
    im = Image.new("RGB", (w, h), (245, 235, 215))
    d = ImageDraw.Draw(im)
    d.rectangle([w // 4, h // 3, w * 3 // 5, h * 4 // 5], fill=(255, 255, 255), outline=(0, 0, 0))
    d.arc([w * 11 // 20, h * 2 // 5, w * 3 // 4, h * 2 // 3], 270, 90, fill=(0, 0, 0), width=3)
    d.rectangle([w // 4 + 2, h // 3 + 2, w * 3 // 5 - 2, h * 2 // 5], fill=(110, 60, 20))
    for i in range(3):  # steam
        x = w // 3 + i * w // 12
        d.line([(x, h // 4), (x + 3, h // 6)], fill=(150, 150, 150), width=2)
    return im


def bike(w, h):
    im = Image.new("P", (w, h), 0)
    im.putpalette([255, 255, 240, 30, 30, 30, 0, 90, 200] + [0, 0, 0] * 253)
    d = ImageDraw.Draw(im)
    r = h // 4
    for cx in (w // 4, w * 3 // 4):
        d.ellipse([cx - r, h - 2 * r - 6, cx + r, h - 6], outline=1, width=3)
    d.line([(w // 4, h - r - 6), (w // 2, h // 3), (w * 3 // 4, h - r - 6)], fill=2, width=3)
    d.line([(w // 2, h // 3), (w // 2 + 5, h - r - 6)], fill=2, width=3)
    return im


def moon(w, h):
    """A crescent moon in a night sky inside a see-through margin."""
    im = Image.new("RGBA", (w, h), (10, 20, 60, 0))
    d = ImageDraw.Draw(im)
    d.rectangle([6, 6, w - 7, h - 7], fill=(10, 20, 60, 255))
    d.ellipse([w // 4, h // 4, w * 3 // 4, h * 3 // 4], fill=(250, 240, 180, 255))
    d.ellipse([w // 3, h // 5, w * 5 // 6, h * 2 // 3], fill=(10, 20, 60, 255))
    return im


# ---------------------------------------------------------------- encoders

def pil_bytes(im, fmt, **options):
    buf = io.BytesIO()
    im.save(buf, fmt, **options)
    return buf.getvalue()


def jpeg_segments(data):
    """(marker, start, end) of each marker segment up to and including SOS."""
    out, i = [], 2
    while i < len(data):
        assert data[i] == 0xFF
        marker = data[i + 1]
        length = struct.unpack(">H", data[i + 2:i + 4])[0]
        out.append((marker, i, i + 2 + length))
        if marker == 0xDA:
            return out
        i += 2 + length
    raise ValueError("no SOS")


def jpeg_scans(data):
    """(start, end) of each scan: its tables and SOS header, then its entropy-coded data."""
    out, i, start = [], 2, 2
    while i < len(data) - 1:
        marker = data[i + 1]
        if marker == 0xD9:
            break
        length = struct.unpack(">H", data[i + 2:i + 4])[0]
        i += 2 + length
        if marker != 0xDA:
            continue
        while not (data[i] == 0xFF and data[i + 1] not in (0x00, *range(0xD0, 0xD8))):
            i += 1
        out.append((start, i))
        start = i
    return out


def exif_orientation(value):
    exif = Image.Exif()
    exif[0x0112] = value
    return exif.tobytes()


def png_chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def png(w, h, depth, colour, idat, more=b"", interlace=0):
    ihdr = struct.pack(">IIBBBBB", w, h, depth, colour, 0, 0, interlace)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr) + more + png_chunk(b"IDAT", idat)
            + png_chunk(b"IEND", b""))


def png16(w, h, channels):
    """16-bit grey (1), RGB (3) or RGBA (4): smooth ramps over the full 16-bit range."""
    rows = []
    for y in range(h):
        vals = []
        for x in range(w):
            r = x * 65535 // (w - 1)
            g = y * 65535 // (h - 1)
            inside = w // 3 <= x < w * 2 // 3 and h // 3 <= y < h * 2 // 3
            if channels == 1:
                vals.append(65535 - r if inside else r)
            else:
                px = [65535, 65535, 65535] if inside else [r, g, 40000]
                if channels == 4:
                    px.append(65535 if inside else 20000 + y * 45535 // (h - 1))
                vals.extend(px)
        rows.append(b"\x00" + struct.pack(">%dH" % len(vals), *vals))
    colour = {1: 0, 3: 2, 4: 6}[channels]
    return png(w, h, 16, colour, zlib.compress(b"".join(rows), 9))


def zlib_of_zeros(length, piece=1 << 20):
    """A zlib stream of `length` zero bytes without compressing them all: after a full flush a
    deflate block stands alone, so one compressed megabyte can be repeated."""
    def raw(n):
        c = zlib.compressobj(9, zlib.DEFLATED, -15)
        return c.compress(bytes(n)) + c.flush(zlib.Z_FULL_FLUSH)
    whole, rest = divmod(length, piece)
    body = raw(piece) * whole + (raw(rest) if rest else b"")
    final = zlib.compressobj(9, zlib.DEFLATED, -15).flush()  # an empty last block
    adler = ((length % 65521) << 16) | 1  # Adler-32 of zero bytes only
    return b"\x78\xda" + body + final + struct.pack(">I", adler)


def gif_blocks(data):
    """Offset of the first image descriptor and of its LZW code-size byte."""
    i = 13
    if data[10] & 0x80:
        i += 3 << ((data[10] & 7) + 1)
    while data[i] == 0x21:
        i += 2
        while data[i]:
            i += data[i] + 1
        i += 1
    assert data[i] == 0x2C
    lzw = i + 10
    if data[i + 9] & 0x80:
        lzw += 3 << ((data[i + 9] & 7) + 1)
    return i, lzw


def bmp(w, h, bpp, rows, palette=b"", compression=0, offset=None, size_image=None,
        colours_used=None, header=40, masks=b"", pixels=None):
    """BITMAPFILEHEADER + BITMAPINFOHEADER (or a V4 header) + palette + pixel bytes.
    `rows` are already padded, in file order; h < 0 means top-down."""
    data = b"".join(rows) if pixels is None else pixels
    if colours_used is None:
        colours_used = len(palette) // 4
    info = struct.pack("<IiiHHIIiiII", header, w, h, 1, bpp, compression,
                       len(data) if size_image is None else size_image, 2835, 2835,
                       colours_used, 0)
    if header == 108:  # V4: masks, colour space 'sRGB', endpoints and gammas unused
        info += masks + b"BGRs" + bytes(36 + 12)
    assert len(info) == header
    start = 14 + header + len(palette)
    off = start if offset is None else offset
    return b"BM" + struct.pack("<IHHI", start + len(data), 0, 0, off) + info + palette + data


def pad4(row):
    return row + bytes(-len(row) % 4)


def bmp_rows(im, mode):
    """Rows of `im` as BMP rows, bottom-up, each padded to four bytes."""
    w, h = im.size
    raw = im.tobytes("raw", mode)
    bpl = len(raw) // h
    return [pad4(raw[y * bpl:(y + 1) * bpl]) for y in reversed(range(h))]


def bmp_palette(im):
    pal = im.getpalette()[:256 * 3]
    pal += [0] * (768 - len(pal))
    return b"".join(bytes([pal[i + 2], pal[i + 1], pal[i], 0]) for i in range(0, 768, 3))


def rle8(indices, w, h):
    """RLE8 of palette rows (top-down list of bytes), written bottom-up."""
    out = bytearray()
    for y in reversed(range(h)):
        row = indices[y * w:(y + 1) * w]
        x = 0
        while x < w:
            n = 1
            while x + n < w and n < 255 and row[x + n] == row[x]:
                n += 1
            out += bytes([n, row[x]])
            x += n
        out += b"\x00\x00"
    return bytes(out + b"\x00\x01")


# ---------------------------------------------------------------- the corpus

def jpegs():
    base = pil_bytes(scene(200, 150, 1), "JPEG", quality=85)
    put("jpeg-baseline.jpg", base, "loads", "baseline JPEG, RGB 4:2:0, house and sun", (200, 150))
    put("jpeg-progressive.jpg", pil_bytes(scene(240, 160, 2), "JPEG", quality=80, progressive=True),
        "loads", "progressive JPEG (SOF2)", (240, 160))
    put("jpeg-grey.jpg", pil_bytes(scene(160, 120, 3).convert("L"), "JPEG", quality=85),
        "loads", "greyscale JPEG, one component", (160, 120))
    put("jpeg-cmyk.jpg", pil_bytes(scene(180, 120, 4).convert("CMYK"), "JPEG", quality=85),
        "loads", "CMYK JPEG with an Adobe marker, four components", (180, 120))
    put("jpeg-420-odd-355x253.jpg", pil_bytes(scene(355, 253, 5), "JPEG", quality=75, subsampling=2),
        "loads", "4:2:0 JPEG whose size is not a multiple of the 16-pixel block", (355, 253))
    put("jpeg-444.jpg", pil_bytes(scene(120, 90, 6), "JPEG", quality=90, subsampling=0),
        "loads", "4:4:4 JPEG, no chroma subsampling", (120, 90))

    upright = scene(120, 200, 7)  # what the viewer must see: "BOVEN" top left
    turned = {6: Image.Transpose.ROTATE_90, 3: Image.Transpose.ROTATE_180, 8: Image.Transpose.ROTATE_270}
    for value, what in ((6, "stored 200 x 120, shown turned 90 degrees clockwise"),
                        (3, "stored upside down, shown turned 180 degrees"),
                        (8, "stored 200 x 120, shown turned 90 degrees anticlockwise")):
        stored = upright.transpose(turned[value])
        put("jpeg-exif-orientation-%d.jpg" % value,
            pil_bytes(stored, "JPEG", quality=85, exif=exif_orientation(value)),
            "loads", "EXIF orientation %d: %s; upright it reads BOVEN top left" % (value, what),
            (120, 200))

    # An APP1 "Exif" segment whose first directory lies far beyond the segment's end.
    small = pil_bytes(scene(100, 80, 8), "JPEG", quality=85)
    app1 = b"Exif\x00\x00MM\x00\x2a\xff\xff\xff\x00" + bytes(8)
    segment = b"\xff\xe1" + struct.pack(">H", len(app1) + 2) + app1
    put("jpeg-exif-broken.jpg", small[:2] + segment + small[2:],
        "loads", "valid JPEG with a broken EXIF block (IFD offset past its end): orientation ignored",
        (100, 80))

    segs = jpeg_segments(base)
    sos_end = segs[-1][2]
    put("jpeg-truncated-half.jpg", base[:len(base) // 2], "either",
        "baseline JPEG cut off halfway through the scan data")
    put("jpeg-truncated-after-header.jpg", base[:sos_end], "either",
        "all JPEG headers up to the start of scan, then the file ends")
    rng = random.Random(11)
    bad = bytearray(base)
    for _ in range(6):
        at = rng.randrange(sos_end, len(bad) - 80)
        bad[at:at + 64] = rng.randbytes(64)
    put("jpeg-corrupt-scan.jpg", bytes(bad), "either",
        "baseline JPEG with random bytes over parts of its scan data")

    tiny = pil_bytes(ball(16, 16), "JPEG", quality=50)
    sof = [s for s in jpeg_segments(tiny) if s[0] == 0xC0][0][1]
    huge = bytearray(tiny)
    huge[sof + 5:sof + 9] = struct.pack(">HH", 65535, 65535)
    put("jpeg-sof-65535x65535.jpg", bytes(huge), "refused",
        "16 x 16 JPEG data under a frame header claiming 65535 x 65535 (4.3 gigapixels)")
    zero = bytearray(tiny)
    zero[sof + 5:sof + 7] = b"\x00\x00"
    put("jpeg-sof-height-0.jpg", bytes(zero), "refused",
        "JPEG frame header with height 0 and no DNL marker to give it")
    put("jpeg-named.bmp", small, "either",
        "a valid 100 x 80 JPEG named .bmp: read by content it loads, by name it is refused")

    # Progressive: one scan repeated 3000 times (each a pass over all blocks), and a cut-off file
    # whose size is within the pixel limit but whose coefficients and pixels are not within memory.
    flat = Image.new("L", (1600, 1200), 128)
    prog = pil_bytes(flat, "JPEG", quality=75, progressive=True)
    scans = jpeg_scans(prog)
    start, end = scans[-1]
    put("jpeg-3000-scans.jpg", prog[:end] + prog[start:end] * 3000 + b"\xff\xd9", "refused",
        "1600 x 1200 progressive JPEG whose last scan comes 3000 times more")
    wide = pil_bytes(scene(64, 64, 20).convert("CMYK"), "JPEG", quality=75, progressive=True)
    sof = [s for s in jpeg_segments(wide) if s[0] == 0xC2][0][1]
    claim = bytearray(wide[:jpeg_scans(wide)[0][1] + 40])
    claim[sof + 5:sof + 9] = struct.pack(">HH", 14000, 14000)
    put("jpeg-progressive-cut-14000x14000.jpg", bytes(claim), "refused",
        "%d bytes of a cut-off progressive CMYK JPEG claiming 14000 x 14000 (196 megapixels, "
        "2.4 GB with its coefficients)" % len(claim))


def pngs():
    put("png-rgb16.png", png16(96, 64, 3), "loads", "16-bit RGB PNG, ramps over the full range",
        (96, 64))
    put("png-rgba16.png", png16(80, 60, 4), "loads", "16-bit RGBA PNG with graded alpha", (80, 60))
    put("png-grey16.png", png16(64, 48, 1), "loads", "16-bit greyscale PNG", (64, 48))
    pal = face(90, 90)
    put("png-palette.png", pil_bytes(pal, "PNG", transparency=0), "loads",
        "palette PNG (4 colours, colour 0 transparent), a cross face", (90, 90))

    put("png-ihdr-100000x100000.png", png(100000, 100000, 8, 2, zlib.compress(bytes(301), 9)),
        "refused", "PNG whose IHDR (valid CRC) claims 100000 x 100000, one tiny row of data")
    put("png-bomb-20001x10000.png", png(20001, 10000, 8, 0, zlib_of_zeros(10000 * 20002)),
        "refused", "complete, valid 8-bit grey PNG of 20001 x 10000 black pixels (200.01 megapixels)")
    put("png-zero-width.png", png(0, 40, 8, 2, zlib.compress(b"\x00" * 40)), "refused",
        "PNG whose IHDR says width 0")

    good = pil_bytes(scene(150, 100, 9), "PNG")
    put("png-truncated.png", good[:len(good) // 2], "either", "RGB PNG cut off halfway through IDAT")
    idat = good.index(b"IDAT")
    rng = random.Random(12)
    body = bytearray(good[idat + 4:idat + 4 + struct.unpack(">I", good[idat - 4:idat])[0]])
    for _ in range(5):
        at = rng.randrange(20, len(body) - 40)
        body[at:at + 32] = rng.randbytes(32)
    bad = good[:idat - 4] + png_chunk(b"IDAT", bytes(body)) + png_chunk(b"IEND", b"")
    put("png-corrupt-idat.png", bad, "either",
        "RGB PNG whose compressed data has random bytes in it (chunk CRC recomputed, so it looks sound)")


def gifs():
    one = pil_bytes(face(100, 80), "GIF", interlace=False)
    put("gif-single.gif", one, "loads", "one-frame GIF, not interlaced, a cross face", (100, 80))
    put("gif-interlaced.gif", pil_bytes(bike(120, 90), "GIF", interlace=True), "loads",
        "interlaced one-frame GIF of a bicycle", (120, 90))

    frames = []
    for i in range(300):  # every frame differs, so no frame is merged into the one before
        im = Image.new("P", (80, 56), 0)
        im.putpalette([250, 250, 250, 230, 40, 40, 30, 30, 30] + [0, 0, 0] * 253)
        d = ImageDraw.Draw(im)
        x, y = 8 + (i % 30) * 2, 7 + (i // 30) * 4
        d.ellipse([x - 5, y - 5, x + 5, y + 5], fill=1)
        d.rectangle([0, 52, 79, 55], fill=2)
        frames.append(im)
    anim = pil_bytes(frames[0], "GIF", save_all=True, append_images=frames[1:], duration=40, loop=0)
    put("gif-300-frames.gif", anim, "loads",
        "animated GIF of 300 frames, a rolling ball; the first frame counts", (80, 56))

    small = bytearray(pil_bytes(face(32, 32), "GIF", interlace=False))
    screen = bytearray(small)
    screen[6:10] = struct.pack("<HH", 65535, 65535)
    put("gif-screen-65535x65535.gif", bytes(screen), "refused",
        "GIF whose logical screen claims 65535 x 65535, with one 32 x 32 frame")
    # Found by fuzzing: the decoder makes an image of the screen's size, not the frame's, and
    # 20000 x 10001 (800 MB) still passes below the largest image it refuses on its own.
    screen[6:10] = struct.pack("<HH", 20000, 10001)
    put("gif-screen-20000x10001.gif", bytes(screen), "refused",
        "GIF whose logical screen is 20000 x 10001, just over 200 megapixels, with one 32 x 32 frame")

    put("gif-truncated.gif", one[:len(one) * 3 // 5], "either", "one-frame GIF cut off in its LZW data")

    desc, lzw = gif_blocks(small)
    outside = bytearray(small)
    outside[desc + 1:desc + 5] = struct.pack("<HH", 60000, 60000)
    put("gif-frame-outside-screen.gif", bytes(outside), "either",
        "32 x 32 GIF whose only frame is placed at 60000,60000, far outside the screen")
    big_frame = bytearray(small)
    big_frame[desc + 5:desc + 9] = struct.pack("<HH", 4000, 4000)
    put("gif-frame-4000x4000.gif", bytes(big_frame), "either",
        "32 x 32 GIF screen with a frame header claiming 4000 x 4000 but data for 32 x 32")
    code = bytearray(small)
    code[lzw] = 12
    put("gif-lzw-code-size-12.gif", bytes(code), "either",
        "GIF whose LZW minimum code size is 12 (at most 8 is allowed)")
    garbled = bytearray(small)
    rng = random.Random(13)
    i = lzw + 1
    while garbled[i]:  # keep the sub-block lengths, scramble what they hold
        n = garbled[i]
        garbled[i + 1:i + 1 + n] = rng.randbytes(n)
        i += n + 1
    put("gif-garbled-lzw.gif", bytes(garbled), "either",
        "GIF with random LZW codes inside sound sub-blocks")


def bmps():
    rgb = scene(120, 80, 14)
    put("bmp-24bit.bmp", bmp(120, 80, 24, bmp_rows(rgb, "BGR")), "loads", "24-bit BMP, bottom-up",
        (120, 80))
    pal = face(70, 50)
    put("bmp-8bit-palette.bmp", bmp(70, 50, 8, bmp_rows(pal, "P"), palette=bmp_palette(pal)), "loads",
        "8-bit palette BMP, width not a multiple of four (padded rows)", (70, 50))
    put("bmp-32bit.bmp", bmp(90, 60, 32, bmp_rows(scene(90, 60, 15).convert("RGBA"), "BGRA")), "loads",
        "32-bit BMP without compression (fourth byte unused)", (90, 60))
    masks = struct.pack("<IIII", 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
    put("bmp-32bit-alpha-v4.bmp", bmp(80, 80, 32, bmp_rows(moon(80, 80), "BGRA"), compression=3,
                                      header=108, masks=masks),
        "loads", "32-bit BMP, V4 header with bit fields and an alpha mask: a moon, clear margin",
        (80, 80))
    top = scene(100, 70, 16)
    put("bmp-top-down.bmp", bmp(100, -70, 24, list(reversed(bmp_rows(top, "BGR")))), "loads",
        "24-bit BMP with negative height (rows top-down): shows upright, BOVEN top left", (100, 70))
    ind = bike(64, 40)
    put("bmp-rle8.bmp", bmp(64, 40, 8, [], palette=bmp_palette(ind), compression=1,
                            pixels=rle8(ind.tobytes(), 64, 40)),
        "loads", "RLE8-compressed 8-bit BMP of a bicycle", (64, 40))

    # RLE8 that runs past every row, jumps outside the picture and never says "end of bitmap".
    evil = b"\xff\x01" * 40 + b"\x00\x02\xff\xff" + b"\xff\x02" * 20 + b"\x00\x05\x01\x02" \
        + b"\x00\xff" + bytes(range(40))
    put("bmp-rle8-overrun.bmp", bmp(16, 16, 8, [], palette=bmp_palette(ind), compression=1, pixels=evil),
        "either", "16 x 16 RLE8 BMP whose runs overrun the rows, jump far outside and stop mid-command")

    put("bmp-header-100000x100000.bmp", bmp(100000, 100000, 24, [bytes(64)], size_image=0), "refused",
        "24-bit BMP header claiming 100000 x 100000 with 64 bytes of pixels")
    put("bmp-height-int-min.bmp", bmp(4, -2**31, 24, [bytes(16)] * 2, size_image=0), "refused",
        "BMP with height -2147483648, whose absolute value overflows a 32-bit int")
    put("bmp-zero-width.bmp", bmp(0, 20, 24, [], size_image=0), "refused", "BMP header with width 0")
    put("bmp-bitcount-7.bmp", bmp(16, 16, 7, [bytes(16)] * 16), "refused",
        "BMP with 7 bits per pixel, no such format")
    rows = bmp_rows(rgb, "BGR")
    put("bmp-truncated-pixels.bmp", bmp(120, 80, 24, rows)[:14 + 40 + 120 * 3 * 30],
        "either", "24-bit 120 x 80 BMP whose pixel data stops after 30 of 80 rows")
    put("bmp-offset-beyond-end.bmp", bmp(120, 80, 24, rows, offset=10**6), "either",
        "24-bit BMP whose pixel-data offset (1000000) lies beyond the end of the file")
    put("bmp-palette-count-huge.bmp", bmp(16, 16, 8, [bytes(16)] * 16, palette=bmp_palette(ind),
                                          colours_used=0x7FFFFFFF),
        "either", "8-bit BMP claiming 2147483647 palette colours")


def others():
    for ext in ("jpg", "gif", "bmp", "png"):
        put("leeg." + ext, b"", "refused", "zero bytes")
    put("tekst.jpg", "Dit is geen plaatje maar een boodschappenlijst:\nmelk, kaas, appels.\n".encode(),
        "refused", "a plain text file named .jpg")
    put("ruis.png", random.Random(17).randbytes(3000), "refused", "3000 random bytes named .png")
    put("ruis.gif", b"GIF89a" + random.Random(18).randbytes(500), "refused",
        "a GIF signature followed by 500 random bytes")


def heif_enc(im, name, avif):
    """The picture through libheif's own encoder; None where that is not installed."""
    if not shutil.which("heif-enc"):
        return None
    with tempfile.TemporaryDirectory() as tmp:
        source, target = os.path.join(tmp, "in.png"), os.path.join(tmp, name)
        im.save(source)
        args = ["heif-enc", "-q", "60", "-o", target, source] + (["-A"] if avif else [])
        if subprocess.run(args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode:
            return None
        with open(target, "rb") as f:
            return f.read()


def adam7(im):
    """The rows of an RGB picture in the seven passes of an interlaced PNG, each row filter 0."""
    w, h = im.size
    px = im.load()
    raw = b""
    for x0, y0, dx, dy in ((0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4),
                           (1, 0, 2, 2), (0, 1, 1, 2)):
        for y in range(y0, h, dy):
            row = b"".join(bytes(px[x, y]) for x in range(x0, w, dx))
            if row:
                raw += b"\x00" + row
    return raw


def tiff_header_only(w, h):
    """A little-endian TIFF whose directory claims w x h grey pixels, with 64 bytes of them."""
    entries = [(256, 4, w), (257, 4, h), (258, 3, 8), (259, 3, 1), (262, 3, 1), (273, 4, 8 + 2 + 9 * 12 + 4),
               (277, 3, 1), (278, 4, h), (279, 4, 64)]
    ifd = struct.pack("<H", len(entries))
    for tag, kind, value in entries:
        ifd += struct.pack("<HHI", tag, kind, 1) + (struct.pack("<HH", value, 0) if kind == 3 else struct.pack("<I", value))
    return b"II*\x00" + struct.pack("<I", 8) + ifd + struct.pack("<I", 0) + bytes(64)


def newer():
    """The formats of phones and the web, and clip art with a see-through background."""
    put("webp-lossy.webp", pil_bytes(scene(160, 100, 21), "WEBP", quality=80), "loads",
        "lossy WebP of the house and sun, as saved from a web page", (160, 100))
    put("webp-alpha.webp", pil_bytes(moon(64, 64), "WEBP", lossless=True), "loads",
        "lossless WebP with a see-through margin", (64, 64))
    put("tiff-lzw.tif", pil_bytes(scene(120, 90, 22), "TIFF", compression="tiff_lzw"), "loads",
        "LZW-compressed RGB TIFF", (120, 90))
    put("tiff-grey.tiff", pil_bytes(scene(80, 60, 23).convert("L"), "TIFF"), "loads",
        "uncompressed greyscale TIFF", (80, 60))
    clip = face(90, 90)
    put("gif-clipart-transparent.gif", pil_bytes(clip, "GIF", transparency=0), "loads",
        "clip art GIF whose background colour is transparent: it must stand on white", (90, 90))
    for name, avif, what in (("heic-foto.heic", False, "HEIC photo (HEVC), as a phone saves it"),
                             ("avif-plaatje.avif", True, "AVIF picture (AV1)")):
        data = heif_enc(scene(128, 96, 24), name, avif)
        if data:
            put(name, data, "loads", what, (128, 96))
    put("png-interlaced.png", png(97, 61, 8, 2, zlib.compress(adam7(scene(97, 61, 25)), 9), interlace=1), "loads",
        "interlaced (Adam7) RGB PNG", (97, 61))
    put("tiff-header-100000x100000.tif", tiff_header_only(100000, 100000), "refused",
        "TIFF whose directory claims 100000 x 100000 grey pixels, with 64 bytes of them")
    lossless = pil_bytes(ball(16, 16), "WEBP", lossless=True)
    vp8x = b"VP8X" + struct.pack("<I", 10) + b"\x00" * 4 + struct.pack("<I", 16383)[:3] * 2
    body = b"WEBP" + vp8x + lossless[12:]
    put("webp-canvas-16384x16384.webp", b"RIFF" + struct.pack("<I", len(body)) + body, "refused",
        "WebP whose extended header claims a canvas of 16384 x 16384 (268 megapixels) for a 16 x 16 picture")
    put("heic-header-only.heic", b"\x00\x00\x00\x18ftypheic\x00\x00\x00\x00mif1heic", "refused",
        "the first box of a HEIC file and nothing else")


def names():
    """Valid pictures whose names have blanks, accents and upper-case extensions."""
    nfd = unicodedata.normalize("NFD", "crème nfd.jpg")
    for name, data, size, what in [
            ("rode bal.JPG", pil_bytes(ball(160, 120), "JPEG", quality=85), (160, 120),
             "red ball; blank, upper-case .JPG"),
            ("één koe.Jpg", pil_bytes(cow(200, 140), "JPEG", quality=85), (200, 140),
             "cow; accents, mixed-case .Jpg"),
            ("Ärger.GIF", pil_bytes(face(60, 60), "GIF"), (60, 60),
             "cross face; upper-case umlaut and .GIF"),
            ("café.bmp", bmp(80, 64, 24, bmp_rows(cup(80, 64), "BGR")), (80, 64),
             "coffee cup; accented name"),
            ("opa's fiets.gif", pil_bytes(bike(100, 64), "GIF"), (100, 64),
             "bicycle; apostrophe and blank"),
            ("zon.JPEG", pil_bytes(scene(130, 90, 19), "JPEG", quality=85), (130, 90),
             "sun and house; .JPEG (the import window's extension)"),
            ("Maan.PNG", pil_bytes(moon(72, 72), "PNG"), (72, 72),
             "crescent moon, RGBA PNG with a clear margin; upper-case .PNG"),
            (nfd, pil_bytes(ball(90, 90, (240, 220, 150)), "JPEG"), (90, 90),
             "cream ball; name in decomposed form (e + combining grave)")]:
        put(name, data, "loads", what, size)


def main():
    global outdir
    if len(sys.argv) != 2:
        sys.exit("usage: make-corpus.py OUTDIR")
    outdir = os.fsencode(sys.argv[1])
    os.makedirs(outdir, exist_ok=True)
    jpegs()
    pngs()
    gifs()
    bmps()
    others()
    newer()
    names()
    lines = ["%s\t%s\t%d\t%d\t%s\n" % e for e in entries]
    with open(os.path.join(outdir, b"manifest.tsv"), "wb") as f:
        f.write("".join(lines).encode("utf-8"))


if __name__ == "__main__":
    main()
