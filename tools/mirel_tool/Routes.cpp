#include "mirel_tool/Routes.h"

#include <algorithm>
#include <deque>
#include <map>
#include <set>
#include <stdexcept>
#include <unordered_map>

#include "app/Main_Form.h"
#include "base/BmpCodec.h"
#include "platform/Clock.h"
#include "platform/DialogHost.h"
#include "platform/FontRaster.h"
#include "platform/Image.h"
#include "platform/MessageBox.h"
#include "platform/headless/BoxFont.h"
#include "platform/headless/HeadlessWindow.h"
#include "platform/headless/NullAudio.h"
#include "platform/headless/NullDialogHost.h"
#include "platform/headless/VirtualClock.h"

namespace mirel::tool {

namespace {

// What decides where play goes from a record: the record, the counters and
// the counters the first title screen saw. (The choice rows last found do
// not: a choice without rows of its own is passed over.)
struct Key {
  int32_t seq = 0;
  std::array<int16_t, 5> counters{};  // kou, hap, bad, mak, end
  std::array<int16_t, 5> title{};
  bool titled = false;
  bool operator==(const Key& o) const {
    return seq == o.seq && counters == o.counters && title == o.title && titled == o.titled;
  }
};

struct KeyHash {
  size_t operator()(const Key& k) const {
    uint64_t h = static_cast<uint32_t>(k.seq) * 0x9E3779B97F4A7C15ull;
    for (int16_t c : k.counters) h = (h ^ static_cast<uint16_t>(c)) * 0x100000001B3ull;
    for (int16_t c : k.title) h = (h ^ static_cast<uint16_t>(c)) * 0x100000001B3ull;
    return static_cast<size_t>(h ^ (k.titled ? 0x5bd1e995u : 0u));
  }
};

// Where a stretch of play from one state went.
struct Edge {
  int to = -1;  // the next state; -1 when the route ends here
  int answer = -1;
  std::vector<RouteStep> labels;  // the answer and title screens passed
  int messages = 0;
};

struct Stop {
  std::string kind;
  int line;
};

class CollectedMessages final : public MessageBoxes {
 public:
  MsgAnswer Show(const Text& text, MsgButtons) override {
    shown.push_back(text);
    return MsgAnswer::Ok;
  }
  std::vector<Text> shown;
};

struct NoEvents final : EventSource {
  void Pump(EventQueue&) override {}
};

constexpr size_t kMaxStates = 2000000;

std::string FirstWords(const Text& t) {
  Text s = Trim(t);
  return Utf8(s.size() > 16 ? s.substr(0, 16) + u"…" : s);
}

class Walker final : public Main_Form::RouteWalk {
 public:
  explicit Walker(const std::string& dir) {
    p_.clock = &clock_;
    p_.events = &events_;
    p_.messages = &messages_;
    p_.images = &images_;
    p_.fonts = &fonts_;
    p_.audio = &audio_;
    p_.window = &window_;
    p_.dialogs = &dialogs_;
    form_ = std::make_unique<Main_Form>(p_, StartOptions{dir, dir});
    Main_Form& f = *form_;
    f.DataDir = dir;
    if (f.DataDir.empty() || f.DataDir.back() != kPathSep) f.DataDir += kPathSep;
    try {
      LoadScenario(f.DataDir, f, nullptr);
    } catch (const DamagedData& d) {
      throw std::runtime_error(d.file + ":" + std::to_string(d.line) + ": " + Utf8(d.reason));
    }
    f.BgmOn = f.SeOn = false;  // silent: the audio command does nothing
    f.Walk = this;
    reached_.assign(static_cast<size_t>(f.LastSeq + 1), false);
    nodePoint_.assign(static_cast<size_t>(f.LastSeq + 1), false);
    for (const BlockIndexEntry& b : f.BlockIndex)
      if (b.Seq < f.LastSeq) nodePoint_[static_cast<size_t>(b.Seq)] = true;
    for (int32_t i = 0; i < f.LastSeq; ++i)
      if (IsChoice(i)) nodePoint_[static_cast<size_t>(i)] = true;
  }

  RouteReport Run() {
    Key start;
    Node(start);
    dist_[0] = 0;
    std::deque<int> queue{0};
    std::vector<bool> done;
    while (!queue.empty()) {
      const int n = queue.front();
      queue.pop_front();
      if (keys_.size() >= kMaxStates) break;
      if (done.size() <= static_cast<size_t>(n)) done.resize(keys_.size(), false);
      if (done[static_cast<size_t>(n)]) continue;
      done[static_cast<size_t>(n)] = true;
      Expand(n);
      for (size_t e = 0; e < edges_[static_cast<size_t>(n)].size(); ++e) {
        const Edge& edge = edges_[static_cast<size_t>(n)][e];
        if (edge.to < 0) continue;
        const int cost = dist_[static_cast<size_t>(n)] + static_cast<int>(edge.labels.size());
        if (dist_[static_cast<size_t>(edge.to)] >= 0 && dist_[static_cast<size_t>(edge.to)] <= cost) continue;
        dist_[static_cast<size_t>(edge.to)] = cost;
        parent_[static_cast<size_t>(edge.to)] = {n, static_cast<int>(e)};
        if (edge.labels.empty()) queue.push_front(edge.to);
        else queue.push_back(edge.to);
      }
    }
    Report();
    return std::move(report_);
  }

  int16_t Answer(int shown) override {
    shown_ = shown;
    const Main_Form& f = *form_;
    const int pick = pick_ < shown ? pick_ : 0;
    const ChoiceRow& row = f.ChoiceTable[static_cast<size_t>(f.ChoiceBase + pick)];
    picked_ = RouteStep{row.line, pick + 1, Utf8(Trim(row.ChoiceText))};
    return static_cast<int16_t>(pick);
  }
  void Ending() override { ending_ = true; }
  void Quit() override { quit_ = true; }

 private:
  bool IsChoice(int32_t seq) const {
    const Text cmd = Trim(form_->ScenarioTable[static_cast<size_t>(seq)].Cmd);
    return !cmd.empty() && cmd[0] == u's';
  }
  int Line(int32_t seq) const { return form_->ScenarioTable[static_cast<size_t>(seq)].line; }

  int Node(const Key& k) {
    auto [it, added] = index_.emplace(k, static_cast<int>(keys_.size()));
    if (added) {
      keys_.push_back(k);
      edges_.emplace_back();
      dist_.push_back(-1);
      parent_.push_back({-1, -1});
      stops_.emplace_back();
    }
    return it->second;
  }

  Key Current() const {
    const Main_Form& f = *form_;
    Key k;
    k.seq = f.CurSeq;
    k.counters = {f.kou, f.hap, f.bad, f.mak, f.EndPoints};
    if (f.TitleCounters) {
      k.titled = true;
      k.title = {f.TitleCounters->kou, f.TitleCounters->hap, f.TitleCounters->bad, f.TitleCounters->mak,
                 f.TitleCounters->end};
    }
    return k;
  }

  void Load(const Key& k) {
    Main_Form& f = *form_;
    f.CurSeq = k.seq;
    f.kou = k.counters[0];
    f.hap = k.counters[1];
    f.bad = k.counters[2];
    f.mak = k.counters[3];
    f.EndPoints = k.counters[4];
    f.TitleCounters.reset();
    if (k.titled) f.TitleCounters = Main_Form::Counters{k.title[0], k.title[1], k.title[2], k.title[3], k.title[4]};
    f.ChoiceBase = 0;
  }

  void Expand(int n) {
    const Key k = keys_[static_cast<size_t>(n)];
    if (!IsChoice(k.seq)) {
      Segment(n, k, -1);
      return;
    }
    ++choiceStates_;
    shown_ = 0;
    Segment(n, k, 0);
    for (int a = 1; a < shown_; ++a) Segment(n, k, a);
  }

  void Ended(int n, Edge& edge, const std::string& kind, int line) {
    edge.to = -1;
    Main_Form& f = *form_;
    RouteEnding e{kind, line, f.kou, f.hap, f.bad, f.mak, f.EndPoints, edge.labels};
    endingsAt_.push_back({n, std::move(e)});
    stops_[static_cast<size_t>(n)].push_back({kind, line});
  }

  // Plays from state `k` (taking answer `answer` at a choice) until the
  // next state where routes may meet, or the end of the route.
  void Segment(int n, const Key& k, int answer) {
    Main_Form& f = *form_;
    Load(k);
    pick_ = answer < 0 ? 0 : answer;
    Edge edge;
    edge.answer = answer;
    bool check = true, first = true;
    int16_t block = f.ScenarioTable[static_cast<size_t>(k.seq)].Num;
    std::string label;
    for (int32_t steps = 0;; ++steps) {
      if (check && f.CurSeq >= f.LastSeq) return Finish(n, edge, "stop", Line(f.LastSeq));
      if (f.CurSeq < 0 || f.CurSeq > f.LastSeq || steps > Main_Form::kMaxQuietSteps) {
        Stopped(Line(k.seq), "play does not come back from here");
        return Finish(n, edge, "", 0);
      }
      const int32_t seq = f.CurSeq;
      const ScenarioRecord& r = f.ScenarioTable[static_cast<size_t>(seq)];
      if (r.Num != block) {
        graph_.insert({block, r.Num, label});
        block = r.Num;
        label.clear();
      }
      if (!first && nodePoint_[static_cast<size_t>(seq)]) {
        edge.to = Node(Current());
        edges_[static_cast<size_t>(n)].push_back(std::move(edge));
        return;
      }
      first = false;
      reached_[static_cast<size_t>(seq)] = true;
      int32_t result = 0;
      ending_ = quit_ = false;
      messages_.shown.clear();
      try {
        result = f.RunStep();
      } catch (const PlayError& e) {
        Stopped(r.line, "play stops here: " + Utf8(e.message));
        return Finish(n, edge, "", 0);
      } catch (const ConversionError& e) {
        Stopped(r.line, "play stops here: \"" + Utf8(e.text) + "\" is not a number");
        return Finish(n, edge, "", 0);
      }
      for (const Text& m : messages_.shown) Stopped(r.line, "play shows the message \"" + Utf8(m) + "\" here");
      if (answer >= 0 && seq == k.seq) {
        edge.labels.push_back(picked_);
        label = picked_.text;
      }
      if (quit_) return Finish(n, edge, "quit", r.line);
      if (ending_) {
        const int16_t e = f.EndPoints;
        const std::string kind = e == 0 ? "plain" : e == 1 ? "ending 1" : e == 2 ? "ending 2" : "ending " + std::to_string(e);
        if (e < 0 || e > 2) Stopped(r.line, "the end counter is " + std::to_string(e) + " here; the ending needs 0, 1 or 2");
        RouteEnding end{kind, r.line, f.kou, f.hap, f.bad, f.mak, e, edge.labels};
        endingsAt_.push_back({n, std::move(end)});
        graph_.insert({block, static_cast<int16_t>(-1 - std::min<int>(e, 2)), ""});
      }
      if (result == 0) ++edge.messages;
      if (result == 9) {
        // The title: the walk goes on as a new game from it.
        f.NoteTitleCounters();
        f.NewGameState();
        edge.labels.push_back(RouteStep{0, 0, "new game"});
        label = "new game";
        check = true;
        continue;
      }
      check = f.StepOn(result);
    }
  }

  void Finish(int n, Edge& edge, const std::string& kind, int line) {
    if (!kind.empty()) {
      Ended(n, edge, kind, line);
      graph_.insert({form_->ScenarioTable[static_cast<size_t>(std::min(form_->CurSeq, form_->LastSeq))].Num,
                     static_cast<int16_t>(kind == "quit" ? -4 : -5), ""});
    }
    edge.to = -1;
    edges_[static_cast<size_t>(n)].push_back(std::move(edge));
  }

  void Stopped(int line, const std::string& message) {
    if (said_.insert({line, message}).second) report_.findings.push_back({"91.dat", line, message, Severity::Error});
  }

  std::vector<RouteStep> PathTo(int n) const {
    std::vector<RouteStep> path;
    while (n >= 0 && parent_[static_cast<size_t>(n)].first >= 0) {
      const auto [from, e] = parent_[static_cast<size_t>(n)];
      const auto& labels = edges_[static_cast<size_t>(from)][static_cast<size_t>(e)].labels;
      path.insert(path.begin(), labels.begin(), labels.end());
      n = from;
    }
    return path;
  }

  void Report() {
    Main_Form& f = *form_;
    report_.states = keys_.size();
    report_.choices = choiceStates_;
    report_.cut = keys_.size() >= kMaxStates;
    // Endings: one shortest answer list for each ending and its counters.
    std::map<std::tuple<std::string, int16_t, int16_t, int16_t, int16_t, int16_t>, RouteEnding> best;
    for (auto& [n, e] : endingsAt_) {
      if (dist_[static_cast<size_t>(n)] < 0) continue;
      std::vector<RouteStep> answers = PathTo(n);
      answers.insert(answers.end(), e.answers.begin(), e.answers.end());
      e.answers = std::move(answers);
      auto key = std::make_tuple(e.kind, e.end, e.kou, e.hap, e.bad, e.mak);
      auto it = best.find(key);
      if (it == best.end() || it->second.answers.size() > e.answers.size()) best[key] = e;
    }
    for (auto& [key, e] : best) report_.endings.push_back(std::move(e));
    // Records no route reaches, a run of them at a time.
    for (int32_t i = 0; i < f.LastSeq; ++i) {
      if (reached_[static_cast<size_t>(i)]) continue;
      int32_t j = i;
      while (j + 1 < f.LastSeq && !reached_[static_cast<size_t>(j + 1)]) ++j;
      const ScenarioRecord& r = f.ScenarioTable[static_cast<size_t>(i)];
      std::string words;
      for (int32_t k = i; k <= j && words.empty(); ++k) words = FirstWords(f.ScenarioTable[static_cast<size_t>(k)].Text);
      report_.findings.push_back({"91.dat", r.line,
                                  "no route reaches " + (i == j ? std::string("this record") : std::to_string(j - i + 1) + " records") +
                                      " (block " + std::to_string(r.Num) + (words.empty() ? "" : ", \"" + words + "\"") + ")",
                                  Severity::Warning});
      i = j;
    }
    EqualAnswers();
    Loops();
    Totals();
    Dot();
  }

  // The states an answer leads through before the next choice.
  std::set<int> Chain(int n) const {
    std::set<int> seen;
    while (n >= 0 && seen.size() < 256 && !seen.count(n)) {
      seen.insert(n);
      const auto& out = edges_[static_cast<size_t>(n)];
      if (out.size() != 1 || IsChoice(keys_[static_cast<size_t>(n)].seq)) break;
      n = out[0].to;
    }
    return seen;
  }

  void EqualAnswers() {
    // Per choice record and pair of answers: the same state on every route.
    std::map<std::tuple<int32_t, int, int>, bool> equal;
    std::map<std::pair<int32_t, int>, RouteStep> rows;
    for (size_t n = 0; n < keys_.size(); ++n) {
      if (!IsChoice(keys_[n].seq) || dist_[n] < 0) continue;
      const auto& out = edges_[n];
      std::vector<std::set<int>> chains;
      for (const Edge& e : out) {
        chains.push_back(Chain(e.to));
        if (!e.labels.empty()) rows[{keys_[n].seq, e.answer}] = e.labels.front();
      }
      for (size_t a = 0; a < out.size(); ++a)
        for (size_t b = a + 1; b < out.size(); ++b) {
          bool same = std::any_of(chains[a].begin(), chains[a].end(), [&](int s) { return chains[b].count(s) > 0; });
          auto key = std::make_tuple(keys_[n].seq, out[a].answer, out[b].answer);
          auto it = equal.find(key);
          if (it == equal.end()) equal[key] = same;
          else it->second = it->second && same;
        }
    }
    for (const auto& [key, same] : equal) {
      if (!same) continue;
      const auto& [seq, a, b] = key;
      const RouteStep &ra = rows[{seq, a}], &rb = rows[{seq, b}];
      report_.findings.push_back({"92.dat", rb.line,
                                  "answer " + std::to_string(b + 1) + " \"" + rb.text + "\" leads to the same state as answer " +
                                      std::to_string(a + 1) + " \"" + ra.text + "\" (choice at 91.dat:" +
                                      std::to_string(Line(seq)) + ")",
                                  Severity::Warning});
    }
  }

  // States from which no route reaches an end: loops a route cannot leave.
  void Loops() {
    const size_t n = keys_.size();
    std::vector<std::vector<int>> from(n);
    std::vector<bool> leaves(n, false);
    std::deque<int> queue;
    for (size_t i = 0; i < n; ++i)
      for (const Edge& e : edges_[i]) {
        if (e.to < 0 && !leaves[i]) {
          leaves[i] = true;
          queue.push_back(static_cast<int>(i));
        }
        if (e.to >= 0) from[static_cast<size_t>(e.to)].push_back(static_cast<int>(i));
      }
    while (!queue.empty()) {
      const int i = queue.front();
      queue.pop_front();
      for (int p : from[static_cast<size_t>(i)])
        if (!leaves[static_cast<size_t>(p)]) {
          leaves[static_cast<size_t>(p)] = true;
          queue.push_back(p);
        }
    }
    std::set<int16_t> told;
    for (size_t i = 0; i < n; ++i) {
      if (leaves[i] || dist_[i] < 0) continue;
      // Told where routes enter it.
      bool entry = i == 0 || std::any_of(from[i].begin(), from[i].end(), [&](int p) { return leaves[static_cast<size_t>(p)]; });
      const ScenarioRecord& r = form_->ScenarioTable[static_cast<size_t>(keys_[i].seq)];
      if (!entry || !told.insert(r.Num).second) continue;
      const auto& c = keys_[i].counters;
      report_.findings.push_back({"91.dat", r.line,
                                  "block " + std::to_string(r.Num) + " loops and no route leaves it (kou " + std::to_string(c[0]) +
                                      ", hap " + std::to_string(c[1]) + ", bad " + std::to_string(c[2]) + ", mak " +
                                      std::to_string(c[3]) + ", end " + std::to_string(c[4]) + ")",
                                  Severity::Error});
    }
  }

  // Messages seen on the shortest and the longest route from the start to
  // an end, going round no loop.
  void Totals() {
    const size_t n = keys_.size();
    std::vector<int> lo(n, -1), hi(n, -1), state(n, 0);
    std::vector<std::pair<int, size_t>> stack{{0, 0}};
    state[0] = 1;
    while (!stack.empty()) {
      auto& [v, next] = stack.back();
      const auto& out = edges_[static_cast<size_t>(v)];
      if (next < out.size()) {
        const int w = out[next++].to;
        if (w >= 0 && state[static_cast<size_t>(w)] == 0) {
          state[static_cast<size_t>(w)] = 1;
          stack.push_back({w, 0});
        }
        continue;
      }
      int l = -1, h = -1;
      for (const Edge& e : out) {
        if (e.to >= 0 && (state[static_cast<size_t>(e.to)] == 1 || lo[static_cast<size_t>(e.to)] < 0)) continue;
        const int el = e.messages + (e.to >= 0 ? lo[static_cast<size_t>(e.to)] : 0);
        const int eh = e.messages + (e.to >= 0 ? hi[static_cast<size_t>(e.to)] : 0);
        l = l < 0 ? el : std::min(l, el);
        h = std::max(h, eh);
      }
      lo[static_cast<size_t>(v)] = l;
      hi[static_cast<size_t>(v)] = h;
      state[static_cast<size_t>(v)] = 2;
      stack.pop_back();
    }
    report_.shortestMessages = std::max(0, lo[0]);
    report_.longestMessages = std::max(0, hi[0]);
  }

  void Dot() {
    auto name = [](int16_t b) {
      static const char* const kEnds[] = {"plain", "ending 1", "ending 2", "quit", "stop"};
      return b < 0 ? std::string("\"") + kEnds[-1 - b] + "\"" : "b" + std::to_string(b);
    };
    std::string d = "digraph routes {\n  rankdir=TB;\n  node [shape=box, fontname=\"sans\"];\n";
    std::set<int16_t> blocks;
    for (const auto& [a, b, label] : graph_) {
      blocks.insert(a);
      blocks.insert(b);
    }
    for (int16_t b : blocks) {
      if (b < 0) d += "  " + name(b) + " [shape=doubleoctagon, style=filled, fillcolor=\"#f4d9a6\"];\n";
      else d += "  " + name(b) + " [label=\"" + std::to_string(b) + "\"];\n";
    }
    for (const auto& [a, b, label] : graph_) {
      d += "  " + name(a) + " -> " + name(b);
      if (!label.empty()) {
        std::string l;
        for (char c : label) l += c == '"' ? std::string("\\\"") : std::string(1, c);
        d += " [label=\"" + l + "\"]";
      }
      d += ";\n";
    }
    report_.dot = d + "}\n";
  }

  VirtualClock clock_;
  NoEvents events_;
  CollectedMessages messages_;
  BmpCodec images_;
  BoxFont fonts_;
  NullAudio audio_;
  HeadlessWindow window_;
  NullDialogHost dialogs_;
  Platform p_;
  std::unique_ptr<Main_Form> form_;

  std::vector<Key> keys_;
  std::unordered_map<Key, int, KeyHash> index_;
  std::vector<std::vector<Edge>> edges_;
  std::vector<int> dist_;
  std::vector<std::pair<int, int>> parent_;
  std::vector<std::vector<Stop>> stops_;
  std::vector<std::pair<int, RouteEnding>> endingsAt_;
  std::vector<bool> reached_, nodePoint_;
  std::set<std::tuple<int16_t, int16_t, std::string>> graph_;
  std::set<std::pair<int, std::string>> said_;
  size_t choiceStates_ = 0;
  int pick_ = 0, shown_ = 0;
  RouteStep picked_;
  bool ending_ = false, quit_ = false;
  RouteReport report_;
};

std::string Json(const std::string& s) {
  std::string o = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') o += '\\', o += c;
    else if (static_cast<unsigned char>(c) < 0x20) o += "\\u00" + std::string(1, "0123456789abcdef"[c >> 4]) + "0123456789abcdef"[c & 15];
    else o += c;
  }
  return o + "\"";
}

std::string Counters(const RouteEnding& e) {
  return "kou " + std::to_string(e.kou) + ", hap " + std::to_string(e.hap) + ", bad " + std::to_string(e.bad) + ", mak " +
         std::to_string(e.mak) + ", end " + std::to_string(e.end);
}

}  // namespace

RouteReport WalkRoutes(const std::string& dir) { return Walker(dir).Run(); }

std::string RoutesText(const RouteReport& r) {
  std::string s;
  for (const RouteEnding& e : r.endings) {
    s += "ending: " + e.kind + " at 91.dat:" + std::to_string(e.line) + " (" + Counters(e) + ")\n  answers:";
    if (e.answers.empty()) s += " none";
    for (const RouteStep& a : e.answers)
      s += a.answer == 0 ? std::string(" [new game]") : " " + std::to_string(a.answer) + " \"" + a.text + "\"";
    s += "\n";
  }
  for (const Finding& f : r.findings) s += f.Format() + "\n";
  s += "totals: " + std::to_string(r.endings.size()) + " routes (states at the endings), " + std::to_string(r.states) +
       " states, " + std::to_string(r.choices) + " choices met, messages on the shortest route " +
       std::to_string(r.shortestMessages) + ", on the longest " + std::to_string(r.longestMessages) + "\n";
  if (r.cut) s += "warning: the walk stopped after " + std::to_string(r.states) + " states\n";
  return s;
}

std::string RoutesJson(const RouteReport& r) {
  std::string s = "{\n  \"endings\": [";
  for (size_t i = 0; i < r.endings.size(); ++i) {
    const RouteEnding& e = r.endings[i];
    s += std::string(i ? "," : "") + "\n    {\"kind\": " + Json(e.kind) + ", \"line\": " + std::to_string(e.line) +
         ", \"counters\": {\"kou\": " + std::to_string(e.kou) + ", \"hap\": " + std::to_string(e.hap) + ", \"bad\": " +
         std::to_string(e.bad) + ", \"mak\": " + std::to_string(e.mak) + ", \"end\": " + std::to_string(e.end) +
         "}, \"answers\": [";
    for (size_t k = 0; k < e.answers.size(); ++k)
      s += std::string(k ? ", " : "") + "{\"answer\": " + std::to_string(e.answers[k].answer) + ", \"line\": " +
           std::to_string(e.answers[k].line) + ", \"text\": " + Json(e.answers[k].text) + "}";
    s += "]}";
  }
  s += "\n  ],\n  \"findings\": [";
  for (size_t i = 0; i < r.findings.size(); ++i) {
    const Finding& f = r.findings[i];
    s += std::string(i ? "," : "") + "\n    {\"file\": " + Json(f.file) + ", \"line\": " + std::to_string(f.line) +
         ", \"severity\": " + (f.severity == Severity::Error ? "\"error\"" : "\"warning\"") + ", \"message\": " +
         Json(f.message) + "}";
  }
  s += "\n  ],\n  \"totals\": {\"routes\": " + std::to_string(r.endings.size()) + ", \"states\": " + std::to_string(r.states) +
       ", \"choices\": " + std::to_string(r.choices) + ", \"shortest_messages\": " + std::to_string(r.shortestMessages) +
       ", \"longest_messages\": " + std::to_string(r.longestMessages) + ", \"cut\": " + (r.cut ? "true" : "false") + "}\n}\n";
  return s;
}

}  // namespace mirel::tool
