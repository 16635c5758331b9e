#!/usr/bin/env python3
"""The Python the build and test scripts share, one function a job, each also a command:

  python3 tools/lib/rushmora_tools.py JOB ARGS...

  actions DEF                        the game's actions (src/actions/actions.def) as JSON
  page PAGE PACKAGES DEF OUT         the web page with its data parts' listing and the actions in it
  readme DEF TEXT                    TEXT with its @KEYS_JA@ and @KEYS_EN@ lines made from DEF (stdout)
  actions-doc DEF DOC [--check]      DOC's table of the actions (between its <!-- actions --> marks)
                                     made anew from DEF; --check: fail if it is not as made
  recording WAV FRAMES               a recording of FRAMES game frames: its length, and sound in it
  same-pixels A.png B.png            how many pixels differ (fails when any do; needs Pillow)
  same-pictures DIR_A DIR_B FILE...  each FILE the same pixels in both folders (needs Pillow)
  zip-names ZIP                      the names inside a zip, one a line
  has-modules NAME...                whether this python can import them all (status 0 or 1)
  xwd-window DUMP                    whether an xwd dump shows the game's frame window (status 0 or 1)
  xwd-screens WORK STEP...           xwd dumps WORK/STEP-1.xwd and -2.xwd: the frame window shows
                                     in the first, and the two differ (the game drew in between)
  wayland-title OUT                  the Wayland test's first run: the title, and the frame window
  wayland-scaled OUT                 its run on a scaled output: the screen size, the caption
  sound-heard WORK NAME...           WORK/NAME.raw (16-bit samples a sink heard) each long and loud

Pillow is Debian's python3-pil: the jobs that read pictures run under /usr/bin/python3. A check
that fails prints why and ends with status 1."""

import json
import os
import re
import struct
import sys


class Failure(Exception):
    """A check that did not hold, with what was found."""


# The frame window's caption bar: blue, over a desktop that is not.
CAPTION = (305, 133)


def is_caption_blue(rgb, margin=40):
    """Whether a pixel is of the frame window's blue caption: blue above red and green by margin."""
    r, g, b = rgb[:3]
    return b > r + margin and b > g + margin


# ---- The game's actions -------------------------------------------------------------------------

_STRING = r'"((?:[^"\\]|\\.)*)"'
_ACTION = re.compile(r"^RUSHMORA_ACTION\(\s*([a-z][a-z0-9_]*)\s*,\s*(VK_[A-Z0-9_]+|'[A-Z0-9]')\s*,\s*" + _STRING +
                     r"\s*,\s*([0-9]+)\s*,\s*" + _STRING + r"\s*,\s*" + _STRING + r"\s*\)\s*$")


def _unquote(text):
    return re.sub(r"\\(.)", r"\1", text)


def parse_actions(text, name="actions.def"):
    """The actions of actions.def's text, in its order: name, read (the virtual key the game tests),
    key (the default key, as SDL names it), pad (the pad's button, 0 for none), ja, en. Comments and
    blank lines aside, a line that is not one whole action, a name or a default key given twice, or
    a list with no action, raise ValueError naming the line."""
    actions, names, keys = [], {}, {}
    for number, line in enumerate(text.splitlines(), 1):
        stripped = line.strip()
        if not stripped or stripped.startswith("//"):
            continue
        m = _ACTION.match(stripped)
        where = "%s:%d" % (name, number)
        if not m:
            raise ValueError("%s: not an action as RUSHMORA_ACTION(name, VK_ or 'X', \"key\", button, "
                             "\"Japanese\", \"English\") writes one: %s" % (where, stripped))
        action = {"name": m.group(1), "read": m.group(2), "key": _unquote(m.group(3)), "pad": int(m.group(4)),
                  "ja": _unquote(m.group(5)), "en": _unquote(m.group(6))}
        if not action["key"] or not action["ja"] or not action["en"]:
            raise ValueError("%s: the action %s has an empty key or meaning" % (where, action["name"]))
        if action["name"] in names:
            raise ValueError("%s: the action %s is in line %d already" % (where, action["name"], names[action["name"]]))
        if action["key"] in keys:
            raise ValueError("%s: the key %s plays %s already (line %d)" % (where, action["key"],
                                                                             keys[action["key"]][0], keys[action["key"]][1]))
        names[action["name"]] = number
        keys[action["key"]] = (action["name"], number)
        actions.append(action)
    if not actions:
        raise ValueError("%s: no RUSHMORA_ACTION line" % name)
    return actions


def read_actions(path):
    with open(path, encoding="utf-8") as f:
        return parse_actions(f.read(), path)


def script_json(value):
    """JSON to stand in a page's <script>: nothing in it can end the script element."""
    return json.dumps(value, ensure_ascii=False).replace("</", "<\\/")


def fill_page(page, packages, actions):
    """The web page with its placeholders filled: @PACKAGES@ with the data parts' listing (JSON
    text, as pack-data writes it) and @ACTIONS@ with the game's actions (as parse_actions gives
    them; the page needs no virtual key)."""
    for placeholder in ("@PACKAGES@", "@ACTIONS@"):
        if page.count(placeholder) != 1:
            raise ValueError("the page holds %d %s, not one" % (page.count(placeholder), placeholder))
    listing = script_json(json.loads(packages))
    shown = [{k: a[k] for k in ("name", "key", "pad", "ja", "en")} for a in actions]
    return page.replace("@PACKAGES@", listing).replace("@ACTIONS@", script_json(shown))


ACTIONS_BEGIN = "<!-- actions: made from src/actions/actions.def by tools/lib/rushmora_tools.py actions-doc -->"
ACTIONS_END = "<!-- end of actions -->"
PAD_NAMES = {1: "A", 2: "B", 3: "X", 4: "Y", 5: "LB", 6: "RB", 7: "Back", 8: "Start", 9: "left stick", 10: "right stick"}


def actions_table(actions):
    """The actions as a Markdown table: what each does, its default key, its pad button (the game's
    number, and the button of an Xbox-style pad; none for the directions, which the stick plays), and
    its name in settings.ini."""
    rows = ["| action | key | pad | settings.ini |", "|---|---|---|---|"]
    for a in actions:
        pad = "%d (%s)" % (a["pad"], PAD_NAMES[a["pad"]]) if a["pad"] in PAD_NAMES else ""
        rows.append("| %s (%s) | %s | %s | `%s` |" % (a["en"], a["ja"], a["key"], pad, a["name"]))
    return "\n".join(rows)


def with_actions_table(doc, actions):
    """The document with the text between its actions marks made anew."""
    if doc.count(ACTIONS_BEGIN) != 1 or doc.count(ACTIONS_END) != 1 or doc.index(ACTIONS_BEGIN) > doc.index(ACTIONS_END):
        raise ValueError("the document needs one %s and, after it, one %s" % (ACTIONS_BEGIN, ACTIONS_END))
    head, rest = doc.split(ACTIONS_BEGIN)
    _, tail = rest.split(ACTIONS_END)
    return head + ACTIONS_BEGIN + "\n" + actions_table(actions) + "\n" + ACTIONS_END + tail


def keys_text(actions, language):
    """The actions as the lines of a plain-text readme: the key, then what it does."""
    return "\n".join("  %-10s  %s" % (a["key"], a[language]) for a in actions)


def filled_readme(text, actions):
    """A readme with its @KEYS_JA@ and @KEYS_EN@ lines made from the actions."""
    for placeholder in ("@KEYS_JA@", "@KEYS_EN@"):
        if text.count(placeholder) != 1:
            raise ValueError("the readme holds %d %s, not one" % (text.count(placeholder), placeholder))
    return text.replace("@KEYS_JA@", keys_text(actions, "ja")).replace("@KEYS_EN@", keys_text(actions, "en"))


# ---- Recordings and pictures --------------------------------------------------------------------

def wav_sound(path):
    """A 16-bit WAV file's frames, rate, and the share of its samples that are not silent."""
    import wave
    with wave.open(path) as w:
        frames, rate, data = w.getnframes(), w.getframerate(), w.readframes(w.getnframes())
    samples = struct.unpack("<%dh" % (len(data) // 2), data)
    return frames, rate, sum(1 for s in samples if s) / max(1, len(samples))


def check_recording(path, game_frames, ms_a_frame=16):
    """A recording of game_frames frames lasts as long, within a tenth of a second, and sounds
    (half its samples or more). Gives a line that says so."""
    frames, rate, sounding = wav_sound(path)
    if abs(frames - game_frames * ms_a_frame * rate // 1000) > rate // 10 or sounding < 0.5:
        raise Failure("the recording has %d frames, %.0f%% of its samples sounding" % (frames, 100 * sounding))
    return "%.1f s of sound, %.0f%% of its samples sounding" % (frames / rate, 100 * sounding)


def differing_pixels(a_path, b_path):
    """How many pixels of two pictures differ (in any channel, as RGBA), and how many there are."""
    from PIL import Image, ImageChops
    a, b = (Image.open(f).convert("RGBA") for f in (a_path, b_path))
    if a.size != b.size:
        raise Failure("sizes differ: %dx%d and %dx%d" % (a.size + b.size))
    r, g, bl, al = ImageChops.difference(a, b).split()
    most = ImageChops.lighter(ImageChops.lighter(r, g), ImageChops.lighter(bl, al))
    total = a.size[0] * a.size[1]
    return total - most.histogram()[0], total


def read_xwd(path):
    """An xwd dump of a 24-bit screen (32 bits a pixel, or 24 as xwd writes some): its pixel bytes
    and a reader of the pixel at (x, y) as (red, green, blue)."""
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 100:
        raise Failure("%s is no xwd dump (%d bytes)" % (path, len(data)))
    h = struct.unpack(">25I", data[:100])
    header_size, bits, bpl, ncolors = h[0], h[11], h[12], h[19]
    red, green, blue, lsb_first = h[14], h[15], h[16], h[7] == 0
    if bits not in (24, 32):
        raise Failure("%s has %d bits a pixel" % (path, bits))
    pixels = data[header_size + 12 * ncolors:]
    size = bits // 8

    def at(x, y):
        word = pixels[y * bpl + size * x:y * bpl + size * x + size]
        v = int.from_bytes(word, "little" if lsb_first else "big")
        return tuple((v & m) >> ((m & -m).bit_length() - 1) for m in (red, green, blue))
    return pixels, at


def check_xwd_screens(work, steps):
    """For each step two dumps half a second apart: the first shows the frame window, and the
    game drew in between (the two differ)."""
    for step in steps:
        a, at = read_xwd(os.path.join(work, step + "-1.xwd"))
        b, _ = read_xwd(os.path.join(work, step + "-2.xwd"))
        if not is_caption_blue(at(*CAPTION)):
            raise Failure("%s: no frame window on the screen (caption pixel %s)" % (step, at(*CAPTION)))
        if a == b:
            raise Failure("%s: the screen did not change in half a second" % step)


def check_wayland_title(out):
    """The Wayland run reached the title, and its screenshot shows the frame window's caption over a
    desktop that is not sway's plain grey."""
    from PIL import Image
    with open(os.path.join(out, "dump.json")) as f:
        scene = (json.load(f).get("scene") or {}).get("name")
    if scene != "TitleScene":
        raise Failure("the key did not take the opening to the title (scene: %s)" % scene)
    shot = Image.open(os.path.join(out, "screen.png")).convert("RGB")
    left, grey = shot.getpixel(CAPTION), shot.getpixel((5, 5))
    if shot.size[0] < 940 or left == grey or not is_caption_blue(left, 0):
        raise Failure("the screenshot does not show the game's frame window (caption pixel %s, corner %s, size %s)"
                      % (left, grey, shot.size))


def check_wayland_scaled(out):
    """On a 3840x2160 output at a scale of 2 the game's screen is 1920x1080 points, and its caption
    shows at twice its place in the output's pixels."""
    from PIL import Image
    with open(os.path.join(out, "scaled.json")) as f:
        app = json.load(f)["app"]
    if (app["screenWidth"], app["screenHeight"]) != (1920, 1080):
        raise Failure("on a 3840x2160 output at 2 the game's screen is %dx%d, not 1920x1080"
                      % (app["screenWidth"], app["screenHeight"]))
    shot = Image.open(os.path.join(out, "scaled.png")).convert("RGB")
    caption = shot.getpixel((2 * CAPTION[0], 2 * CAPTION[1]))
    if shot.size != (3840, 2160) or not is_caption_blue(caption):
        raise Failure("the scaled output does not show the frame window's caption at (610, 266): %s (picture %s)"
                      % (caption, shot.size))


def raw_peak(path):
    """A file of 16-bit samples: how many, and the loudest."""
    import array
    samples = array.array("h")
    with open(path, "rb") as f:
        data = f.read()
    samples.frombytes(data[:len(data) // 2 * 2])
    if sys.byteorder == "big":
        samples.byteswap()
    return len(samples), max((abs(s) for s in samples), default=0)


# ---- The command line ---------------------------------------------------------------------------

def _say(text):
    print(text)
    return 0


def _job_actions(path):
    print(json.dumps(read_actions(path), ensure_ascii=False, indent=1))
    return 0


def _job_page(page, packages, actions_def, out):
    with open(page, encoding="utf-8") as f:
        text = f.read()
    with open(packages, encoding="utf-8") as f:
        listing = f.read()
    filled = fill_page(text, listing, read_actions(actions_def))
    with open(out, "w", encoding="utf-8") as f:
        f.write(filled)
    return 0


def _job_same_pixels(a, b):
    differing, total = differing_pixels(a, b)
    print("%d differing pixels of %d" % (differing, total))
    return 1 if differing else 0


def _job_same_pictures(dir_a, dir_b, *files):
    status = 0
    for name in files:
        differing, _ = differing_pixels(os.path.join(dir_a, name), os.path.join(dir_b, name))
        if differing:
            print("%s: %d pixels differ" % (name, differing))
            status = 1
    return status


def _job_zip_names(path):
    import zipfile
    with zipfile.ZipFile(path) as z:
        for name in z.namelist():
            print(name)
    return 0


def _job_has_modules(*names):
    import importlib
    try:
        for name in names:
            importlib.import_module(name)
    except ImportError:
        return 1
    return 0


def _job_sound_heard(work, *names):
    quiet = []
    for name in names:
        count, peak = raw_peak(os.path.join(work, name + ".raw"))
        print("%s: %d samples, peak %d" % (name, count, peak))
        if count < 44100 or peak < 500:
            quiet.append(name)
    if quiet:
        raise Failure("too short or too quiet: " + ", ".join(quiet))
    return 0


def _job_actions_doc(actions_def, doc, *flags):
    if flags not in ((), ("--check",)):
        raise ValueError("actions-doc takes --check or nothing after DOC")
    with open(doc, encoding="utf-8") as f:
        text = f.read()
    made = with_actions_table(text, read_actions(actions_def))
    if made == text:
        return 0
    if flags:
        raise Failure("%s's table of the actions is not as %s makes it: run "
                      "tools/lib/rushmora_tools.py actions-doc %s %s" % (doc, actions_def, actions_def, doc))
    with open(doc, "w", encoding="utf-8") as f:
        f.write(made)
    return 0


def _job_readme(actions_def, path):
    with open(path, encoding="utf-8") as f:
        sys.stdout.write(filled_readme(f.read(), read_actions(actions_def)))
    return 0


JOBS = {
    "actions": (_job_actions, 1),
    "readme": (_job_readme, 2),
    "actions-doc": (_job_actions_doc, -2),
    "page": (_job_page, 4),
    "recording": (lambda wav, frames: _say(check_recording(wav, int(frames))), 2),
    "same-pixels": (_job_same_pixels, 2),
    "same-pictures": (_job_same_pictures, -3),
    "zip-names": (_job_zip_names, 1),
    "has-modules": (_job_has_modules, -1),
    "xwd-window": (lambda dump: 0 if is_caption_blue(read_xwd(dump)[1](*CAPTION)) else 1, 1),
    "xwd-screens": (lambda work, *steps: check_xwd_screens(work, steps) or 0, -2),
    "wayland-title": (lambda out: check_wayland_title(out) or 0, 1),
    "wayland-scaled": (lambda out: check_wayland_scaled(out) or 0, 1),
    "sound-heard": (_job_sound_heard, -2),
}


def main(argv):
    if len(argv) < 2 or argv[1] not in JOBS:
        sys.stderr.write(__doc__ + "\n")
        return 2
    job, args = argv[1], argv[2:]
    run, count = JOBS[job]
    if (count >= 0 and len(args) != count) or (count < 0 and len(args) < -count):
        wanted = ("%d" % count) if count >= 0 else "at least %d" % -count
        usage = [line for line in __doc__.splitlines() if line.startswith("  " + job + " ")]
        sys.stderr.write("rushmora_tools %s: takes %s arguments, not %d; usage:\n%s\n"
                         % (job, wanted, len(args), "\n".join(usage)))
        return 2
    try:
        return run(*args)
    except (Failure, ValueError, OSError) as e:
        sys.stderr.write("rushmora_tools %s: FAIL: %s\n" % (job, e))
        return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
