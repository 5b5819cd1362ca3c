#pragma once
// The few command texts the audio back ends understand, and the error
// numbers they answer with.
#include <cstdint>
#include <string>

namespace mirel {

enum class MciVerb { Open, Play, Stop, Close, Status, Unknown, OtherAlias };

struct MciCommand {
  MciVerb verb = MciVerb::Unknown;
  std::string path;  // of an open command
};

constexpr uint32_t kMciErrUnrecognized = 261;
constexpr uint32_t kMciErrInvalidDevice = 263;
constexpr uint32_t kMciErrCannotLoad = 266;
constexpr uint32_t kMciErrFileNotFound = 275;
constexpr uint32_t kMciErrDuplicateAlias = 289;
constexpr uint32_t kMciErrNoDevice = 296;

inline MciCommand ParseMciCommand(const std::string& s) {
  MciCommand c;
  const std::string tail = " type sequencer alias midifile";
  if (s.rfind("open \"", 0) == 0 && s.size() >= 6 + 1 + tail.size() &&
      s.compare(s.size() - tail.size(), tail.size(), tail) == 0 && s[s.size() - tail.size() - 1] == '"') {
    c.path = s.substr(6, s.size() - tail.size() - 1 - 6);
    c.verb = c.path.find('"') == std::string::npos ? MciVerb::Open : MciVerb::Unknown;
    return c;
  }
  std::string t = s;
  while (!t.empty() && t.back() == ' ') t.pop_back();
  if (t == "play midifile from 0") c.verb = MciVerb::Play;
  else if (t == "stop midifile") c.verb = MciVerb::Stop;
  else if (t == "close midifile") c.verb = MciVerb::Close;
  else if (t == "status midifile mode") c.verb = MciVerb::Status;
  else if (t.rfind("play ", 0) == 0 || t.rfind("stop ", 0) == 0 || t.rfind("close ", 0) == 0 ||
           t.rfind("status ", 0) == 0)
    c.verb = MciVerb::OtherAlias;
  return c;
}

}  // namespace mirel
