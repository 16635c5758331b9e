"""Every text the player reads on the pictures, in one place."""

# opening logo (the maker's mark)
STUDIO = "あさやけ工房"
STUDIO_SUB = "朝をかけぬけるゲームづくり"

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

SHOP_KONBINI = "あさひマート"
SHOP_DEPATO = "さくら百貨店"
