"""A screenshot read as a user reads the screen: its words (tesseract) and each word's contrast
against what lies behind it (the WCAG ratio of its two dominant colours), toolkit-blind."""

import collections
import difflib
import os
import re
import subprocess
import tempfile
from dataclasses import dataclass

LEAST_CONTRAST = 4.5  # WCAG's, for body text
SURE = 60  # a word tesseract is this sure of is text a user would read
_TIMEOUT = 60


@dataclass(frozen=True)
class Region:
    x: int
    y: int
    width: int
    height: int

    def contains(self, other, slack=2):
        return (other.x >= self.x - slack and other.y >= self.y - slack
                and other.x + other.width <= self.x + self.width + slack
                and other.y + other.height <= self.y + self.height + slack)


# box: in the picture's own pixels; line: (region read, block, paragraph, line), shared by a line's words.
Word = collections.namedtuple("Word", "text confidence box line")
Contrast = collections.namedtuple("Contrast", "word ratio colours")


class Picture:
    def __init__(self, png):
        data = subprocess.run(["convert", png, "-alpha", "off", "-depth", "8", "ppm:-"], capture_output=True,
                              check=True, timeout=_TIMEOUT).stdout
        fields = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
        self.width, self.height = int(fields.group(1)), int(fields.group(2))
        self.pixels = data[fields.end():]

    def region_pixels(self, region):
        """The region's pixels (clipped to the picture), as (r, g, b)."""
        left, right = max(region.x, 0), min(region.x + region.width, self.width)
        rows = (self.pixels[(y * self.width + left) * 3:(y * self.width + right) * 3]
                for y in range(max(region.y, 0), min(region.y + region.height, self.height)))
        return [pixel for row in rows for pixel in zip(row[0::3], row[1::3], row[2::3])]


def relative_luminance(colour):
    def channel(value):
        value /= 255
        return value / 12.92 if value <= 0.04045 else ((value + 0.055) / 1.055) ** 2.4

    red, green, blue = (channel(value) for value in colour)
    return 0.2126 * red + 0.7152 * green + 0.0722 * blue


def contrast_ratio(first, second):
    """The WCAG contrast ratio of two colours, 1 (none) to 21 (black on white)."""
    lighter, darker = sorted((relative_luminance(first), relative_luminance(second)), reverse=True)
    return (lighter + 0.05) / (darker + 0.05)


def dominant_colours(pixels):
    """Background (the most frequent colour) and ink of a patch of text. Anti-aliasing blends the
    ink into the background and a background may shade, so the ink is the colour that stands
    out more than all but the strongest twentieth of the patch: a stray pixel cannot sway it."""
    counts = collections.Counter(pixels)
    background = max(counts, key=counts.get)
    ranked = sorted(counts, key=lambda colour: contrast_ratio(colour, background), reverse=True)
    strongest = len(pixels) // 20
    for colour in ranked:
        strongest -= counts[colour]
        if strongest < 0:
            return background, colour
    return background, background


_LAYOUTS = {"sparse": "11", "line": "7", "block": "6"}


def read_words(png, region=None, upscale=2, layout="sparse"):
    """The words tesseract reads in the picture (or its region), enlarged and in grey, as it reads
    larger letters better and dark and light text alike then; layout: sparse (labels), line, block."""
    with tempfile.TemporaryDirectory() as scratch:
        enlarged = os.path.join(scratch, "enlarged.png")
        args = ["convert", png, "-alpha", "off"]
        if region:
            args += ["-crop", f"{region.width}x{region.height}+{region.x}+{region.y}", "+repage"]
        args += ["-colorspace", "gray", "-filter", "Catrom", "-resize", f"{upscale * 100}%", enlarged]
        subprocess.run(args, check=True, capture_output=True, timeout=_TIMEOUT)
        table = subprocess.run(["tesseract", enlarged, "stdout", "--psm", _LAYOUTS[layout], "-l", "eng", "tsv"],
                               capture_output=True, text=True, check=True, timeout=_TIMEOUT,
                               env={**os.environ, "OMP_THREAD_LIMIT": "1"}).stdout
    words = []
    rows = table.splitlines() or [""]
    left, top = (region.x, region.y) if region else (0, 0)
    for cells in (dict(zip(rows[0].split("\t"), row.split("\t"))) for row in rows[1:]):
        if cells.get("level") == "5" and cells.get("text", "").strip():
            box = Region(left + int(cells["left"]) // upscale, top + int(cells["top"]) // upscale,
                         -(-int(cells["width"]) // upscale), -(-int(cells["height"]) // upscale))
            line = (region, cells["block_num"], cells["par_num"], cells["line_num"])
            words.append(Word(cells["text"].strip(), float(cells["conf"]), box, line))
    return words


def _plain(text):
    return re.sub(r"[^0-9a-z]", "", text.lower())


def _alike(seen, wanted):
    seen = _plain(seen)
    return seen == wanted or (len(wanted) > 3 and difflib.SequenceMatcher(None, seen, wanted).ratio() >= 0.8)


def find_text(words, text):
    """The words that read as text (in a row on one line, letters and digits without case, a long
    word allowed an OCR slip); None when absent."""
    wanted = [_plain(part) for part in text.split() if _plain(part)]
    if not wanted:
        raise ValueError(f"{text!r} holds no letter or digit to look for")
    for start, first in enumerate(words):
        run = [word for word in words[start:] if word.line == first.line][:len(wanted)]
        if len(run) == len(wanted) and all(_alike(word.text, part) for word, part in zip(run, wanted)):
            return run
    # A phrase tesseract ran together ("Pausescreen") or split unevenly: the line's letters.
    for line in dict.fromkeys(word.line for word in words):
        letters = "".join(_plain(word.text) for word in words if word.line == line)
        if "".join(wanted) in letters:
            return [word for word in words if word.line == line]
    return None


def missing_texts(words, texts):
    return [text for text in texts if find_text(words, text) is None]


def words_to_measure(words, texts=()):
    """Words read with confidence, and those of each text found (faint text is read unsurely); a
    letter alone is too small a patch to measure."""
    found = [word for text in texts for word in find_text(words, text) or ()]
    chosen = [word for word in words if word.confidence >= SURE] + found
    return list({id(word): word for word in chosen if len(_plain(word.text)) >= 2}.values())


def measure_contrast(png, words, leave_out=()):
    """Each word's contrast, but for words inside the regions of leave_out (say, disabled controls)."""
    picture = Picture(png)
    found = []
    for word in words:
        pixels = picture.region_pixels(word.box)
        if pixels and not any(region.contains(word.box) for region in leave_out):
            colours = dominant_colours(pixels)
            found.append(Contrast(word, contrast_ratio(*colours), colours))
    return found


def faint(contrasts):
    return [measured for measured in contrasts if measured.ratio < LEAST_CONTRAST]


def describe(contrast):
    box = contrast.word.box
    hexes = " on ".join("#%02x%02x%02x" % colour for colour in reversed(contrast.colours))
    return f"{contrast.word.text!r} at {box.x},{box.y} {contrast.ratio:.1f}:1 ({hexes})"
