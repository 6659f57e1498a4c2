#!/usr/bin/python3
"""Builds data/font_tables.cpp, the glyph tables of the stroke and outline
fonts, from the Hershey fonts and the TeX Gyre outline fonts.

Run with the system Python (it needs fontTools):
    /usr/bin/python3 tools/gen_fonts.py [output]

Sources (Debian packages, see tools/README.md): hershey-fonts-data for the
stroke fonts, fonts-texgyre for the outline fonts, python3-fonttools to
read them.  The output is committed; the build needs none of these.
"""
import math
import os
import sys

HERSHEY = '/usr/share/hershey-fonts'
GYRE = '/usr/share/texmf/fonts/opentype/public/tex-gyre'

# Internal codes 127..186: the national characters.
NATIONAL = ('ÄÖÜäöüßÅØÆåøæÑñÇçËÏëïÁÉÍÓÚáéíóúÀÈÌÒÙàèìòùÂÊÎÔÛâêîôûÃãÕõÝýÿ¡¿')
assert len(NATIONAL) == 60


def code_char(c):
    """The character of internal code c (32..186)."""
    return chr(c) if c < 127 else NATIONAL[c - 127]


# ---- Hershey fonts --------------------------------------------------------

def read_jhf(name):
    """Glyphs of a .jhf file in ASCII order from the space: each a list of
    strokes in glyph units, y upwards, baseline 0, capitals 21 high, plus the
    left and right bearing."""
    lines = open(os.path.join(HERSHEY, name + '.jhf'), encoding='latin-1').read().split('\n')
    glyphs = []
    j = 0
    while j < len(lines):
        line = lines[j].rstrip('\r')
        j += 1
        if not line.strip():
            continue
        n = int(line[5:8])
        body = line[8:]
        while len(body) < 2 * n and j < len(lines):
            body += lines[j].rstrip('\r')
            j += 1
        pairs = [(ord(body[2 * k]) - 82, ord(body[2 * k + 1]) - 82) for k in range(n)]
        left, right = pairs[0]
        strokes, cur = [], []
        for x, y in pairs[1:]:
            if (x, y) == (-50, 0):
                if cur:
                    strokes.append(cur)
                cur = []
            else:
                cur.append((x, 9 - y))
        if cur:
            strokes.append(cur)
        glyphs.append({'strokes': strokes, 'left': left, 'right': right})
    return glyphs


def bbox(strokes):
    xs = [p[0] for s in strokes for p in s]
    ys = [p[1] for s in strokes for p in s]
    if not xs:
        return 0, 0, 0, 0
    return min(xs), min(ys), max(xs), max(ys)


def moved(strokes, dx, dy):
    return [[(x + dx, y + dy) for x, y in s] for s in strokes]


def dot(x, y):
    return [(x, y - 1), (x - 1, y), (x, y + 1), (x + 1, y), (x, y - 1)]


# Accents drawn above a letter, centred at x = 0 with their foot at y = 0.
ACCENTS = {
    'dier': lambda w: [dot(-4 if w > 8 else -3, 1), dot(4 if w > 8 else 3, 1)],
    'acute': lambda w: [[(-2, 0), (2, 4)]],
    'grave': lambda w: [[(-2, 4), (2, 0)]],
    'circ': lambda w: [[(-4, 0), (0, 4), (4, 0)]],
    'tilde': lambda w: [[(-5, 1), (-4, 3), (-2, 4), (2, 2), (4, 3), (5, 5)]],
    'ring': lambda w: [[(-1, 0), (1, 0), (2, 1), (2, 3), (1, 4), (-1, 4), (-2, 3), (-2, 1), (-1, 0)]],
}

COMPOSED = {
    'Ä': ('A', 'dier'), 'Ö': ('O', 'dier'), 'Ü': ('U', 'dier'), 'ä': ('a', 'dier'),
    'ö': ('o', 'dier'), 'ü': ('u', 'dier'), 'Å': ('A', 'ring'), 'å': ('a', 'ring'),
    'Ñ': ('N', 'tilde'), 'ñ': ('n', 'tilde'), 'Ë': ('E', 'dier'), 'Ï': ('I', 'dier'),
    'ë': ('e', 'dier'), 'ï': ('i', 'dier'), 'Ã': ('A', 'tilde'), 'ã': ('a', 'tilde'),
    'Õ': ('O', 'tilde'), 'õ': ('o', 'tilde'), 'Ý': ('Y', 'acute'), 'ý': ('y', 'acute'),
    'ÿ': ('y', 'dier'),
}
for acc, letters in (('acute', 'ÁÉÍÓÚáéíóú'), ('grave', 'ÀÈÌÒÙàèìòù'), ('circ', 'ÂÊÎÔÛâêîôû')):
    for ch, base in zip(letters, 'AEIOUaeiou'):
        COMPOSED[ch] = (base, acc)

SHARP_S = [[(0, 0), (0, 16), (1, 19), (3, 21), (6, 21), (8, 20), (9, 18), (9, 16), (8, 14), (5, 12),
            (9, 11), (11, 9), (12, 7), (12, 4), (11, 2), (9, 0), (6, 0), (4, 1)]]
AE_CAP = [[(0, 0), (9, 21), (19, 21)], [(9, 21), (9, 0), (19, 0)], [(9, 11), (17, 11)], [(3, 7), (9, 7)]]


def hershey_set(glyphs, count):
    """Character index 2..count -> strokes in glyph units, national
    characters composed from the letters."""
    def ascii(ch):
        return [list(s) for s in glyphs[ord(ch) - 32]['strokes']]
    out = {}
    for c in range(33, 31 + count + 1):
        ch = code_char(c)
        if c < 127:
            st = ascii(ch)
        elif ch in COMPOSED:
            base, acc = COMPOSED[ch]
            st = ascii(base)
            if base == 'i':  # dotless i under the accent
                st = [s for s in st if min(p[1] for p in s) <= 14]
            x0, y0, x1, y1 = bbox(st)
            top = 23 if base.isupper() else 16
            if base in 'y':
                top = 16
            out_acc = ACCENTS[acc](x1 - x0)
            st = st + moved(out_acc, round((x0 + x1) / 2), top)
        elif ch in 'Øø':
            st = ascii('O' if ch == 'Ø' else 'o')
            x0, y0, x1, y1 = bbox(st)
            st = st + [[(x0 - 1, y0 - 1), (x1 + 1, y1 + 1)]]
        elif ch in 'Çç':
            st = ascii('C' if ch == 'Ç' else 'c')
            x0, y0, x1, y1 = bbox(st)
            cx = round((x0 + x1) / 2)
            st = st + [[(cx, 0), (cx, -2), (cx + 2, -3), (cx + 2, -5), (cx, -6), (cx - 2, -6)]]
        elif ch == 'ß':
            st = [list(s) for s in SHARP_S]
        elif ch == 'Æ':
            st = [list(s) for s in AE_CAP]
        elif ch == 'æ':
            a = ascii('a')
            e = ascii('e')
            ax0, _, ax1, _ = bbox(a)
            ex0, _, _, _ = bbox(e)
            st = a + moved(e, ax1 - ex0 - 2, 0)
        elif ch in '¡¿':
            st = ascii('!' if ch == '¡' else '?')
            st = [[(x, 14 - y) for x, y in s] for s in st]
        else:
            st = []
        out[c - 31] = st
    return out


# Greek letters by Latin letter, as the TeX mode's Greek commands use them
# (C gamma, G chi, F phi, Q theta, U psi, W omega, X xi, Y upsilon, Z zeta); the .jhf
# files hold the 24 letters in Greek order from "A" on.  J takes the other
# theta, V has no letter.
GREEK_ORDER = [0, 1, 2, 3, 4, 20, 21, 6, 8, 7, None, 9, 10, 11, 12, 14, 15, 7, 16, 17, 18, 22,
               None, 23, 13, 19, 5]
GREEK_ORDER = GREEK_ORDER[:10] + GREEK_ORDER[11:]


def greek_set(glyphs):
    out = {}
    for k in range(26):
        g = GREEK_ORDER[k]
        out[2 + k] = [] if g is None else [list(s) for s in glyphs[ord('A') + g - 32]['strokes']]
        small = g if k != 9 else None
        if small is None:
            out[28 + k] = [list(s) for s in glyphs[ord('h') - 32]['strokes']] if k == 9 else []
        else:
            out[28 + k] = [list(s) for s in glyphs[ord('a') + small - 32]['strokes']]
    return out


def letters_set(glyphs, extra=()):
    """Greek, mathematic and script: glyph 2..27 capitals, 28..53 small
    letters, then extra glyphs."""
    out = {}
    for k in range(26):
        out[2 + k] = [list(s) for s in glyphs[ord('A') + k - 32]['strokes']]
        out[28 + k] = [list(s) for s in glyphs[ord('a') + k - 32]['strokes']]
    for k, st in enumerate(extra):
        out[54 + k] = st
    return out


# The mathematic alphabet by letter, as the TeX mode's symbol commands use
# it: a character of mathlow.jhf, or a glyph composed from basic shapes for
# the symbols the Hershey files lack.
def _circle(cx, cy, r, n=24):
    return [(int(round(cx + r * math.cos(2 * math.pi * k / n))), int(round(cy + r * math.sin(2 * math.pi * k / n))))
            for k in range(n + 1)]


def _mirror(strokes):
    return [[(-x, y) for x, y in st] for st in strokes]


def _math_glyphs(g):
    def ch(c):
        return [list(st) for st in g[ord(c) - 32]['strokes']]

    def double_arrow(left, right):
        st = [[(-9 if left else -10, 12), (10 if right else 9, 12)], [(-9 if left else -10, 6), (10 if right else 9, 6)]]
        if right:
            st.append([(5, 15), (10, 9), (5, 3)])
        if left:
            st.append([(-5, 15), (-10, 9), (-5, 3)])
        return st

    return {
        'A': ch('^'), 'B': ch('@'), 'C': ch('`'), 'D': ch('#'), 'E': ch('x'), 'F': ch('!'), 'G': ch('"'),
        'H': ch('&'), 'I': ch('?'), 'J': ch("'"), 'K': ch('z'), 'L': ch('g'), 'M': ch('e'), 'N': ch('d'),
        'O': ch('f'), 'P': ch('w'), 'Q': ch('|'), 'R': moved(ch('d'), 0, 3) + [[(-8, 0), (8, 0)]],
        'S': moved(ch('f'), 0, 3) + [[(-8, 0), (8, 0)]], 'T': ch('y'), 'U': ch('v'), 'V': ch('~'),
        'W': ch('h'), 'X': ch('h') + [[(4, 20), (-4, -2)]], 'Y': _mirror(ch('h')), 'Z': ch('$'),
        'a': ch('i'), 'b': ch('j'), 'c': ch('k'), 'd': ch('l'),
        'e': double_arrow(False, True), 'f': double_arrow(True, False), 'g': double_arrow(True, True),
        'h': [_circle(0, 9, 8), [(-8, 9), (8, 9)], [(0, 1), (0, 17)]],
        'i': [_circle(0, 9, 8), [(-8, 9), (8, 9)]],
        'j': [_circle(0, 9, 8), _circle(0, 9, 1, 8)],
        'k': [[(-8, 21), (0, 0), (8, 21)], [(-5, 13), (5, 13)]],
        'l': ch('_'), 'm': ch('m'), 'n': ch('n'), 'o': ch('c'),
        'p': [[(-8, 17), (0, 0), (8, 17)]], 'q': [[(-8, 0), (0, 17), (8, 0)]],
        'r': ch(';'), 's': ch(':'), 't': ch('q'), 'u': [[(-9, 8), (-7, 10), (-4, 11), (-1, 10), (1, 8), (4, 7), (7, 8), (9, 10)]],
        'v': ch('p'), 'w': ch('p') + [_circle(0, 9, 4, 12)],
        'x': ch('b'), 'y': [_circle(0, 9, 8), [(-6, -2), (6, 20)]],
        'z': [[(-9, 15), (-7, 17), (-4, 18), (-1, 17), (1, 15), (4, 14), (7, 15), (9, 17)], [(-9, 9), (9, 9)],
              [(-9, 4), (9, 4)]],
    }


def math_set():
    glyphs = _math_glyphs(read_jhf('mathlow'))
    out = {}
    for k in range(26):
        out[2 + k] = glyphs[chr(ord('A') + k)]
        out[28 + k] = glyphs[chr(ord('a') + k)]
    return out


def script_set():
    g = read_jhf('scripts')
    extra = []
    full = hershey_set(g, 102)
    for idx in range(96, 103):  # national characters Ä .. ß
        extra.append(full[idx])
    return letters_set(g, extra)


def russian_set():
    g = read_jhf('cyrillic')
    out = {}
    def put(idx, glyph_index):
        out.setdefault(glyph_index, [list(s) for s in g[idx - 1]['strokes']])
    for idx in range(66, 96):
        put(idx, idx - 28)
    for idx in range(34, 64):
        put(idx, idx - 26)
    for idx in range(29, 32):  # 32, 33 would collide with A, B
        put(idx, idx - 24)
    for idx in range(5, 8):
        put(idx, idx - 3)
    return out


def italic_set():
    g = read_jhf('timesi')
    full = hershey_set(g, 102)
    out = {}
    for idx in range(66, 92):
        out[idx - 64] = full[idx]
    for idx in range(99, 102):
        out[idx - 71] = full[idx]
    return out


def normalise(glyphs):
    """Shift each glyph so that its ink starts at x = 0."""
    out = {}
    for k, st in glyphs.items():
        if st:
            x0 = bbox(st)[0]
            st = moved(st, -x0, 0)
        out[k] = st
    return out


def small_grid(glyphs, centred=True):
    """The 6 by 7 grid of the default font, derived from the simplex set:
    capitals 7 units high, ink within 5 units of the 6-unit cell (centred in
    it for the alphabets of fixed width)."""
    out = {}
    for k, st in glyphs.items():
        if not st:
            out[k] = []
            continue
        x0, y0, x1, y1 = bbox(st)
        sx = 0.25
        if (x1 - x0) * sx > 4.6:
            sx = 4.6 / (x1 - x0)
        off = max(0.0, (4 - (x1 - x0) * sx) / 2) if centred else 0.0
        res = []
        for s in st:
            pts = []
            for x, y in s:
                p = (int(math.floor((x - x0) * sx + off + 0.5)), int(math.floor(y / 3.0 + 0.5)))
                if not pts or pts[-1] != p:
                    pts.append(p)
            # drop points on a straight line between their neighbours
            i = 1
            while i + 1 < len(pts):
                (ax, ay), (bx, by), (cx, cy) = pts[i - 1], pts[i], pts[i + 1]
                if (bx - ax) * (cy - ay) == (by - ay) * (cx - ax) and \
                        min(ax, cx) <= bx <= max(ax, cx) and min(ay, cy) <= by <= max(ay, cy):
                    del pts[i]
                else:
                    i += 1
            if len(pts) == 1:
                pts.append(pts[0])
            res.append(pts)
        out[k] = res
    return out


def small_national(grid):
    """National characters of the 6 by 7 grid, composed on the grid itself
    (accents scaled down from the simplex set would collapse to points)."""
    dot = lambda x, y: [(x, y), (x, y + 1)]
    accents = {
        'dier': lambda cx, t: [dot(cx - 1, t), dot(cx + 1, t)],
        'acute': lambda cx, t: [[(cx, t), (cx + 1, t + 1)]],
        'grave': lambda cx, t: [[(cx, t + 1), (cx + 1, t)]],
        'circ': lambda cx, t: [[(cx - 1, t), (cx, t + 1), (cx + 1, t)]],
        'tilde': lambda cx, t: [[(cx - 2, t), (cx - 1, t + 1), (cx + 1, t), (cx + 2, t + 1)]],
        'ring': lambda cx, t: [[(cx, t), (cx + 1, t + 1), (cx, t + 2), (cx - 1, t + 1), (cx, t)]],
    }
    out = dict(grid)
    for c in range(127, 31 + 132 + 1):
        ch = code_char(c)
        if ch not in COMPOSED:
            continue
        base, acc = COMPOSED[ch]
        st = [list(x) for x in grid[ord(base) - 31]]
        if base == 'i':
            st = [x for x in st if min(p[1] for p in x) <= 5]
        x0, y0, x1, y1 = bbox(st)
        cx = (x0 + x1) // 2
        top = 8 if base.isupper() else 6
        out[c - 31] = st + accents[acc](cx, top)
    return out


# ---- outline fonts --------------------------------------------------------

def outline_set(fname, count):
    from fontTools.ttLib import TTFont
    from fontTools.pens.basePen import BasePen
    font = TTFont(os.path.join(GYRE, fname))
    gs = font.getGlyphSet()
    cmap = font.getBestCmap()
    cap = gs[cmap[ord('H')]]

    class Flat(BasePen):
        def __init__(self, glyphset):
            super().__init__(glyphset)
            self.contours, self.cur = [], []

        def _moveTo(self, p):
            self.cur = [p]

        def _lineTo(self, p):
            self.cur.append(p)

        def _curveToOne(self, p1, p2, p3):
            p0 = self.cur[-1]
            length = math.dist(p0, p1) + math.dist(p1, p2) + math.dist(p2, p3)
            n = max(2, min(10, int(length * scale / 12) + 1))
            for i in range(1, n + 1):
                t = i / n
                u = 1 - t
                self.cur.append((u ** 3 * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t ** 3 * p3[0],
                                 u ** 3 * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t ** 3 * p3[1]))

        def _closePath(self):
            if len(self.cur) > 1 and self.cur[-1] == self.cur[0]:
                self.cur.pop()
            if len(self.cur) >= 3:
                self.contours.append(self.cur)
            self.cur = []

        _endPath = _closePath

    from fontTools.pens.boundsPen import BoundsPen
    bp = BoundsPen(gs)
    cap.draw(bp)
    scale = 200.0 / bp.bounds[3]
    out = {}
    for c in range(33, 31 + count + 1):
        ch = code_char(c)
        name = cmap.get(ord(ch))
        st = []
        if name:
            pen = Flat(gs)
            gs[name].draw(pen)
            for cont in pen.contours:
                pts = []
                for x, y in cont:
                    p = (int(math.floor(x * scale + 0.5)), int(math.floor(y * scale + 0.5)))
                    if not pts or pts[-1] != p:
                        pts.append(p)
                if len(pts) > 1 and pts[-1] == pts[0]:
                    pts.pop()
                if len(pts) >= 3:
                    st.append(pts)
        out[c - 31] = st
    return out


# ---- packing --------------------------------------------------------------

def word(lo, hi):
    v = ((hi & 0xff) << 8) | (lo & 0xff)
    return v - 0x10000 if v >= 0x8000 else v


class Table:
    """One alphabet slot: points table and glyph records.  A stroke whose
    shape is already in the points table is stored as a reference with an
    offset instead of a copy."""

    def __init__(self, name, packed, offset_unit):
        self.name, self.packed, self.unit = name, packed, offset_unit
        self.px, self.py, self.index, self.start = [], [], [], []
        self.shapes = {}

    def add_stroke(self, pts):
        n = len(pts)
        key = tuple((x - pts[0][0], y - pts[0][1]) for x, y in pts)
        if key in self.shapes:
            s, (fx, fy) = self.shapes[key]
            dx, dy = (pts[0][0] - fx) / self.unit, (pts[0][1] - fy) / self.unit
            if dx == int(dx) and dy == int(dy) and -128 <= dx <= 127 and -128 <= dy <= 127:
                if dx == 0 and dy == 0:
                    return [n, s]
                return [-n, s, word(int(dx), int(dy))]
        s = len(self.px) + 1
        for x, y in pts:
            if self.packed:
                assert -128 <= x <= 127 and -128 <= y <= 127, (self.name, x, y)
            self.px.append(x)
            self.py.append(y)
        self.shapes[key] = (s, pts[0])
        return [n, s]

    def build(self, glyphs):
        last = max(glyphs) if glyphs else 1
        self.start = [0, 0]
        for k in range(2, last + 1):
            rec = []
            for st in glyphs.get(k, []):
                rec += self.add_stroke(st)
            self.start.append(len(self.index))
            self.index += [len(rec) + 1] + rec
        self.start.append(len(self.index))
        self.records = last

    def emit(self, out):
        n = self.name
        if self.packed:
            pts = [word(x, y) for x, y in zip(self.px, self.py)]
            out.append(array('std::int16_t', n + '_points', pts))
        else:
            out.append(array('std::int16_t', n + '_x', self.px))
            out.append(array('std::int16_t', n + '_y', self.py))
        out.append(array('std::int16_t', n + '_index', self.index))
        out.append(array('std::uint16_t', n + '_start', self.start))
        out.append('extern const GlyphTable %s;\nconst GlyphTable %s = {%s, %s, %s_index, %s_start, %d, %d, %d};\n' % (
            n, n, n + ('_points' if self.packed else '_x'), 'nullptr' if self.packed else n + '_y', n, n,
            len(self.px), len(self.index), self.records))


def array(ctype, name, values):
    body = []
    for i in range(0, len(values), 14):
        body.append('    ' + ', '.join(str(v) for v in values[i:i + 14]) + ',')
    if not values:
        body.append('    0,')
    return 'const %s %s[] = {\n%s\n};\n' % (ctype, name, '\n'.join(body))


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), '..', 'data', 'font_tables.cpp')
    simplex = hershey_set(read_jhf('rowmans'), 132)
    tables = [
        ('koralf_standard', True, small_national(small_grid(normalise(simplex)))),
        ('koralf_greek', True, small_grid(normalise(greek_set(read_jhf('greeks'))), centred=False)),
        ('simplx_standard', True, normalise(simplex)),
        ('simplx_greek', True, normalise(greek_set(read_jhf('greeks')))),
        ('complx_standard', True, normalise(hershey_set(read_jhf('timesr'), 155))),
        ('complx_italic', True, normalise(italic_set())),
        ('duplx_standard', True, normalise(hershey_set(read_jhf('rowmand'), 132))),
        ('triplx_standard', True, normalise(hershey_set(read_jhf('rowmant'), 132))),
        ('complex_greek', True, normalise(greek_set(read_jhf('greekc')))),
        ('shared_math', True, normalise(math_set())),
        ('shared_script', True, normalise(script_set())),
        ('shared_russian', True, normalise(russian_set())),
        ('helve_standard', False, normalise(outline_set('texgyreheros-regular.otf', 132))),
        ('helves_standard', False, normalise(outline_set('texgyreheroscn-regular.otf', 132))),
        ('serif_standard', False, normalise(outline_set('texgyretermes-regular.otf', 132))),
    ]
    out = ['// Glyph tables of the stroke and outline fonts.\n//\n'
           '// Generated by tools/gen_fonts.py from the Hershey fonts and the TeX\n'
           '// Gyre fonts (see tools/README.md); do not edit by hand.\n'
           '#include "text/glyph_table.hpp"\n\nnamespace korval::fontdata {\n\nnamespace {\n']
    tail = []
    for name, packed, glyphs in tables:
        t = Table(name, packed, 0.5 if packed else 2.0)
        t.build(glyphs)
        part = []
        t.emit(part)
        out += part[:-1]
        tail.append(part[-1])
        print('%-16s %5d points %5d words %4d records' % (name, len(t.px), len(t.index), t.records))
    out.append('}  // namespace\n')
    out += tail
    out.append('}  // namespace korval::fontdata\n')
    with open(target, 'w') as f:
        f.write('\n'.join(out))


if __name__ == '__main__':
    main()
