"""Small RTF writer for the document templates.

The templates are filled by a line-oriented engine, so the writer keeps to a
few layout rules that the engine relies on:
  * the header (font and colour tables, page setup) never holds "\\pard"; the
    first body line starts with "\\pard", so the header ends right before it;
  * every paragraph, table row and marker stands whole on one line, each line
    with balanced braces;
  * the last line is the lone "}" that closes the document.
Text is written in Windows-1250: letters beyond ASCII go as \\'xx escapes, the
Romanian comma-below letters as their cedilla twins, which the code page has.
"""

import re

PAPER = r"\paperw11906\paperh16838\margl1418\margr1134\margt1134\margb1134"
SECTION = (r"\sectd\pgwsxn11906\pghsxn16838\marglsxn1418\margrsxn1134"
           r"\margtsxn1134\margbsxn1134")
TEXT_WIDTH = 11906 - 1418 - 1134

_SUBSTITUTES = {
    "ș": "ş", "ț": "ţ", "Ș": "Ş", "Ț": "Ţ",
    "\u2019": "'",
}

MARKER = re.compile(r"\[[A-Za-z0-9]+\]")


def escape(text):
    """Plain text (with markers) as RTF in Windows-1250."""
    out = []
    for ch in text:
        ch = _SUBSTITUTES.get(ch, ch)
        if ch in "\\{}":
            raise ValueError("raw RTF character in text: %r" % text)
        code = ord(ch)
        if code < 128:
            out.append(ch)
        else:
            byte = ch.encode("cp1250")[0]
            out.append("\\'%02x" % byte)
    return "".join(out)


_INLINE = re.compile(r"(\*\*.+?\*\*|__.+?__|\t|~)")


def inline(text):
    """Text with light markup: **bold**, __underlined__, a tab, ~ a line break."""
    parts = []
    for piece in _INLINE.split(text):
        if not piece:
            continue
        if piece.startswith("**"):
            parts.append("{\\b " + escape(piece[2:-2]) + "}")
        elif piece.startswith("__"):
            parts.append("{\\ul " + escape(piece[2:-2]) + "}")
        elif piece == "\t":
            parts.append("\\tab ")
        elif piece == "~":
            parts.append("\\line ")
        else:
            parts.append(escape(piece))
    return "".join(parts)


class Doc:
    """One template: header plus body lines."""

    def __init__(self, title, size=24, align="j"):
        self.title = title
        self.size = size
        # Forms with dotted lines read better ragged than stretched.
        self.align = align
        self.lines = []

    # -- paragraphs -------------------------------------------------------
    def para(self, text, align=None, first=567, left=0, before=0, after=120,
             size=None, bold=False, keep=False, tabs=""):
        size = size or self.size
        align = align or self.align
        fmt = "\\pard\\plain\\q%s\\fi%d\\li%d\\sb%d\\sa%d\\sl276\\slmult1%s%s" % (
            align, first, left, before, after, "\\keepn" if keep else "", tabs)
        run = "\\f0\\fs%d\\lang1048" % size + ("\\b" if bold else "")
        self.lines.append(fmt + run + " " + inline(text) + "\\par")
        return self

    def p(self, text, **kw):
        return self.para(text, **kw)

    def left(self, text, **kw):
        kw.setdefault("first", 0)
        return self.para(text, align="l", **kw)

    def center(self, text, **kw):
        kw.setdefault("first", 0)
        return self.para(text, align="c", **kw)

    def right(self, text, **kw):
        kw.setdefault("first", 0)
        return self.para(text, align="r", **kw)

    def gap(self, count=1):
        for _ in range(count):
            self.lines.append("\\pard\\plain\\ql\\sa0\\f0\\fs%d\\lang1048 \\par" % self.size)
        return self

    def raw(self, line):
        self.lines.append(line)
        return self

    def bullets(self, items, **kw):
        for item in items:
            self.para("–\t" + item, first=-284, left=851, after=60,
                      tabs="\\tx851", **kw)
        return self

    # -- building blocks of town-hall papers ------------------------------
    def unit_heading(self, county="[JUDET]", unit="[PRIMARIA]", extra=()):
        self.left("**ROMÂNIA**", after=0)
        self.left("**JUDEȚUL " + county + "**", after=0)
        self.left("**" + unit + "**", after=0)
        for line in extra:
            self.left(line, after=0, size=20)
        return self

    def number_date(self, nr="[NR]", date="[DATAA]", before=120):
        self.left("Nr. " + nr + " din " + date, before=before, after=240)
        return self

    def title_block(self, title, *subtitles, before=240):
        self.center("**" + title + "**", before=before, after=60, size=self.size + 4)
        for sub in subtitles:
            self.center("**" + sub + "**", after=60)
        self.gap()
        return self

    def annex(self, text):
        self.right("__" + text + "__", after=120, size=20)
        return self

    def signatures(self, left=("PRIMAR,", "[PRIMAR]"), right=("SECRETAR GENERAL,", "[SECRETAR]"),
                   before=480):
        tabs = "\\tqc\\tx2300\\tqc\\tx7000"
        self.para("\t**" + left[0] + "**\t**" + right[0] + "**", align="l", first=0,
                  before=before, after=0, tabs=tabs, keep=True)
        self.para("\t" + left[1] + "\t" + right[1], align="l", first=0, after=0,
                  tabs=tabs, keep=True)
        self.para("\t(semnătura și ștampila)\t(semnătura)", align="l", first=0, after=0,
                  size=18, tabs=tabs)
        return self

    def one_signature(self, caption, name, note="(semnătura)", before=480):
        tabs = "\\tqc\\tx7000"
        self.para("\t**" + caption + "**", align="l", first=0, before=before, after=0,
                  tabs=tabs, keep=True)
        self.para("\t" + name, align="l", first=0, after=0, tabs=tabs, keep=True)
        if note:
            self.para("\t" + note, align="l", first=0, after=0, size=18, tabs=tabs)
        return self

    def drafted_by(self, clerk="[FUNCTIONAR]"):
        self.left("Întocmit: " + clerk, before=360, size=18, after=0)
        return self

    # -- tables -----------------------------------------------------------
    def table(self, widths, rows, header=True, size=20, align=None):
        """Rows of cells; one line per row. `widths` are twips per column."""
        align = align or ["l"] * len(widths)
        border = "\\brdrs\\brdrw10"
        for index, cells in enumerate(rows):
            defs = ["\\trowd\\trgaph70\\trleft0\\trqc"]
            right = 0
            for width in widths:
                right += width
                defs.append("\\clbrdrt%s\\clbrdrl%s\\clbrdrb%s\\clbrdrr%s\\clvertalc\\cellx%d"
                            % (border, border, border, border, right))
            body = []
            for col, cell in enumerate(cells):
                bold = "\\b" if header and index == 0 else ""
                body.append("\\pard\\plain\\intbl\\q%s\\f0\\fs%d\\lang1048%s %s\\cell"
                            % (align[col] if not (header and index == 0) else "c",
                               size, bold, inline(cell)))
            self.lines.append("".join(defs) + "".join(body) + "\\row")
        # Leave the table: a fresh paragraph outside it.
        self.lines.append("\\pard\\plain\\ql\\sa0\\f0\\fs%d\\lang1048 \\par" % self.size)
        return self

    # -- output -----------------------------------------------------------
    def header(self):
        return [
            "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1048\\deflangfe1048",
            "{\\fonttbl{\\f0\\froman\\fcharset238\\fprq2 Times New Roman;}"
            "{\\f1\\fswiss\\fcharset238\\fprq2 Arial;}}",
            "{\\colortbl;\\red0\\green0\\blue0;}",
            "{\\info{\\title " + escape(self.title) + "}}",
            PAPER + "\\viewkind4\\widowctrl\\ftnbj",
            SECTION,
        ]

    def text(self):
        lines = self.header() + self.lines + ["}"]
        for line in lines:
            if line.count("{") != line.count("}") and line not in (lines[0], lines[-1]):
                raise ValueError("unbalanced line: " + line)
        return "\n".join(lines) + "\n"


class Fill:
    """Chooses between a marker (document template) and a dotted line (blank form)."""

    def __init__(self, blank):
        self.blank = blank

    def __call__(self, marker, dots=20):
        return "." * dots if self.blank else marker


def markers_of(text):
    """Markers of a template in order of first appearance, without duplicates."""
    seen = []
    for m in MARKER.findall(text):
        if m not in seen:
            seen.append(m)
    return seen
