"""Reads our plain-text note files and writes Standard MIDI files.

The note format is described in README.md beside this file. In short: a header
(file, tempo, meter, parts, drum names, macros), then sections whose lines give
one part's bars, separated by "|", and a "play" line with the order of the sections.
Every bar is checked to add up to exactly one bar, so a piece always ends on a bar
line and loops cleanly.
"""

import re
import struct
from fractions import Fraction

# General MIDI percussion keys under short names; a file may add its own with "drum".
DRUM_KEYS = {
    "kick2": 35, "kick": 36, "stick": 37, "snare": 38, "clap": 39, "snare2": 40,
    "tomfloor": 41, "hat": 42, "tomlow": 45, "pedal": 44, "ophat": 46, "tommid": 47,
    "tomhigh": 50, "crash": 49, "ride": 51, "china": 52, "bell": 53, "tamb": 54,
    "splash": 55, "cowbell": 56, "crash2": 57, "cabasa": 69, "shaker": 70,
    "clave": 75, "woodblock": 76, "mutetri": 80, "tri": 81,
}

PITCH_CLASSES = {"c": 0, "d": 2, "e": 4, "f": 5, "g": 7, "a": 9, "b": 11}

NOTE_RE = re.compile(r"^([a-g])(#|b)?(-?\d)$")
DURATION_RE = re.compile(r"^(1|2|4|8|16|32)(\.{0,2})(t?)$")
SUFFIXES = "~>'<="


class NoteError(Exception):
    pass


class Part:
    def __init__(self, name, channel, program):
        self.name = name
        self.channel = channel          # 1..16 as musicians count them
        self.program = program          # General MIDI number 1..128, or None
        self.volume = 100
        self.pan = 64
        self.reverb = 40
        self.chorus = 0
        self.velocity = 90
        self.gate = Fraction(9, 10)

    @property
    def is_drums(self):
        return self.channel == 10


class Section:
    def __init__(self, name):
        self.name = name
        self.lines = {}                 # key ("melody" or "drums/kick") -> list of token lists per bar
        self.order = []


class Piece:
    def __init__(self):
        self.file = None
        self.title = None
        self.tempo = 120.0
        self.meter = (4, 4)
        self.ppq = 480
        self.parts = {}
        self.part_order = []
        self.drums = dict((k, (v, 0)) for k, v in DRUM_KEYS.items())
        self.macros = {}
        self.sections = {}
        self.play = []

    @property
    def bar_length(self):
        """One bar in whole notes."""
        return Fraction(self.meter[0], self.meter[1])


# ------------------------------------------------------------------ reading

def _strip_comment(line):
    # "#" starts a comment at the start of a line or after a space; in f#4 it is a sharp
    return re.split(r"(?:^|(?<=\s))#", line, maxsplit=1)[0].rstrip()


def _options(words, where):
    if len(words) % 2:
        raise NoteError("%s: options come in name value pairs" % where)
    return dict(zip(words[::2], words[1::2]))


def parse(text, source="<notes>"):
    piece = Piece()
    section = None
    for number, raw in enumerate(text.splitlines(), 1):
        where = "%s:%d" % (source, number)
        line = _strip_comment(raw)
        if not line.strip():
            continue
        head, _, rest = line.strip().partition(" ")
        rest = rest.strip()
        if re.match(r"^[\w/]+\s*:", line.strip()):
            if section is None:
                raise NoteError("%s: a part line outside a section" % where)
            key, _, content = line.strip().partition(":")
            _add_line(piece, section, key.strip(), content, where)
            continue
        if head == "file":
            piece.file = rest
        elif head == "title":
            piece.title = rest.strip('"')
        elif head == "tempo":
            piece.tempo = float(rest)
        elif head == "meter":
            n, d = rest.split("/")
            piece.meter = (int(n), int(d))
        elif head == "ppq":
            piece.ppq = int(rest)
        elif head == "part":
            words = rest.split()
            opts = _options(words[1:], where)
            part = Part(words[0], int(opts.pop("channel")), None)
            if "program" in opts:
                part.program = int(opts.pop("program"))
            for name in ("volume", "pan", "reverb", "chorus", "velocity"):
                if name in opts:
                    setattr(part, name, int(opts.pop(name)))
            if "gate" in opts:
                part.gate = Fraction(opts.pop("gate"))
            if opts:
                raise NoteError("%s: unknown part options %s" % (where, sorted(opts)))
            piece.parts[part.name] = part
            piece.part_order.append(part.name)
        elif head == "drum":
            words = rest.split()
            piece.drums[words[0]] = (int(words[1]), int(words[2]) if len(words) > 2 else 0)
        elif head == "define":
            name, _, body = rest.partition("=")
            piece.macros[name.strip()] = _tokenize(body)
        elif head == "section":
            section = Section(rest)
            if rest in piece.sections:
                raise NoteError("%s: section %s defined twice" % (where, rest))
            piece.sections[rest] = section
        elif head == "play":
            piece.play.extend(rest.split())
            section = None
        else:
            raise NoteError("%s: cannot read %r" % (where, line.strip()))
    _check(piece, source)
    return piece


def _expand(piece, tokens, where, depth=0):
    out = []
    for tok in tokens:
        if tok.startswith("@"):
            name, *args = tok[1:].split(":")
            if name not in piece.macros:
                raise NoteError("%s: unknown macro %s" % (where, name))
            if depth > 8:
                raise NoteError("%s: macros nest too deep" % where)
            body = []
            for b in piece.macros[name]:
                for i in range(len(args), 0, -1):
                    b = b.replace("$%d" % i, args[i - 1])
                if "$" in b:
                    raise NoteError("%s: macro %s needs more arguments" % (where, name))
                body.append(b)
            out.extend(_expand(piece, body, where, depth + 1))
        else:
            out.append(tok)
    return out


def _tokenize(content):
    # chords are written [c4 e4 g4]/2 and stay one token
    return re.findall(r"\[[^\]]*\]\S*|\S+", content)


def _add_line(piece, section, key, content, where):
    part_name = key.split("/")[0]
    if part_name not in piece.parts:
        raise NoteError("%s: unknown part %s" % (where, part_name))
    part = piece.parts[part_name]
    if part.is_drums != ("/" in key):
        raise NoteError("%s: drum lines are written part/instrument, other parts by name alone" % where)
    if part.is_drums and key.split("/")[1] not in piece.drums:
        raise NoteError("%s: unknown drum %s" % (where, key.split("/")[1]))
    tokens = _expand(piece, _tokenize(content), where)
    bars = section.lines.setdefault(key, [])
    if key not in section.order:
        section.order.append(key)
    current = []
    for tok in tokens + ["|"]:
        if tok == "|":
            if current:
                bars.append((current, where))
            current = []
        elif tok == "%":
            if not bars:
                raise NoteError("%s: %% repeats the previous bar, but there is none" % where)
            bars.append((list(bars[-1][0]), where))
        else:
            current.append(tok)


def _check(piece, source):
    if not piece.file:
        raise NoteError("%s: no file line" % source)
    for name in piece.play:
        if name not in piece.sections:
            raise NoteError("%s: play names unknown section %s" % (source, name))
    if not piece.play:
        raise NoteError("%s: nothing to play" % source)


# ------------------------------------------------------------------ events

def parse_note(tok):
    m = NOTE_RE.match(tok)
    if not m:
        return None
    letter, accidental, octave = m.groups()
    pitch = 12 * (int(octave) + 1) + PITCH_CLASSES[letter]
    pitch += {"#": 1, "b": -1, None: 0}[accidental]
    if not 0 <= pitch <= 127:
        return None
    return pitch


def parse_duration(text):
    m = DURATION_RE.match(text)
    if not m:
        return None
    base, dots, triplet = m.groups()
    d = Fraction(1, int(base))
    add = d
    for _ in dots:
        add /= 2
        d += add
    if triplet:
        d = d * Fraction(2, 3)
    return d


def split_token(tok):
    """'c5/8.>' -> ('c5', '8.', '>'); '[c4 e4]/2~' -> ('[c4 e4]', '2', '~')."""
    suffix = ""
    while tok and tok[-1] in SUFFIXES:
        suffix = tok[-1] + suffix
        tok = tok[:-1]
    if "/" in tok:
        body, dur = tok.rsplit("/", 1)
    else:
        body, dur = tok, None
    return body, dur, suffix


class Event:
    __slots__ = ("tick", "order", "data")

    def __init__(self, tick, order, data):
        self.tick = tick
        self.order = order
        self.data = data


def metric_accent(position, piece):
    """A little weight on the downbeat and the beats, less on the off-sixteenths."""
    beat = Fraction(1, piece.meter[1])
    if position == 0:
        return 6
    if position % beat == 0:
        return 3
    if position % (beat / 2) == 0:
        return 0
    return -3


def render(piece):
    """Turns the piece into (total ticks, {part name: [(start, end, key, velocity)]})."""
    ticks_per_whole = piece.ppq * 4
    bar = piece.bar_length
    notes = dict((name, []) for name in piece.part_order)
    open_ties = dict((name, {}) for name in piece.part_order)
    start_bar = 0
    for sec_name in piece.play:
        section = piece.sections[sec_name]
        nbars = max([len(b) for b in section.lines.values()] or [0])
        for key in section.order:
            if len(section.lines[key]) != nbars:
                raise NoteError("section %s: %s has %d bars, the section %d"
                                % (sec_name, key, len(section.lines[key]), nbars))
        for key in section.order:
            part_name = key.split("/")[0]
            part = piece.parts[part_name]
            state = {"velocity": part.velocity}    # a "v" token holds to the end of the section
            for bar_index, (tokens, where) in enumerate(section.lines[key]):
                bar_start = (start_bar + bar_index) * bar
                if part.is_drums:
                    _drum_bar(piece, part, key.split("/")[1], tokens, bar_start, where, notes[part_name])
                else:
                    _note_bar(piece, part, tokens, bar_start, where, notes[part_name], open_ties[part_name],
                              state)
        start_bar += nbars
    for name, ties in open_ties.items():
        if ties:
            raise NoteError("part %s ends on a tie" % name)
    total = start_bar * bar
    result = {}
    for name, lst in notes.items():
        for s, _, _, _ in lst:
            if (s * ticks_per_whole).denominator != 1:
                raise NoteError("part %s: a note starts between ticks; raise ppq" % name)
        # a shortened note ends on the tick at or before its exact end
        result[name] = [(int(s * ticks_per_whole), int(e * ticks_per_whole), k, v) for s, e, k, v in lst]
    return int(total * ticks_per_whole), result


def _note_bar(piece, part, tokens, bar_start, where, out, ties, state):
    pos = Fraction(0)
    duration = Fraction(1, 4)
    for tok in tokens:
        if re.match(r"^v\d+$", tok):
            state["velocity"] = int(tok[1:])
            continue
        velocity = state["velocity"]
        body, dur, suffix = split_token(tok)
        if dur is not None:
            d = parse_duration(dur)
            if d is None:
                raise NoteError("%s: bad duration in %r" % (where, tok))
            duration = d
        if body == "r":
            keys = []
        elif body.startswith("[") and body.endswith("]"):
            keys = [parse_note(n) for n in body[1:-1].split()]
        else:
            keys = [parse_note(body)]
        if None in keys:
            raise NoteError("%s: cannot read note %r" % (where, tok))
        start = bar_start + pos
        vel = velocity + metric_accent(pos, piece)
        if ">" in suffix:
            vel += 16
        if "<" in suffix:
            vel -= 16
        vel = max(1, min(127, vel))
        if "'" in suffix:
            gate = Fraction(1, 2)
        elif "=" in suffix:
            gate = Fraction(1)
        else:
            gate = part.gate
        held = dict(ties)
        ties.clear()
        for k in keys:
            if k in held:
                s, v = held.pop(k)         # continues a tied note
            else:
                s, v = start, vel
            if "~" in suffix:
                ties[k] = (s, v)
            else:
                end = start + duration * gate if gate < 1 else start + duration
                out.append((s, end, k, v))
        if held:
            raise NoteError("%s: a tie does not reach the same note in %r" % (where, tok))
        pos += duration
    if pos != piece.bar_length:
        raise NoteError("%s: bar %s holds %s of a whole note, not %s"
                        % (where, " ".join(tokens), pos, piece.bar_length))


def _drum_bar(piece, part, instrument, tokens, bar_start, where, out):
    grid = "".join(tokens)
    if not grid:
        raise NoteError("%s: empty drum bar" % where)
    step = piece.bar_length / len(grid)
    key, offset = piece.drums[instrument]
    length = min(step, Fraction(1, 32))
    for i, c in enumerate(grid):
        if c in ".-":
            continue
        if c not in "xXo":
            raise NoteError("%s: drum steps are x, X, o or . (got %r)" % (where, c))
        pos = step * i
        vel = part.velocity + offset + metric_accent(pos, piece)
        vel += {"x": 0, "X": 20, "o": -30}[c]
        vel = max(1, min(127, vel))
        out.append((bar_start + pos, bar_start + pos + length, key, vel))


# ------------------------------------------------------------------ writing

def _vlq(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.append(0x80 | (n & 0x7F))
        n >>= 7
    return bytes(reversed(out))


def _track(events, total):
    """events: (tick, order, bytes). Ends with End of Track exactly at total."""
    events = sorted(events, key=lambda e: (e[0], e[1]))
    data = bytearray()
    now = 0
    for tick, _, payload in events:
        if tick > total:
            raise NoteError("an event lies after the end of the piece")
        data += _vlq(tick - now) + payload
        now = tick
    data += _vlq(total - now) + b"\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(data)) + bytes(data)


def _meta_text(kind, text):
    raw = text.encode("ascii", "replace")
    return bytes([0xFF, kind]) + _vlq(len(raw)) + raw


def to_midi(piece):
    total, notes = render(piece)
    tracks = []
    tempo_us = int(round(60000000 / piece.tempo))
    meta = [(0, 0, _meta_text(0x03, piece.title or piece.file)),
            (0, 1, b"\xff\x51\x03" + tempo_us.to_bytes(3, "big")),
            (0, 2, bytes([0xFF, 0x58, 0x04, piece.meter[0], piece.meter[1].bit_length() - 1, 24, 8]))]
    tracks.append(_track(meta, total))
    for name in piece.part_order:
        part = piece.parts[name]
        ch = part.channel - 1
        ev = [(0, 0, _meta_text(0x03, name)),
              (0, 1, bytes([0xB0 | ch, 121, 0])),           # reset controllers
              (0, 2, bytes([0xB0 | ch, 0, 0]))]             # bank 0
        if part.program is not None:
            ev.append((0, 3, bytes([0xC0 | ch, part.program - 1])))
        ev += [(0, 4, bytes([0xB0 | ch, 7, part.volume])),
               (0, 5, bytes([0xB0 | ch, 10, part.pan])),
               (0, 6, bytes([0xB0 | ch, 11, 127])),
               (0, 7, bytes([0xB0 | ch, 91, part.reverb])),
               (0, 8, bytes([0xB0 | ch, 93, part.chorus]))]
        for start, end, key, vel in notes[name]:
            if end <= start:
                end = start + 1
            # note-offs sort before note-ons at the same tick, so repeated notes retrigger
            ev.append((end, 10, bytes([0x80 | ch, key, 0])))
            ev.append((start, 20, bytes([0x90 | ch, key, vel])))
        tracks.append(_track(ev, total))
    header = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), piece.ppq)
    return header + b"".join(tracks), total


def summary(piece):
    total, notes = render(piece)
    seconds = total / piece.ppq * 60.0 / piece.tempo
    bars = total // (piece.ppq * 4 * piece.meter[0] // piece.meter[1])
    counts = ", ".join("%s %d" % (n, len(notes[n])) for n in piece.part_order)
    return "%d bars, %.1f s; notes: %s" % (bars, seconds, counts)
