#!/usr/bin/env python3
"""Fills the Japanese translations of translations/mirel_ja.ts from the
table below, for the words lupdate gathered; prints those it has none for.
Usage: scripts/ja_words.py translations/mirel_ja.ts, then `ninja update_translations`
once more, which writes the file back in lupdate's own layout."""
import sys
import xml.etree.ElementTree as ET

JA = {
    "Start": "はじめから",
    "Load": "つづきから",
    "Gallery": "ギャラリー",
    "Exit": "終了",
    "Back": "戻る",
    "locked": "未開放",
    "Picture": "絵",
    "Speech on": "読み上げを始めます",
    "Speech off": "読み上げを止めます",
    "No speech engine: the game cannot speak": "音声合成エンジンがないため読み上げできません",
    "Arrows, Enter, 1 2 3": "矢印キー、Enter、1 2 3",
    "title buttons, answers, gallery": "タイトルのボタン、選択肢、ギャラリー",
    "close a picture or the gallery": "絵やギャラリーを閉じる",
    "the game speaks (on / off)": "読み上げ（オン／オフ）",
    "Speech": "読み上げ",
    "Speak each message, the answers and the focused button (V)": "メッセージ、選択肢、選んでいるボタンを読み上げる（V）",
    "Lower music and effects while speaking": "読み上げ中は音楽と効果音を小さくする",
    "Rate": "速さ",
    "Volume": "音量",
    " ms": " ミリ秒",
    "... and per character": "…さらに1文字ごとに",
    "A key": "A キー",
    "AUTO": "オート",
    "Auto mode waits": "オートモードの待ち時間",
    "Close": "閉じる",
    "Copy every message to the clipboard": "メッセージを毎回クリップボードにコピーする",
    "Ctrl held": "Ctrl を押している間",
    "Ctrl+C": "Ctrl+C",
    "D-pad, A": "十字キー、A",
    "Display": "表示",
    "Effects": "効果音",
    "Fast-forward through text not yet read too": "未読の文章も早送りする",
    "Filtering": "補間",
    "Keys and gamepad buttons": "キーとゲームパッドのボタン",
    "Left click, Space, Enter": "左クリック、スペース、Enter",
    "MIREL - player settings": "MIREL - プレイヤー設定",
    "Music": "音楽",
    "Mute": "消音",
    "Mute while the window is not in front": "ウィンドウが前面にないときは消音",
    "Reading": "読み進め",
    "Right click": "右クリック",
    "Scaling": "拡大縮小",
    "Sound": "サウンド",
    "Wheel up, Page Up": "ホイール上、Page Up",
    "Window zoom": "ウィンドウの倍率",
    "auto mode": "オートモード",
    "backlog": "バックログ",
    "cannot write %1": "%1 に書き込めません",
    "choose an answer or a title button": "選択肢やタイトルのボタンを選ぶ",
    "copy the message": "メッセージをコピー",
    "fast-forward through read text": "既読の文章を早送り",
    "fit (proportions kept)": "合わせる（縦横比を保つ）",
    "full screen (anywhere)": "フルスクリーン（どこでも）",
    "full screen (during play)": "フルスクリーン（プレイ中）",
    "hide / show the message window": "メッセージウィンドウを隠す／出す",
    "integer (whole multiple)": "整数倍",
    "mute": "消音",
    "next line": "次の文へ",
    "screenshot (Pictures/MIREL)": "スクリーンショット（ピクチャ/MIREL）",
    "screenshot not saved: %1": "スクリーンショットを保存できません: %1",
    "screenshot not saved: no pictures folder": "スクリーンショットを保存できません: ピクチャフォルダがありません",
    "screenshot saved: %1": "スクリーンショットを保存しました: %1",
    "sharp": "くっきり",
    "shoulder": "ショルダー",
    "smooth": "なめらか",
    "sound muted (Ctrl+M)": "消音しました（Ctrl+M）",
    "sound on": "音を出します",
    "stretch": "引き伸ばす",
    "these settings": "この設定",
    "window zoom": "ウィンドウの倍率",
    "quick save: nothing to keep here": "クイックセーブ: ここでは保存できません",
    "quick save kept (F9 loads it)": "クイックセーブしました（F9 で戻れます）",
    "quick save not kept: %1": "クイックセーブできませんでした: %1",
    "no quick save to load": "クイックセーブがありません",
    "Backspace, Left / Right": "Backspace、← / →",
    "one message back / on": "1つ前のメッセージへ戻る / 進む",
    "quick save / quick load": "クイックセーブ / クイックロード",
    "Closing the window keeps the place for F9": "ウィンドウを閉じたら続きを F9 用に残す",
}

path = sys.argv[1]
tree = ET.parse(path)
missing = []
for message in tree.iter("message"):
    source = message.findtext("source")
    translation = message.find("translation")
    if source in JA:
        translation.text = JA[source]
        translation.attrib.pop("type", None)
    elif translation.get("type") == "unfinished":
        missing.append(source)
ET.indent(tree)
with open(path, "wb") as f:
    f.write(b'<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n')
    tree.write(f, encoding="utf-8", xml_declaration=False)
    f.write(b"\n")
for source in missing:
    print("no Japanese for:", source)
sys.exit(1 if missing else 0)
