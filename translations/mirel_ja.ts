<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>Comfort</name>
    <message>
        <source>AUTO</source>
        <translation>オート</translation>
    </message>
    <message>
        <source>sound muted (Ctrl+M)</source>
        <translation>消音しました（Ctrl+M）</translation>
    </message>
    <message>
        <source>sound on</source>
        <translation>音を出します</translation>
    </message>
    <message>
        <source>screenshot not saved: no pictures folder</source>
        <translation>スクリーンショットを保存できません: ピクチャフォルダがありません</translation>
    </message>
    <message>
        <source>screenshot saved: %1</source>
        <translation>スクリーンショットを保存しました: %1</translation>
    </message>
    <message>
        <source>screenshot not saved: %1</source>
        <translation>スクリーンショットを保存できません: %1</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>%1 に書き込めません</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>はじめから</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>つづきから</translation>
    </message>
    <message>
        <source>Gallery</source>
        <translation>ギャラリー</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>戻る</translation>
    </message>
    <message>
        <source>locked</source>
        <translation>未開放</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>絵</translation>
    </message>
    <message>
        <source>Speech on</source>
        <translation>読み上げを始めます</translation>
    </message>
    <message>
        <source>Speech off</source>
        <translation>読み上げを止めます</translation>
    </message>
    <message>
        <source>No speech engine: the game cannot speak</source>
        <translation>音声合成エンジンがないため読み上げできません</translation>
    </message>
    <message>
        <source>quick save: nothing to keep here</source>
        <translation>クイックセーブ: ここでは保存できません</translation>
    </message>
    <message>
        <source>quick save kept (F9 loads it)</source>
        <translation>クイックセーブしました（F9 で戻れます）</translation>
    </message>
    <message>
        <source>quick save not kept: %1</source>
        <translation>クイックセーブできませんでした: %1</translation>
    </message>
    <message>
        <source>no quick save to load</source>
        <translation>クイックセーブがありません</translation>
    </message>
    <message>
        <source>quick save: possible again from the story&apos;s next save point</source>
        <translation>クイックセーブ: 物語の次のセーブポイントから再びできます</translation>
    </message>
</context>
<context>
    <name>PlayerSettings</name>
    <message>
        <source>Left click, Space, Enter</source>
        <translation>左クリック、スペース、Enter</translation>
    </message>
    <message>
        <source>next line</source>
        <translation>次の文へ</translation>
    </message>
    <message>
        <source>Right click</source>
        <translation>右クリック</translation>
    </message>
    <message>
        <source>hide / show the message window</source>
        <translation>メッセージウィンドウを隠す／出す</translation>
    </message>
    <message>
        <source>A key</source>
        <translation>A キー</translation>
    </message>
    <message>
        <source>auto mode</source>
        <translation>オートモード</translation>
    </message>
    <message>
        <source>Wheel up, Page Up</source>
        <translation>ホイール上、Page Up</translation>
    </message>
    <message>
        <source>backlog</source>
        <translation>バックログ</translation>
    </message>
    <message>
        <source>Ctrl held</source>
        <translation>Ctrl を押している間</translation>
    </message>
    <message>
        <source>fast-forward through read text</source>
        <translation>既読の文章を早送り</translation>
    </message>
    <message>
        <source>shoulder</source>
        <translation>ショルダー</translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation>Ctrl+C</translation>
    </message>
    <message>
        <source>copy the message</source>
        <translation>メッセージをコピー</translation>
    </message>
    <message>
        <source>these settings</source>
        <translation>この設定</translation>
    </message>
    <message>
        <source>choose an answer or a title button</source>
        <translation>選択肢やタイトルのボタンを選ぶ</translation>
    </message>
    <message>
        <source>D-pad, A</source>
        <translation>十字キー、A</translation>
    </message>
    <message>
        <source>full screen (during play)</source>
        <translation>フルスクリーン（プレイ中）</translation>
    </message>
    <message>
        <source>full screen (anywhere)</source>
        <translation>フルスクリーン（どこでも）</translation>
    </message>
    <message>
        <source>window zoom</source>
        <translation>ウィンドウの倍率</translation>
    </message>
    <message>
        <source>mute</source>
        <translation>消音</translation>
    </message>
    <message>
        <source>screenshot (Pictures/MIREL)</source>
        <translation>スクリーンショット（ピクチャ/MIREL）</translation>
    </message>
    <message>
        <source> ms</source>
        <translation> ミリ秒</translation>
    </message>
    <message>
        <source>MIREL - player settings</source>
        <translation>MIREL - プレイヤー設定</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>表示</translation>
    </message>
    <message>
        <source>fit (proportions kept)</source>
        <translation>合わせる（縦横比を保つ）</translation>
    </message>
    <message>
        <source>integer (whole multiple)</source>
        <translation>整数倍</translation>
    </message>
    <message>
        <source>stretch</source>
        <translation>引き伸ばす</translation>
    </message>
    <message>
        <source>sharp</source>
        <translation>くっきり</translation>
    </message>
    <message>
        <source>smooth</source>
        <translation>なめらか</translation>
    </message>
    <message>
        <source>Scaling</source>
        <translation>拡大縮小</translation>
    </message>
    <message>
        <source>Filtering</source>
        <translation>補間</translation>
    </message>
    <message>
        <source>Window zoom</source>
        <translation>ウィンドウの倍率</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>サウンド</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>消音</translation>
    </message>
    <message>
        <source>Mute while the window is not in front</source>
        <translation>ウィンドウが前面にないときは消音</translation>
    </message>
    <message>
        <source>Music</source>
        <translation>音楽</translation>
    </message>
    <message>
        <source>Effects</source>
        <translation>効果音</translation>
    </message>
    <message>
        <source>Reading</source>
        <translation>読み進め</translation>
    </message>
    <message>
        <source>Fast-forward through text not yet read too</source>
        <translation>未読の文章も早送りする</translation>
    </message>
    <message>
        <source>Copy every message to the clipboard</source>
        <translation>メッセージを毎回クリップボードにコピーする</translation>
    </message>
    <message>
        <source>Auto mode waits</source>
        <translation>オートモードの待ち時間</translation>
    </message>
    <message>
        <source>... and per character</source>
        <translation>…さらに1文字ごとに</translation>
    </message>
    <message>
        <source>Keys and gamepad buttons</source>
        <translation>キーとゲームパッドのボタン</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Arrows, Enter, 1 2 3</source>
        <translation>矢印キー、Enter、1 2 3</translation>
    </message>
    <message>
        <source>title buttons, answers, gallery</source>
        <translation>タイトルのボタン、選択肢、ギャラリー</translation>
    </message>
    <message>
        <source>close a picture or the gallery</source>
        <translation>絵やギャラリーを閉じる</translation>
    </message>
    <message>
        <source>the game speaks (on / off)</source>
        <translation>読み上げ（オン／オフ）</translation>
    </message>
    <message>
        <source>Speech</source>
        <translation>読み上げ</translation>
    </message>
    <message>
        <source>Speak each message, the answers and the focused button (V)</source>
        <translation>メッセージ、選択肢、選んでいるボタンを読み上げる（V）</translation>
    </message>
    <message>
        <source>Lower music and effects while speaking</source>
        <translation>読み上げ中は音楽と効果音を小さくする</translation>
    </message>
    <message>
        <source>Rate</source>
        <translation>速さ</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>音量</translation>
    </message>
    <message>
        <source>Backspace, Left / Right</source>
        <translation>Backspace、← / →</translation>
    </message>
    <message>
        <source>one message back / on</source>
        <translation>1つ前のメッセージへ戻る / 進む</translation>
    </message>
    <message>
        <source>quick save / quick load</source>
        <translation>クイックセーブ / クイックロード</translation>
    </message>
    <message>
        <source>Closing the window keeps the place for F9</source>
        <translation>ウィンドウを閉じたら続きを F9 用に残す</translation>
    </message>
    <message>
        <source>the menu, by the keyboard</source>
        <translation>メニュー（キーボードで）</translation>
    </message>
</context>
</TS>
