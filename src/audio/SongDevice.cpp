#include "audio/SongDevice.h"

#include <utility>

#include "audio/MidiFile.h"
#include "platform/MciCommand.h"

namespace mirel {

uint32_t SongDevice::SongCommand(const std::string& command, std::string* result) {
  if (result) result->clear();
  MciCommand c = ParseMciCommand(command);
  switch (c.verb) {
    case MciVerb::Open: {
      if (open_) return kMciErrDuplicateAlias;
      auto bytes = ReadFile(c.path);
      if (!bytes) return kMciErrFileNotFound;
      auto ms = MidiLengthMs(*bytes);
      if (!ms) return kMciErrCannotLoad;
      OnSongOpened(std::move(*bytes), *ms);
      open_ = true;
      playing_ = false;
      return 0;
    }
    case MciVerb::Unknown: return kMciErrUnrecognized;
    case MciVerb::OtherAlias: return kMciErrInvalidDevice;
    default: break;
  }
  if (!open_) return kMciErrInvalidDevice;
  switch (c.verb) {
    case MciVerb::Play:
      playing_ = false;
      if (!OnSongStart()) return kMciErrCannotLoad;
      playing_ = true;
      return 0;
    case MciVerb::Stop:
      OnSongStop();
      playing_ = false;
      return 0;
    case MciVerb::Close:
      OnSongClose();
      open_ = playing_ = false;
      return 0;
    case MciVerb::Status:
      if (result) *result = SongPlaying() ? "playing" : "stopped";
      return 0;
    default: return kMciErrUnrecognized;
  }
}

}  // namespace mirel
