// The player settings dialog: the display, sound and reading comforts and
// the list of keys and gamepad buttons. Every edit takes effect at once.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QShortcut>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/qt/QtPlayerHost.h"

namespace mirel::qt {

namespace {

const char* const kKeys =
    "<table cellspacing='2'>"
    "<tr><td><b>Left click, Space, Enter</b></td><td>next line</td><td><b>A</b></td></tr>"
    "<tr><td><b>Right click</b></td><td>hide / show the message window</td><td><b>B</b></td></tr>"
    "<tr><td><b>A key</b></td><td>auto mode</td><td><b>X</b></td></tr>"
    "<tr><td><b>Wheel up, Page Up</b></td><td>backlog</td><td><b>Y</b></td></tr>"
    "<tr><td><b>Ctrl held</b></td><td>fast-forward through read text</td><td><b>shoulder</b></td></tr>"
    "<tr><td><b>Ctrl+C</b></td><td>copy the message</td><td></td></tr>"
    "<tr><td><b>Backspace, Left / Right</b></td><td>one message back / on</td><td><b>Back</b></td></tr>"
    "<tr><td><b>F5 / F9</b></td><td>quick save / quick load</td><td></td></tr>"
    "<tr><td><b>F1</b></td><td>these settings</td><td><b>Start</b></td></tr>"
    "<tr><td></td><td>choose an answer or a title button</td><td><b>D-pad, A</b></td></tr>"
    "<tr><td><b>Esc</b></td><td>full screen (during play)</td><td></td></tr>"
    "<tr><td><b>F11, Alt+Enter</b></td><td>full screen (anywhere)</td><td></td></tr>"
    "<tr><td><b>Ctrl+1 ... Ctrl+4</b></td><td>window zoom</td><td></td></tr>"
    "<tr><td><b>Ctrl+M</b></td><td>mute</td><td></td></tr>"
    "<tr><td><b>F12, Print</b></td><td>screenshot (Pictures/MIREL)</td><td></td></tr>"
    "</table>";

QSlider* Slider(int value) {
  auto* s = new QSlider(Qt::Horizontal);
  s->setRange(0, 100);
  s->setValue(value);
  return s;
}

QCheckBox* Check(const char* text, bool checked) {
  auto* c = new QCheckBox(text);
  c->setChecked(checked);
  return c;
}

QSpinBox* Millis(uint32_t value) {
  auto* s = new QSpinBox;
  s->setRange(0, kMaxAutoMs);
  s->setSingleStep(100);
  s->setSuffix(" ms");
  s->setValue(static_cast<int>(value));
  return s;
}

}  // namespace

void RunPlayerSettingsDialog(QWidget* parent, const PlayerSettings& start, const std::function<void()>& switchFullScreen,
                             const std::function<void(const PlayerSettings&)>& changed) {
  QDialog dlg(parent);
  // The dialog is modal: the keys the window takes everywhere else are taken
  // here.
  for (QKeySequence key : {QKeySequence(Qt::Key_F11), QKeySequence(Qt::ALT | Qt::Key_Return),
                           QKeySequence(Qt::ALT | Qt::Key_Enter)})
    QObject::connect(new QShortcut(key, &dlg), &QShortcut::activated, &dlg, switchFullScreen);
  dlg.setWindowTitle("MIREL - player settings");
  auto* top = new QVBoxLayout(&dlg);

  auto* display = new QGroupBox("Display");
  auto* df = new QFormLayout(display);
  auto* scale = new QComboBox;
  scale->addItems({"fit (proportions kept)", "integer (whole multiple)", "stretch"});
  scale->setCurrentIndex(static_cast<int>(start.scale));
  auto* filter = new QComboBox;
  filter->addItems({"sharp", "smooth"});
  filter->setCurrentIndex(static_cast<int>(start.filter));
  auto* zoom = new QComboBox;
  for (int z = 1; z <= kMaxZoom; ++z) zoom->addItem(QString("%1x").arg(z));
  zoom->setCurrentIndex(start.zoom - 1);
  df->addRow("Scaling", scale);
  df->addRow("Filtering", filter);
  df->addRow("Window zoom", zoom);
  top->addWidget(display);

  auto* sound = new QGroupBox("Sound");
  auto* sf = new QFormLayout(sound);
  auto* music = Slider(start.musicVolume);
  auto* effects = Slider(start.effectsVolume);
  auto* muted = Check("Mute", start.muted);
  auto* unfocused = Check("Mute while the window is not in front", start.muteUnfocused);
  sf->addRow("Music", music);
  sf->addRow("Effects", effects);
  sf->addRow(muted);
  sf->addRow(unfocused);
  top->addWidget(sound);

  auto* reading = new QGroupBox("Reading");
  auto* rf = new QFormLayout(reading);
  auto* autoBase = Millis(start.reading.autoBaseMs);
  auto* autoPerChar = Millis(start.reading.autoPerCharMs);
  auto* unread = Check("Fast-forward through text not yet read too", start.reading.fastForwardUnread);
  auto* copyAll = Check("Copy every message to the clipboard", start.reading.copyEveryMessage);
  auto* resume = Check("Closing the window keeps the place for F9", start.reading.resumeOnClose);
  rf->addRow("Auto mode waits", autoBase);
  rf->addRow("... and per character", autoPerChar);
  rf->addRow(unread);
  rf->addRow(copyAll);
  rf->addRow(resume);
  top->addWidget(reading);

  auto* keys = new QGroupBox("Keys and gamepad buttons");
  auto* kl = new QVBoxLayout(keys);
  kl->addWidget(new QLabel(kKeys));
  top->addWidget(keys);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::accept);
  top->addWidget(buttons);

  PlayerSettings s = start;
  auto update = [&] {
    s.scale = static_cast<ScaleMode>(scale->currentIndex());
    s.filter = static_cast<ScaleFilter>(filter->currentIndex());
    s.zoom = zoom->currentIndex() + 1;
    s.musicVolume = music->value();
    s.effectsVolume = effects->value();
    s.muted = muted->isChecked();
    s.muteUnfocused = unfocused->isChecked();
    s.reading.autoBaseMs = static_cast<uint32_t>(autoBase->value());
    s.reading.autoPerCharMs = static_cast<uint32_t>(autoPerChar->value());
    s.reading.fastForwardUnread = unread->isChecked();
    s.reading.copyEveryMessage = copyAll->isChecked();
    s.reading.resumeOnClose = resume->isChecked();
    changed(s);
  };
  for (QComboBox* c : {scale, filter, zoom}) QObject::connect(c, &QComboBox::currentIndexChanged, &dlg, update);
  for (QSlider* sl : {music, effects}) QObject::connect(sl, &QSlider::valueChanged, &dlg, update);
  for (QSpinBox* sp : {autoBase, autoPerChar}) QObject::connect(sp, &QSpinBox::valueChanged, &dlg, update);
  for (QCheckBox* c : {muted, unfocused, unread, copyAll, resume}) QObject::connect(c, &QCheckBox::toggled, &dlg, update);
  dlg.exec();
}

}  // namespace mirel::qt
