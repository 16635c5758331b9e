"""Every text the player reads on the pictures, in one place: Japanese first, then the
English counterparts (EN).  use("en") puts the English words in the module's names, so
that the drawing code, which reads them as W.NAME when it draws, draws the English set."""

# opening logo (the maker's mark)
STUDIO = "あさやけ工房"
STUDIO_SUB = "朝をかけぬけるゲームづくり"

# the address plate on the near pole of the title's background, read top to bottom
POLE_PLATE = "あさひ町"

TITLE_LEFT = "走れ"
TITLE_RIGHT = "若者"
TITLE_BAND = "ラッシュモーラ"

PUSH_KEY = "Enterキーをおしてね"

MENU = ["スタート", "オプション", "おわる"]

# scrolling captions under the menu: one per entry, lengths to suit their rows; the start
# entry's caption is the run's keys, each key on a cap with what it does after it
ARROW_KEYS = "←→↑↓"
CAPTION_KEYS = [(ARROW_KEYS, "移動"), ("A", "ジャンプ"), ("S", "ダッシュ"), ("D", "攻撃"),
                ("F", "パワーモード"), ("Space", "必殺技"), ("Esc", "もどる")]
CAPTIONS = [
    CAPTION_KEYS,
    "キーコンフィグなどの設定をします",
    "ゲームを終了します。またね！",
]
CAPTION_HINT = "↑↓でえらんで　Enterで決定"
# after the hint, the title's other keys, each on a cap with what it does after it
CAPTION_HINT_KEYS = [("F1", "あそびかた")]

NOW_LOADING = "よみこみ中"

SELECT_TITLE = "キャラクターセレクト"
SELECT_NAME = "走野 ハヤト"
SELECT_ROLE = "中学2年生・ねぼう常習犯"
SELECT_LINES = ["今日こそ遅刻できない！", "駅まで走って電車に乗り、", "9時までに学校へ！"]
SELECT_KEYS = [("Space", "あそびかたを見る"), ("Esc", "タイトルにもどる")]

OPTION_TITLE = "オプション"
OPTION_GAUGE = "ゲージ"
OPTION_ROWS = [
    ("←→", "ゲージをのばす・ちぢめる"),
    ("F5", "キーコンフィグを開く"),
    ("F2", "設定ファイルに書きこみテスト"),
    ("Esc", "タイトルにもどる"),
]

OPTION_NOTE = "設定はこの画面だけのおためしです"

HELP_START = "Enterでスタート！"
HELP_FOOTER = "Enter：つぎ　BackSpace：もどる　Space：スタート　Esc：タイトル"

# (title, [blocks]) ; a block is ("p", text) for a paragraph, ("keys", [(key, what)]),
# ("note", text) for a boxed hint, ("times", [(left, right)]) for a small table.
HELP_PAGES = [
    ("あそびかた", [
        ("p", "ねぼうした！　時計はもう朝の7時。"
              "駅まで走って電車に乗り、9時までに学校へ着こう。"),
        ("times", [("区間1", "家 → 駅　　7:55の電車まで"), ("区間2", "駅 → 学校　9:00まで")]),
        ("p", "道は学校へいそぐ人でいっぱい。じゃまな人はふっとばしてしまえ！"
              "画面の外まで飛んでいった人は1人100点。"),
        ("note", "時計は本当の15倍の速さで進むよ。"
                 "ウィンドウの上のマップで、ゴールまでの道のりがわかる。"),
    ]),
    ("キーボードの操作", [
        ("keys", [("←→", "左右に走る"), ("↑↓", "奥へ・手前へ動く"), ("A", "ジャンプ"),
                  ("D", "こうげき（はなすと出る）"), ("S", "ダッシュ"),
                  ("F", "パワーモード"), ("Space", "ひっさつわざ"),
                  ("Esc", "タイトルにもどる")]),
        ("note", "ジャンプ中は左右に動くことだけできる。"),
    ]),
    ("ジョイスティックの操作", [
        ("keys", [("スティック", "上下左右に動く"), ("ボタン1", "ダッシュ"),
                  ("ボタン2", "こうげき"), ("ボタン3", "ジャンプ"),
                  ("ボタン4", "パワーモード"), ("ボタン7", "ひっさつわざ"),
                  ("ボタン5〜10", "同時におすとタイトルへ")]),
        ("note", "メニューではボタン2で決定。"
                 "タイトル画面へはボタン3で進む。"),
    ]),
    ("こうげきでふっとばせ", [
        ("p", "Dキーをおして、はなした時にこうげき！"
              "こうげき中にもう一度おしてはなすと、2段目、3段目とつながる。"
              "おしっぱなしではこうげきしない。"),
        ("p", "こうげきが当たった人は空へふっとぶ。"
              "画面の外へ消えたら1人100点。"),
        ("note", "人にぶつかると、よろけてこうげきが止まってしまう。"),
    ]),
    ("ダッシュとパワーゲージ", [
        ("p", "Sキーでダッシュ！　しばらく猛スピードで走り、"
              "ダッシュ中は人をすりぬける。使ったあとは少し休まないと次のダッシュはできない。"),
        ("p", "ゲージはこうげきが当たると少し、人にぶつかるとたくさんたまる。"),
        ("note", "ゲージがいっぱいの時にFキーでパワーモード！"
                 "ゲージがなくなるまで、近くの人をねらって自動で連続こうげき。"),
    ]),
    ("ひっさつわざ", [
        ("p", "スペースキーで、ひっさつわざ！"
              "巨大な手があらわれて画面がゆれ、画面の中の人をみんなふっとばす。"),
        ("p", "使えるのは1区間に1回だけ。"
              "使うとその区間ではゲージがもうたまらなくなる。"),
        ("note", "ジャンプ中でなければ、ゲージが空でも使えるよ。"),
    ]),
    ("電車とスコア", [
        ("times", [("7:15発", "8:05に学校へ出発"), ("7:23発", "8:13に学校へ出発"),
                   ("7:40発", "8:20に学校へ出発"), ("7:55発", "8:35に学校へ出発")]),
        ("p", "駅に早く着くほど早い電車に乗れる。"
              "7:55になる前に駅に着かないと遅刻、ゲームオーバー！"
              "学校へは9:00までに着こう。"),
        ("note", "スコア＝人数×100＋60000－かかった時間"
                 "（1分＝1000）。2区間の合計を目指せ！"),
    ]),
]

# result screens
RESULT_LEG1 = "駅に到着！"
RESULT_LEG2 = "学校に到着！"
RESULT_TRAIN = "乗れた電車"
RESULT_PREVIOUS = "区間1のスコア"
RESULT_TIME = "かかった時間"
RESULT_COUNT = "ふっとばした人"
RESULT_SCORE = "スコア"
RESULT_TOTAL = "合計スコア"
RESULT_FORMULA = "人数×100 ＋ 60000 － かかった時間（1分＝1000）"
RESULT_NEXT_LEG1 = "Enterで学校へ出発！"
RESULT_NEXT_LEG2 = "Enterでおしまい"
# units beside the digits: departure hour and minute, minutes and seconds, people, points
UNIT_HOUR = "時"
UNIT_DEPARTS = "分発"
UNIT_MIN = "分"
UNIT_SEC = "秒"
UNIT_PEOPLE = "人"
UNIT_POINTS = "点"

# the end picture closes every run, at school in time or late
THE_END = "おしまい"
THE_END_SUB = "おつかれさま！　Enterでタイトルへ"

READY = "よーい"
GO = "ドン！"

GAUGE_LABEL = "パワー"
GAUGE_FULL = "Fでパワー全開！"
GAUGE_USED = "ひっさつわざ使用ずみ"
ITEM_LABEL = "もちもの"
CLOCK_LABEL = "いま"

STATION_NAME = "あさひ駅"
STATION2_NAME = "さくら丘駅"
SCHOOL_NAME = "さくら丘中学校"
BOARD_TITLE = "発車案内"
BOARD_NEXT = "つぎ"
BOARD_SEP = "　"  # between the station's name and BOARD_TITLE
# the board shows line k on top and line k + 1 below; k moves on at 7:11,
# 7:15, 7:23, 7:40 and 7:55
BOARD_LINES = [
    "7:15発 各駅停車",
    "7:15発 まもなく",
    "7:23発 急行",
    "7:40発 各駅停車",
    "7:55発 最後の電車",
    "これより後は遅刻",
    "本日の通学終了",
]

MAP_START = "スタート"
MAP_GOAL = "ゴール"

LATE = "遅刻"
LATE_TOP = "★ けってい ★"
LATE_BOTTOM = "ざんねん！"

SHOP_KONBINI = "あさひマート"
SHOP_DEPATO = "さくら百貨店"


# small signs in the scenery: vending machine, utility pole, post box, dust box
VENDING_COLD = "つめた～い"          # the vending machine's cold row
VENDING_PRICE = "100円"
POLE_ADDRESS = "あさひ町一丁目"      # the pole's address plate, read top to bottom
POST_MAIL = "ゆうびん"               # under the 〒 of the post box (the mark stays as it is)
DUSTBOX_LABEL = "もえるゴミ"

# the convenience store: the hours plate, the posters on its glass (left to right), the
# door, the bicycle park's sign
KONBINI_HOURS = "24時間"
KONBINI_POSTERS = ["新発売", "おにぎり", "セール"]
KONBINI_DOOR = "じどうドア"
BIKE_PARK = "駐輪場"

# the office tower's name board, read top to bottom
OFFICE_NAME = "あさひビル"
# the four shops under the flats: the ramen shop's sign and the word on its curtain
SHOP_RAMEN = "ラーメン"
SHOP_RAMEN_CURTAIN = "らーめん"
SHOP_BOOKS = "本屋"
SHOP_FLOWERS = "フラワーショップ"
SHOP_CLEANERS = "クリーニング"
# the family name on the house's gate
NAMEPLATE = "田中"
# the department store's mark (the first sound of its name) and the plate on its door
DEPATO_MARK = "さ"
DEPATO_WELCOME = "いらっしゃいませ"

# the stations' entrance: over the ticket gates, the way to the trains, the ticket machines
STATION_GATES = "改札口"
STATION_PLATFORMS = "のりば →"
STATION_TICKETS = "きっぷ"

# the mark on the spare sports bag: 中 of 中学校 (junior high school)
SPORTS_BAG_MARK = "中"

# ---------------------------------------------------------------------------
# English: the same names, for the pictures of data/lang/en/.  Each line fits the place
# the Japanese one has; where the plain translation did not fit, a shorter wording is
# used and said so beside it.
# ---------------------------------------------------------------------------

EN = dict(
    STUDIO="Asayake Works",
    STUDIO_SUB="Games that race through the morning",
    POLE_PLATE="ASAHI",
    TITLE_LEFT="RUN",        # 走れ若者 "run, young one": two words beside the clock
    TITLE_RIGHT="KID!",
    TITLE_BAND="RUSHMORA",
    PUSH_KEY="Press Enter",
    MENU=["Start", "Options", "Quit"],
    ARROW_KEYS=ARROW_KEYS,
    CAPTION_KEYS=[(ARROW_KEYS, "move"), ("A", "jump"), ("S", "dash"), ("D", "attack"),
                  ("F", "power mode"), ("Space", "special move"), ("Esc", "title")],
    CAPTIONS=None,  # filled in below from CAPTION_KEYS
    CAPTION_HINT="↑↓ to choose, Enter to confirm",
    CAPTION_HINT_KEYS=[("F1", "how to play")],
    NOW_LOADING="Loading",
    SELECT_TITLE="Character Select",
    SELECT_NAME="Hayato Hashino",
    SELECT_ROLE="8th grader, always oversleeps",
    # "can't be late today! run to the station, take the train, be at school by 9"
    SELECT_LINES=["Can't be late today!", "Run for the train,", "be at school by 9!"],
    SELECT_KEYS=[("Space", "How to play"), ("Esc", "Back to the title")],
    OPTION_TITLE="Options",
    OPTION_GAUGE="Gauge",
    OPTION_ROWS=[
        ("←→", "Make the gauge longer / shorter"),
        ("F5", "Open the settings program"),
        ("F2", "Test writing the settings file"),
        ("Esc", "Back to the title"),
    ],
    OPTION_NOTE="Changes on this screen are not saved",
    HELP_START="Enter to start!",
    HELP_FOOTER="Enter: next  BackSpace: back  Space: start  Esc: title",
    HELP_PAGES=[
        ("How to Play", [
            ("p", "You overslept! It's already 7 o'clock. Run to the station, catch a "
                  "train and get to school by 9."),
            ("times", [("Leg 1", "Home → station by 7:55"),
                       ("Leg 2", "Station → school by 9:00")]),
            ("p", "The streets are full of people in a hurry. Knock them out of your way! "
                  "Each one sent off the screen is worth 100 points."),
            ("note", "The clock runs 15 times faster than real time. The map above the "
                     "window shows how far the goal is."),
        ]),
        ("Keyboard", [
            ("keys", [("←→", "Run left and right"), ("↑↓", "Step back / forward"),
                      ("A", "Jump"), ("D", "Attack (on release)"), ("S", "Dash"),
                      ("F", "Power mode"), ("Space", "Special move"),
                      ("Esc", "Back to the title")]),
            ("note", "In the air you can only move left and right."),
        ]),
        ("Joystick", [
            ("keys", [("Stick", "Move in four ways"), ("Button 1", "Dash"),
                      ("Button 2", "Attack"), ("Button 3", "Jump"),
                      ("Button 4", "Power mode"), ("Button 7", "Special move"),
                      # "press buttons 5 to 10 together for the title"
                      ("Button 5-10", "All together: back to the title")]),
            ("note", "In menus, button 2 chooses. Button 3 goes on to the title screen."),
        ]),
        ("Attack!", [
            ("p", "Press D and let go to attack! Press and let go again while attacking "
                  "for a second and a third blow. Holding D down does not attack."),
            ("p", "People you hit fly up into the sky. Each one gone off the screen is "
                  "worth 100 points."),
            ("note", "Bump into someone and you stagger: your attack stops."),
        ]),
        ("Dash and Power Gauge", [
            ("p", "Press S to dash! You run at top speed for a while and pass through "
                  "people. After a dash, rest a little before the next one."),
            ("p", "The gauge fills a little when you hit someone, and a lot when you "
                  "bump into someone."),
            ("note", "When the gauge is full, press F for power mode! You attack the "
                     "people near you by yourself until the gauge is empty."),
        ]),
        ("Special Move", [
            ("p", "Press Space for the special move! Giant hands appear, the screen "
                  "shakes and everyone on it is sent flying."),
            ("p", "Once per leg only. After using it, your gauge stops filling for the "
                  "rest of the leg."),
            ("note", "Works even with an empty gauge, but not in the air."),
        ]),
        ("Trains and Score", [
            # "7:15発 / 8:05に学校へ出発": the train's time, and when leg 2 sets off
            ("times", [("7:15", "School leg starts 8:05"), ("7:23", "School leg starts 8:13"),
                       ("7:40", "School leg starts 8:20"), ("7:55", "School leg starts 8:35")]),
            # "the sooner at the station, the earlier the train; not there before 7:55
            # means late, game over; reach school by 9:00", shortened for the button
            ("p", "Reach the station early for an earlier train. Miss the 7:55: late, "
                  "game over! Be at school by 9:00."),
            # shorter than "... aim for the best total of both legs!", which ran into
            # the start button
            ("note", "Score = people × 100 + 60000 − time (1 min = 1000), "
                     "both legs added up."),
        ]),
    ],
    RESULT_LEG1="At the station!",
    RESULT_LEG2="Made it to school!",
    RESULT_TRAIN="Train caught: the",   # then the digits: "Train caught: the 7:40"
    RESULT_PREVIOUS="Leg 1 score",
    RESULT_TIME="Time taken",
    RESULT_COUNT="Sent flying",    # "people sent flying": the unit says "people"
    RESULT_SCORE="Score",
    RESULT_TOTAL="Total score",
    RESULT_FORMULA="people × 100 + 60000 − time taken (1 min = 1000)",
    RESULT_NEXT_LEG1="Enter: off to school!",
    RESULT_NEXT_LEG2="Enter: finish",
    UNIT_HOUR=":",           # the train's time reads 7 : 55
    UNIT_DEPARTS="",         # "分発" (leaving at that minute): none, the label ends in "the"
    UNIT_MIN="min",
    UNIT_SEC="sec",
    UNIT_PEOPLE="people",
    UNIT_POINTS="pts",
    THE_END="The End",
    THE_END_SUB="Thanks for playing!  Enter: back to the title",   # late or not
    READY="Ready",
    GO="Go!",
    GAUGE_LABEL="POWER",
    GAUGE_FULL="F: full power!",
    GAUGE_USED="Special move used",
    ITEM_LABEL="Items",
    CLOCK_LABEL="Now",
    STATION_NAME="Asahi Station",
    STATION2_NAME="Sakuragaoka Station",
    SCHOOL_NAME="SAKURAGAOKA JHS",   # the town's name, as on its station (set sideways on
                                     # the gate's plate: too long to read a letter under another)
    BOARD_TITLE="Departures",
    BOARD_NEXT="Next",
    BOARD_SEP=" ",
    BOARD_LINES=[
        "7:15 Local",
        "7:15 Arriving",
        "7:23 Express",
        "7:40 Local",
        "7:55 Last train",
        "After this: LATE",       # "after this you are late"
        "No more trains today",   # "today's school run is over"
    ],
    MAP_START="Start",
    MAP_GOAL="Goal",
    LATE="LATE",
    LATE_TOP="- OFFICIAL -",   # the stamp's face has no star; "★ decided ★"
    LATE_BOTTOM="Too bad!",
    SHOP_KONBINI="Asahi Mart",
    SHOP_DEPATO="Sakura Dept. Store",
    # the scenery's small signs keep the Japanese sizes: each word fits its plate there
    VENDING_COLD="ICE COLD",
    VENDING_PRICE="¥100",      # 円 after the number becomes ¥ before it
    POLE_ADDRESS="ASAHI 1",    # "Asahi town, block 1": the block's number after the name
    POST_MAIL="POST",          # what Japan's post boxes say in English under the 〒
    DUSTBOX_LABEL="BURNABLE",  # "burnable rubbish": the bin's kind, as Japanese bins sort it
    KONBINI_HOURS="24 HOURS",
    KONBINI_POSTERS=["NEW!", "Onigiri", "SALE"],   # "new on sale", "rice balls", "sale"
    KONBINI_DOOR="AUTO DOOR",  # "automatic door"
    BIKE_PARK="BIKES",         # "bicycle park": the plate holds one short word
    OFFICE_NAME="ASAHI",       # "Asahi Building": the board on the building names it
    SHOP_RAMEN="RAMEN",
    SHOP_RAMEN_CURTAIN="Noodles",
    SHOP_BOOKS="BOOKS",        # "bookshop"
    SHOP_FLOWERS="FLOWER SHOP",
    SHOP_CLEANERS="CLEANERS",
    NAMEPLATE="Tanaka",
    DEPATO_MARK="S",           # Sakura's S
    DEPATO_WELCOME="WELCOME",
    STATION_GATES="TICKET GATES",
    STATION_PLATFORMS="PLATFORMS →",
    STATION_TICKETS="TICKETS",
    SPORTS_BAG_MARK="JHS",     # junior high school, as on the school's gate
)
EN["CAPTIONS"] = [
    EN["CAPTION_KEYS"],
    "Key setup and other settings",
    "Quit the game. See you!",
]

JA = {name: value for name, value in globals().items() if name in EN}
LANGUAGES = {"ja": JA, "en": EN}


def use(lang):
    """Put the words of `lang` ("ja" or "en") in this module's names."""
    if lang not in LANGUAGES:
        raise ValueError(f"unknown language {lang!r}")
    globals().update(LANGUAGES[lang])
