#pragma once
// Everything the engine needs from the machine, in one place. A build for
// tests or headless runs fills it with the null and scripted implementations.
#include "platform/AudioBackend.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/DialogHost.h"
#include "platform/Events.h"
#include "platform/FontRaster.h"
#include "platform/Image.h"
#include "platform/MessageBox.h"
#include "platform/SystemInfo.h"
#include "platform/UserFolders.h"
#include "platform/WindowHost.h"

namespace mirel {

class SettingsStore;
class DisplayHost;
class AccessibleOutput;
class SpeechEngine;

struct Platform {
  Clock* clock = nullptr;
  EventSource* events = nullptr;
  MessageBoxes* messages = nullptr;
  ImageCodec* images = nullptr;
  FontRasterizer* fonts = nullptr;
  AudioBackend* audio = nullptr;
  SystemInfo* system = nullptr;
  WindowHost* window = nullptr;
  DialogHost* dialogs = nullptr;
  // The player's comforts do without these when they are missing.
  Clipboard* clipboard = nullptr;
  UserFolders* folders = nullptr;
  // The player's own settings and display comforts; without them the game
  // runs with the defaults.
  SettingsStore* settings = nullptr;
  DisplayHost* display = nullptr;
  // Assistive technology and speech synthesis; without them the game
  // neither describes itself nor speaks.
  AccessibleOutput* access = nullptr;
  SpeechEngine* speech = nullptr;
};

}  // namespace mirel
