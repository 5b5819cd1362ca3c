<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>Comfort</name>
    <message>
        <source>AUTO</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sound muted (Ctrl+M)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sound on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>screenshot not saved: no pictures folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>screenshot saved: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>screenshot not saved: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gallery</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>locked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speech on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speech off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No speech engine: the game cannot speak</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>quick save: nothing to keep here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>quick save kept (F9 loads it)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>quick save not kept: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no quick save to load</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>quick save: possible again from the story&apos;s next save point</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlayerSettings</name>
    <message>
        <source>Left click, Space, Enter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>next line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right click</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>hide / show the message window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A key</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>auto mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wheel up, Page Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>backlog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl held</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>fast-forward through read text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>shoulder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>copy the message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>these settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>choose an answer or a title button</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>D-pad, A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>full screen (during play)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>full screen (anywhere)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>window zoom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>screenshot (Pictures/MIREL)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MIREL - player settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>fit (proportions kept)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>integer (whole multiple)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stretch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sharp</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>smooth</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scaling</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filtering</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Window zoom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mute while the window is not in front</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Music</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Effects</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fast-forward through text not yet read too</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy every message to the clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto mode waits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>... and per character</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keys and gamepad buttons</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Arrows, Enter, 1 2 3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>title buttons, answers, gallery</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>close a picture or the gallery</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the game speaks (on / off)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speech</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speak each message, the answers and the focused button (V)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lower music and effects while speaking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Volume</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backspace, Left / Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>one message back / on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>quick save / quick load</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Closing the window keeps the place for F9</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the menu, by the keyboard</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
