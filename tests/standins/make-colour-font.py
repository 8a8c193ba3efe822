#!/usr/bin/python3
"""Writes a small colour (COLRv0/CPAL) font named "Segoe UI Emoji" that has
every caption character of the title bar. Each character's glyph is drawn by
two layers, a left and a right block in two colours of its own, so a test can
tell the layers apart, find each where it belongs, and see which glyph it is.

    make-colour-font.py OUT.ttf          write the font
    make-colour-font.py --table          print "codepoint left-colour right-colour"
                                         per character (colours as RRGGBB)
"""
import sys

CAPTIONS = [0x2715, 0x1F4CC, 0x2702, 0x1F4C5, 0x1F4CB, 0x1F4BE, 0x1F5F8]

# Two colours per character, all far from the title bar's slate grey and
# from one another.
COLOURS = [
    ((0xE0, 0x10, 0x10), (0x10, 0x30, 0xE0)),
    ((0x10, 0xC0, 0x20), (0xF0, 0xD0, 0x00)),
    ((0xF0, 0x00, 0xF0), (0x00, 0xE0, 0xE0)),
    ((0xF0, 0x80, 0x00), (0x40, 0x00, 0x90)),
    ((0x00, 0x60, 0x00), (0xFF, 0x90, 0xC0)),
    ((0x90, 0x00, 0x20), (0x80, 0xFF, 0x80)),
    ((0x00, 0x00, 0x60), (0xFF, 0xFF, 0x70)),
]

UNITS_PER_EM = 1000
ADVANCE = 1000
# The glyph's box in font units; the left layer fills its left part and the
# right layer its right part, with a gap between them.
BOTTOM, TOP = -100, 800
LEFT_BLOCK = (50, 470)
RIGHT_BLOCK = (530, 950)


def hex_colour(rgb):
    return "%02X%02X%02X" % rgb


def build(path):
    from fontTools.fontBuilder import FontBuilder
    from fontTools.pens.ttGlyphPen import TTGlyphPen
    from fontTools.ttLib.tables import otTables
    from fontTools.colorLib.builder import buildCOLR, buildCPAL

    def block(left, right):
        pen = TTGlyphPen(None)
        pen.moveTo((left, BOTTOM))
        pen.lineTo((left, TOP))
        pen.lineTo((right, TOP))
        pen.lineTo((right, BOTTOM))
        pen.closePath()
        return pen.glyph()

    order = [".notdef"]
    glyphs = {".notdef": block(LEFT_BLOCK[0], RIGHT_BLOCK[1])}
    metrics = {".notdef": (ADVANCE, LEFT_BLOCK[0])}
    cmap = {}
    layers = {}
    palette = []
    for index, codepoint in enumerate(CAPTIONS):
        base = "u%04X" % codepoint
        left, right = base + ".left", base + ".right"
        order += [base, left, right]
        # The base glyph (drawn where colour is not supported) covers both blocks.
        glyphs[base] = block(LEFT_BLOCK[0], RIGHT_BLOCK[1])
        glyphs[left] = block(*LEFT_BLOCK)
        glyphs[right] = block(*RIGHT_BLOCK)
        # Each glyph's left side bearing is its outline's xMin: renderers that
        # place a glyph by its bearing and those that place it by its outline
        # then agree.
        metrics[base] = (ADVANCE, LEFT_BLOCK[0])
        metrics[left] = (ADVANCE, LEFT_BLOCK[0])
        metrics[right] = (ADVANCE, RIGHT_BLOCK[0])
        cmap[codepoint] = base
        first = len(palette)
        for rgb in COLOURS[index]:
            palette.append(tuple(c / 255 for c in rgb) + (1.0,))
        layers[base] = [(left, first), (right, first + 1)]

    fb = FontBuilder(UNITS_PER_EM, isTTF=True)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(glyphs)
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=900, descent=-200)
    fb.setupNameTable({"familyName": "Segoe UI Emoji", "styleName": "Regular",
                       "uniqueFontIdentifier": "Varnel test colour font",
                       "fullName": "Segoe UI Emoji", "psName": "SegoeUIEmoji",
                       "version": "Version 1.000"})
    fb.setupOS2(sTypoAscender=900, sTypoDescender=-200, sTypoLineGap=0,
                usWinAscent=900, usWinDescent=200, fsType=0)
    fb.setupPost()
    fb.font["COLR"] = buildCOLR(layers, version=0)
    fb.font["CPAL"] = buildCPAL([palette])
    fb.save(path)


def main():
    if len(sys.argv) == 2 and sys.argv[1] == "--table":
        for codepoint, (left, right) in zip(CAPTIONS, COLOURS):
            print("%X %s %s" % (codepoint, hex_colour(left), hex_colour(right)))
        return 0
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    build(sys.argv[1])
    return 0


if __name__ == "__main__":
    sys.exit(main())
