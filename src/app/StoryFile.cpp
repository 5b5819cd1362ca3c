#include "app/StoryFile.h"

#include "base/Cp932.h"
#include "base/Files.h"

namespace mirel {

namespace {

const char* const kStaffKeys[] = {"scenario", "program", "graphics", "music", "maker", "year"};

Text* StaffField(extras::CreditsContent& c, size_t k) {
  Text* fields[] = {&c.scenario, &c.program, &c.graphics, &c.music, &c.maker, &c.year};
  return fields[k];
}

}  // namespace

StoryContent ParseStory(std::string_view bytes) {
  StoryContent story;
  story.found = true;
  story.creditsFrom = kStoryFile;
  std::array<bool, 8> tagSeen{};
  std::array<bool, 6> staffSeen{};
  enum class Section { None, Tags, Staff, Unknown } section = Section::None;
  auto problem = [&story](int line, std::string message) { story.problems.push_back({line, std::move(message)}); };
  size_t at = 0;
  for (int n = 1; at < bytes.size(); ++n) {
    size_t nl = bytes.find('\n', at);
    std::string_view raw = bytes.substr(at, nl == std::string_view::npos ? std::string_view::npos : nl - at);
    at = nl == std::string_view::npos ? bytes.size() : nl + 1;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    std::optional<Text> decoded = DecodeCp932(raw);
    if (!decoded) {
      problem(n, "not Shift-JIS (CP932) text");
      continue;
    }
    Text line = Trim(*decoded);
    if (line.empty() || line[0] == u';' || line[0] == u'#') continue;
    if (line.front() == u'[') {
      if (line == u"[tags]") section = Section::Tags;
      else if (line == u"[staff]") section = Section::Staff;
      else {
        section = Section::Unknown;
        problem(n, "unknown section " + Utf8(line) + "; the sections are [tags] and [staff]");
      }
      continue;
    }
    size_t eq = line.find(u'=');
    if (eq == Text::npos) {
      problem(n, "expected NAME=TEXT or a [section]");
      continue;
    }
    std::string key = Utf8(Trim(TextView(line).substr(0, eq)));
    Text value = Trim(TextView(line).substr(eq + 1));
    if (section == Section::Tags) {
      if (key.size() != 1 || key[0] < '2' || key[0] > '9') {
        problem(n, "\"" + key + "\" is no speaker: tags are given for speakers 2 to 9");
        continue;
      }
      size_t k = static_cast<size_t>(key[0] - '2');
      if (tagSeen[k]) problem(n, "speaker " + key + " has a tag already");
      tagSeen[k] = true;
      story.tags[k] = value;
    } else if (section == Section::Staff) {
      size_t k = 0;
      while (k < 6 && key != kStaffKeys[k]) ++k;
      if (k == 6) {
        problem(n, "\"" + key + "\" is not a staff line: scenario, program, graphics, music, maker, year");
        continue;
      }
      if (staffSeen[k]) problem(n, key + " is given twice");
      staffSeen[k] = true;
      story.staffLines[k] = n;
      if (!value.empty()) *StaffField(story.credits, k) = value;
    } else if (section == Section::None) {
      problem(n, "\"" + key + "\" stands before any [section]");
    }
  }
  for (size_t k = 0; k < 8; ++k)
    if (!tagSeen[k]) problem(0, "no tag for speaker " + std::to_string(k + 2) + ": its lines show none");
  return story;
}

StoryContent ReadStory(const std::string& dataDir) {
  std::string path = ResolveInDir(dataDir, kStoryFile);
  if (std::optional<Bytes> bytes = ReadFile(path))
    return ParseStory(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  StoryContent story;
  story.problems.push_back({0, std::string(FileExists(path) ? "cannot be read" : "missing") +
                                   ": speaker tags 2 to 9 are empty"});
  // Data folders made before the story file kept the staff roll alone.
  std::string staff = ResolveInDir(dataDir, extras::kCreditsFile);
  story.credits = extras::ReadCredits(staff);
  if (FileExists(staff)) {
    story.creditsFrom = extras::kCreditsFile;
    story.staffLines = {1, 2, 3, 4, 5, 6};
  }
  return story;
}

std::string StoryContent::Summary() const {
  std::string s = kStoryFile;
  if (!problems.empty()) {
    const StoryProblem& p = problems.front();
    s += (p.line ? ":" + std::to_string(p.line) : std::string()) + ": " + p.message;
    if (problems.size() > 1) s += " (and " + std::to_string(problems.size() - 1) + " more)";
  }
  if (!found) s += creditsFrom.empty() ? "; the staff roll credits the project" : "; staff roll from " + creditsFrom;
  return s;
}

}  // namespace mirel
