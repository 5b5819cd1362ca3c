// The player settings dialog: the display, sound and reading comforts and
// the list of keys and gamepad buttons. Every edit takes effect at once.
#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>
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

#include "platform/qt/QtDisplayHost.h"

namespace mirel::qt {

namespace {

struct Words {
  Q_DECLARE_TR_FUNCTIONS(PlayerSettings)
};

// The keys and gamepad buttons: keyboard and mouse, what they do, the pad.
const char* const kKeys[][3] = {
    {QT_TRANSLATE_NOOP("PlayerSettings", "Left click, Space, Enter"), QT_TRANSLATE_NOOP("PlayerSettings", "next line"), "A"},
    {QT_TRANSLATE_NOOP("PlayerSettings", "Right click"), QT_TRANSLATE_NOOP("PlayerSettings", "hide / show the message window"), "B"},
    {QT_TRANSLATE_NOOP("PlayerSettings", "A key"), QT_TRANSLATE_NOOP("PlayerSettings", "auto mode"), "X"},
    {QT_TRANSLATE_NOOP("PlayerSettings", "Wheel up, Page Up"), QT_TRANSLATE_NOOP("PlayerSettings", "backlog"), "Y"},
    {QT_TRANSLATE_NOOP("PlayerSettings", "Ctrl held"), QT_TRANSLATE_NOOP("PlayerSettings", "fast-forward through read text"), QT_TRANSLATE_NOOP("PlayerSettings", "shoulder")},
    {QT_TRANSLATE_NOOP("PlayerSettings", "Ctrl+C"), QT_TRANSLATE_NOOP("PlayerSettings", "copy the message"), ""},
    {QT_TRANSLATE_NOOP("PlayerSettings", "Backspace, Left / Right"), QT_TRANSLATE_NOOP("PlayerSettings", "one message back / on"), "Back"},
    {"F5 / F9", QT_TRANSLATE_NOOP("PlayerSettings", "quick save / quick load"), ""},
    {"F1", QT_TRANSLATE_NOOP("PlayerSettings", "these settings"), "Start"},
    {"", QT_TRANSLATE_NOOP("PlayerSettings", "choose an answer or a title button"), QT_TRANSLATE_NOOP("PlayerSettings", "D-pad, A")},
    {"Esc", QT_TRANSLATE_NOOP("PlayerSettings", "full screen (during play)"), ""},
    {"F11, Alt+Enter", QT_TRANSLATE_NOOP("PlayerSettings", "full screen (anywhere)"), ""},
    {"Ctrl+1 ... Ctrl+4", QT_TRANSLATE_NOOP("PlayerSettings", "window zoom"), ""},
    {"Ctrl+M", QT_TRANSLATE_NOOP("PlayerSettings", "mute"), ""},
    {"F12, Print", QT_TRANSLATE_NOOP("PlayerSettings", "screenshot (Pictures/MIREL)"), ""},
    {QT_TRANSLATE_NOOP("PlayerSettings", "Arrows, Enter, 1 2 3"), QT_TRANSLATE_NOOP("PlayerSettings", "title buttons, answers, gallery"), ""},
    {"Esc", QT_TRANSLATE_NOOP("PlayerSettings", "close a picture or the gallery"), ""},
    {"V", QT_TRANSLATE_NOOP("PlayerSettings", "the game speaks (on / off)"), ""},
    {"F10, Alt", QT_TRANSLATE_NOOP("PlayerSettings", "the menu, by the keyboard"), ""},
};

QString KeyTable() {
  QString html = "<table cellspacing='2'>";
  for (const auto& row : kKeys) {
    html += "<tr>";
    for (int column = 0; column < 3; ++column) {
      QString cell = *row[column] ? Words::tr(row[column]).toHtmlEscaped() : QString();
      html += column == 1 ? "<td>" + cell + "</td>" : "<td><b>" + cell + "</b></td>";
    }
    html += "</tr>";
  }
  return html + "</table>";
}

QSlider* Slider(int value) {
  auto* s = new QSlider(Qt::Horizontal);
  s->setRange(0, 100);
  s->setValue(value);
  return s;
}

QCheckBox* Check(const QString& text, bool checked) {
  auto* c = new QCheckBox(text);
  c->setChecked(checked);
  return c;
}

QSpinBox* Millis(uint32_t value) {
  auto* s = new QSpinBox;
  s->setRange(0, kMaxAutoMs);
  s->setSingleStep(100);
  s->setSuffix(Words::tr(" ms"));
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
  dlg.setWindowTitle(Words::tr("MIREL - player settings"));
  auto* top = new QVBoxLayout(&dlg);

  auto* display = new QGroupBox(Words::tr("Display"));
  auto* df = new QFormLayout(display);
  auto* scale = new QComboBox;
  scale->addItems({Words::tr("fit (proportions kept)"), Words::tr("integer (whole multiple)"), Words::tr("stretch")});
  scale->setCurrentIndex(static_cast<int>(start.scale));
  auto* filter = new QComboBox;
  filter->addItems({Words::tr("sharp"), Words::tr("smooth")});
  filter->setCurrentIndex(static_cast<int>(start.filter));
  auto* zoom = new QComboBox;
  for (int z = 1; z <= kMaxZoom; ++z) zoom->addItem(QString("%1x").arg(z));
  zoom->setCurrentIndex(start.zoom - 1);
  df->addRow(Words::tr("Scaling"), scale);
  df->addRow(Words::tr("Filtering"), filter);
  df->addRow(Words::tr("Window zoom"), zoom);
  top->addWidget(display);

  auto* sound = new QGroupBox(Words::tr("Sound"));
  auto* sf = new QFormLayout(sound);
  auto* music = Slider(start.musicVolume);
  auto* effects = Slider(start.effectsVolume);
  auto* muted = Check(Words::tr("Mute"), start.muted);
  auto* unfocused = Check(Words::tr("Mute while the window is not in front"), start.muteUnfocused);
  sf->addRow(Words::tr("Music"), music);
  sf->addRow(Words::tr("Effects"), effects);
  sf->addRow(muted);
  sf->addRow(unfocused);
  top->addWidget(sound);

  auto* reading = new QGroupBox(Words::tr("Reading"));
  auto* rf = new QFormLayout(reading);
  auto* autoBase = Millis(start.reading.autoBaseMs);
  auto* autoPerChar = Millis(start.reading.autoPerCharMs);
  auto* unread = Check(Words::tr("Fast-forward through text not yet read too"), start.reading.fastForwardUnread);
  auto* copyAll = Check(Words::tr("Copy every message to the clipboard"), start.reading.copyEveryMessage);
  auto* resume = Check(Words::tr("Closing the window keeps the place for F9"), start.reading.resumeOnClose);
  rf->addRow(Words::tr("Auto mode waits"), autoBase);
  rf->addRow(Words::tr("... and per character"), autoPerChar);
  rf->addRow(unread);
  rf->addRow(copyAll);
  rf->addRow(resume);
  top->addWidget(reading);

  auto* speech = new QGroupBox(Words::tr("Speech"));
  auto* spf = new QFormLayout(speech);
  auto* speak = Check(Words::tr("Speak each message, the answers and the focused button (V)"), start.speech.speak);
  auto* duck = Check(Words::tr("Lower music and effects while speaking"), start.speech.duck);
  auto* rate = new QSlider(Qt::Horizontal);
  rate->setRange(-10, 10);
  rate->setValue(start.speech.rate);
  auto* voice = Slider(start.speech.volume);
  spf->addRow(speak);
  spf->addRow(duck);
  spf->addRow(Words::tr("Rate"), rate);
  spf->addRow(Words::tr("Volume"), voice);
  top->addWidget(speech);

  auto* keys = new QGroupBox(Words::tr("Keys and gamepad buttons"));
  auto* kl = new QVBoxLayout(keys);
  kl->addWidget(new QLabel(KeyTable()));
  top->addWidget(keys);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  // Qt's own word for it is always Japanese, as the game's dialogs need.
  buttons->button(QDialogButtonBox::Close)->setText(Words::tr("Close"));
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
    s.speech.speak = speak->isChecked();
    s.speech.duck = duck->isChecked();
    s.speech.rate = rate->value();
    s.speech.volume = voice->value();
    s.reading.resumeOnClose = resume->isChecked();
    changed(s);
  };
  for (QComboBox* c : {scale, filter, zoom}) QObject::connect(c, &QComboBox::currentIndexChanged, &dlg, update);
  for (QSlider* sl : {music, effects, rate, voice}) QObject::connect(sl, &QSlider::valueChanged, &dlg, update);
  for (QSpinBox* sp : {autoBase, autoPerChar}) QObject::connect(sp, &QSpinBox::valueChanged, &dlg, update);
  for (QCheckBox* c : {muted, unfocused, unread, copyAll, speak, duck, resume}) QObject::connect(c, &QCheckBox::toggled, &dlg, update);
  dlg.exec();
}

}  // namespace mirel::qt
