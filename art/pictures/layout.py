"""Every picture the game loads from Texture/ (the figures' body parts excepted):
file name, the size of what is drawn at its top-left (the content), and the
maker function.  The canvas is the content size rounded up to powers of two,
as the game's texture loader rounds it."""

from paint import pow2

# name: (content width, content height, module, function)
PICTURES = {
    # logo and title
    "title_msk.png": (640, 480, "front", "title_msk"),
    "ti-mu.png": (512, 128, "front", "ti_mu"),
    "ti_bg.png": (640, 480, "front", "ti_bg"),
    "d.png": (640, 256, "front", "clock_title"),
    "PUSH KEY.png": (280, 80, "front", "push_key"),
    "hari.png": (3, 80, "front", "hari"),
    "Sl_bg.png": (640, 480, "front", "sl_bg"),
    "title_icn.png": (265, 136, "front", "title_icn"),
    "sc_moji.png": (875, 128, "front", "sc_moji"),
    "NOWLOAD.png": (256, 64, "front", "nowload"),
    # character select, option, help
    "charaselect.png": (640, 480, "front", "charaselect"),
    "Option.png": (1024, 480, "front", "option"),
    "help.png": (2581, 477, "front", "help_book"),
    # result
    "densya.png": (1024, 64, "props", "densya"),
    "GAMEOVER.png": (512, 128, "result", "the_end"),
    "BB.png": (640, 480, "result", "bb"),
    "jikoku_g.png": (640, 480, "result", "jikoku_g"),
    "suuji3.png": (170, 32, "hud", "suuji3"),
    # the run: screen furniture
    "ready.png": (200, 100, "hud", "ready"),
    "sora.png": (640, 480, "street", "sora"),
    "char1.png": (256, 256, "props", "char1"),
    "hodou02.png": (391, 101, "street", "hodou"),
    "kaban.png": (128, 128, "props", "kaban"),
    "ji.png": (124, 174, "street", "ji"),
    "denshi.png": (125, 441, "street", "denshi"),
    "post.png": (72, 128, "street", "post"),
    "dustbox.png": (128, 137, "street", "dustbox"),
    "konbini.png": (920, 360, "street", "konbini"),
    "bill02a.png": (450, 640, "street", "bill02a"),
    "bill03.png": (1580, 455, "street", "bill03"),
    "ie01.png": (360, 320, "street", "ie01"),
    "depato.png": (680, 414, "street", "depato"),
    "jikage.png": (128, 32, "props", "jikage"),
    "effe.png": (512, 128, "props", "effe"),
    "suuzi.png": (170, 32, "hud", "suuzi"),
    "eki.png": (962, 562, "street", "eki"),
    "gakkou.png": (962, 562, "street", "gakkou"),
    "eki2.png": (962, 562, "street", "eki2"),
    "st_meta.png": (202, 236, "hud", "st_meta"),
    "suuji2.png": (170, 32, "hud", "suuji2"),
    "suuji.png": (170, 32, "hud", "suuji"),
    "waku.png": (128, 64, "hud", "waku"),
    "siro.png": (110, 48, "hud", "siro"),
    "item_win.png": (216, 128, "hud", "item_win"),
    "bag.png": (128, 128, "props", "bag"),
    "kasa.png": (128, 128, "props", "kasa"),
    "ARROW.png": (64, 64, "props", "arrow_sign"),
    "suuji_s.png": (110, 16, "hud", "suuji_s"),
    "denko.png": (304, 139, "hud", "denko"),
    "minimap.png": (640, 64, "hud", "minimap"),
    "minicha.png": (640, 64, "hud", "minicha"),
    "tikoku.png": (512, 512, "props", "tikoku"),
    "kumo.png": (128, 128, "props", "kumo"),
    "bo-bobo.png": (128, 256, "props", "aura"),
    "yazirusi.png": (32, 32, "props", "yazirusi"),
    "te.png": (512, 512, "props", "te"),
}

# Pictures that carry words: drawn again in English into <data>/lang/en/Texture/, which
# the game opens instead of Texture/ with --lang en.  The others (no words, or digits and
# signs only) are the same in both languages and are not copied there.
WORDED = {
    "ti-mu.png", "ti_bg.png", "d.png", "PUSH KEY.png", "title_icn.png", "sc_moji.png",
    "NOWLOAD.png", "charaselect.png", "Option.png", "help.png", "GAMEOVER.png", "BB.png",
    "jikoku_g.png", "ready.png", "st_meta.png", "item_win.png", "waku.png", "denko.png",
    "minimap.png", "tikoku.png",
    # the signs of the stations, the school and the shops named in words.py
    "eki.png", "eki2.png", "gakkou.png", "konbini.png", "depato.png",
    # the small signs of the street: vending machine, pole, post box, dust box, office
    # tower, shops under the flats, house's nameplate; the mark on the spare sports bag
    "ji.png", "denshi.png", "post.png", "dustbox.png", "bill02a.png", "bill03.png",
    "ie01.png", "kaban.png",
}

# Pictures drawn whole (no source rectangle) must fill their canvas exactly.
WHOLE = {"jikage.png", "bag.png", "kasa.png"}


def canvas_size(name):
    w, h = PICTURES[name][:2]
    return pow2(w), pow2(h)
