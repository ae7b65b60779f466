#include "exchange/network_from_project.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <deque>
#include <map>
#include <set>
#include <unordered_map>

#include "calendar/production_calendar.h"
#include "model/command_error.h"
#include "model/network_model.h"

namespace velko {

namespace {

// A negative link carried back through many predecessors multiplies; past this many
// dummy works the file is refused rather than the memory exhausted.
constexpr std::size_t kMaxCarriedLinks = 4 * static_cast<std::size_t>(kMaxWorks);
// An exception longer than ten years is a mistake of the file, not a holiday.
constexpr int kMaxExceptionDays = 3660;
// Durations and lags beyond this many days are errors of the file; the model's 6-byte
// reals would overflow on some of them only once the data set had been replaced.
constexpr double kMaxDays = 1e7;

std::string label(const ProjectTask& task) {
  return "задача UID " + std::to_string(task.uid) + (task.name.empty() ? "" : " «" + task.name + "»");
}

bool elapsedFormat(int format) {
  const int base = format >= 32 ? format - 32 : format;
  return base == 4 || base == 6 || base == 8 || base == 10 || base == 12 || base == 20;
}

std::string days(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", value);
  return text;
}

// ES(to) >= ES(from) + time: every link in the starts of its two tasks.
struct Constraint {
  int from = 0;
  int to = 0;
  double time = 0;
};

struct Leaf {
  const ProjectTask* task = nullptr;
  double days = 0;
  int workers = 0;
  int id = 0;
  std::string name;
};

struct Arc {
  int from = 0;
  int to = 0;
  double days = 0;
  int leaf = -1;  // the task it stands for; -1 for a dummy
  bool alive = true;
};

// The events and works while dummies are merged away.
class EventGraph {
 public:
  int addEvent() {
    out_.emplace_back();
    in_.emplace_back();
    alive_.push_back(true);
    return static_cast<int>(alive_.size()) - 1;
  }
  void addArc(int from, int to, double time, int leaf) {
    if (auto it = out_[from].find(to); it != out_[from].end()) {  // parallel dummies: the longer stands
      arcs_[it->second].days = std::max(arcs_[it->second].days, time);
      return;
    }
    arcs_.push_back({from, to, time, leaf, true});
    out_[from][to] = in_[to][from] = static_cast<int>(arcs_.size()) - 1;
  }
  std::size_t arcCount() const { return arcs_.size(); }
  bool hasIn(int event) const { return !in_[event].empty(); }
  bool hasOut(int event) const { return !out_[event].empty(); }
  int eventCount() const { return static_cast<int>(alive_.size()); }

  // A dummy of no time from u to v joins its two events when u has no other way out or
  // v no other way in: then every time and dependency stays as it was. Not where two
  // works would then join the same pair of events, which the network cannot hold.
  void mergeDummies() {
    for (bool changed = true; changed;) {
      changed = mergeTwins(true) | mergeTwins(false);
      for (std::size_t a = 0; a < arcs_.size(); ++a) {
        Arc& arc = arcs_[a];
        if (!arc.alive || arc.leaf >= 0 || arc.days != 0) continue;
        const int u = arc.from, v = arc.to;
        if (out_[u].size() != 1 && in_[v].size() != 1) continue;
        if (!mergeable(u, v)) continue;
        arc.alive = false;
        out_[u].erase(v);
        in_[v].erase(u);
        if (out_[u].size() + in_[u].size() <= out_[v].size() + in_[v].size()) join(v, u);
        else join(u, v);
        changed = true;
      }
    }
  }

  // The live events numbered in an order of precedence, from 1; 0 for merged ones.
  std::vector<int> numbering() const {
    std::vector<int> number(alive_.size(), 0);
    std::vector<std::size_t> waiting(alive_.size(), 0);
    std::deque<int> ready;
    for (std::size_t e = 0; e < alive_.size(); ++e) {
      waiting[e] = in_[e].size();
      if (alive_[e] && waiting[e] == 0) ready.push_back(static_cast<int>(e));
    }
    int next = 0;
    while (!ready.empty()) {
      const int e = ready.front();
      ready.pop_front();
      number[e] = ++next;
      for (const auto& [to, arc] : out_[e])
        if (--waiting[to] == 0) ready.push_back(to);
    }
    return number;
  }
  const std::vector<Arc>& arcs() const { return arcs_; }

 private:
  // Events whose works in (or out) are all dummies of no time from (or to) the same
  // events stand for the same moment: one of them is enough. This is what makes one
  // event of two tasks that both precede two others, which merging one dummy at a time
  // cannot.
  bool mergeTwins(bool byWayIn) {
    auto& side = byWayIn ? in_ : out_;
    auto& other = byWayIn ? out_ : in_;
    std::map<std::vector<int>, int> first;
    bool changed = false;
    for (std::size_t e = 0; e < alive_.size(); ++e) {
      if (!alive_[e] || side[e].empty()) continue;
      std::vector<int> ends;
      bool allDummies = true;
      for (const auto& [x, a] : side[e]) {
        allDummies = allDummies && arcs_[a].leaf < 0 && arcs_[a].days == 0;
        ends.push_back(x);
      }
      if (!allDummies) continue;
      const auto [it, added] = first.emplace(std::move(ends), static_cast<int>(e));
      if (added) continue;
      const int keep = it->second, gone = static_cast<int>(e);
      if (share(other[keep], other[gone])) continue;
      for (const auto& [x, a] : side[gone]) {  // the same as keep's: dropped
        arcs_[a].alive = false;
        (byWayIn ? out_ : in_)[x].erase(gone);
      }
      side[gone].clear();
      join(keep, gone);
      changed = true;
    }
    return changed;
  }

  // Whether two of their works would join the same pair of events; the smaller side
  // is looked through, as a start event may have thousands of works.
  static bool share(const std::map<int, int>& a, const std::map<int, int>& b) {
    const auto& small = a.size() <= b.size() ? a : b;
    const auto& large = a.size() <= b.size() ? b : a;
    for (const auto& [x, arc] : small)
      if (large.count(x)) return true;
    return false;
  }
  bool mergeable(int u, int v) const { return !share(in_[u], in_[v]) && !share(out_[u], out_[v]); }
  // `gone`'s works move to `keep`.
  void join(int keep, int gone) {
    for (const auto& [x, a] : in_[gone]) {
      arcs_[a].to = keep;
      out_[x].erase(gone);
      out_[x][keep] = a;
      in_[keep][x] = a;
    }
    for (const auto& [y, a] : out_[gone]) {
      arcs_[a].from = keep;
      in_[y].erase(gone);
      in_[y][keep] = a;
      out_[keep][y] = a;
    }
    in_[gone].clear();
    out_[gone].clear();
    alive_[gone] = false;
  }

  std::vector<Arc> arcs_;
  std::vector<std::map<int, int>> out_;  // to -> arc
  std::vector<std::map<int, int>> in_;   // from -> arc
  std::vector<bool> alive_;
};

class Converter {
 public:
  Converter(const ProjectFile& project, const std::string& fileName) : p_(project), file_(fileName) {}

  ImportedNetwork run() {
    trades();
    leaves();
    links();
    std::vector<int> order = topologicalOrder();
    carryNegativeLinks(order);
    calendar();
    return network();
  }

 private:
  [[noreturn]] void refuse(const std::string& what) { throw CommandError("Файл " + file_ + ": " + what); }
  void note(const std::string& line) { notes_.push_back(line); }

  void trades() {
    for (const ProjectResource& r : p_.resources) {
      const std::string name = "ресурс UID " + std::to_string(r.uid) + (r.name.empty() ? "" : " «" + r.name + "»");
      if (r.type != 1) {
        note(name + ": " + (r.type == 0 ? "материальный" : "затратный") + " ресурс не перенесен");
        continue;
      }
      if (r.name.empty() && r.uid == 0) continue;  // the file's placeholder, no resource
      const int id = static_cast<int>(tradeOf_.size()) + 1;
      tradeOf_[r.uid] = id;
      out_.extras.tradeNames[id] = r.name.empty() ? "Ресурс " + std::to_string(r.uid) : r.name;
      if (!r.maxUnits) continue;
      const double limit = std::round(*r.maxUnits);
      if (limit >= 1 && limit <= 2147483647.0) out_.extras.crewLimits[id] = static_cast<long long>(limit);
      else note(name + ": максимум единиц " + days(*r.maxUnits) + " не стал ограничением бригады");
      if (limit >= 1 && limit != *r.maxUnits) note(name + ": максимум единиц " + days(*r.maxUnits) + " округлен до " + days(limit));
    }
    noTrade_ = static_cast<int>(tradeOf_.size()) + 1;
    for (const ProjectAssignment& a : p_.assignments) {
      if (a.resourceUid == -65535) continue;  // the file's mark of a task with no resource
      if (tradeOf_.count(a.resourceUid)) workAssignments_[a.taskUid].push_back(&a);
      else if (std::none_of(p_.resources.begin(), p_.resources.end(), [&](const ProjectResource& r) { return r.uid == a.resourceUid; }))
        note("назначение задачи UID " + std::to_string(a.taskUid) + " ресурсу UID " + std::to_string(a.resourceUid) +
             ", которого нет в файле, не перенесено");
      // An assignment of a material or cost resource: that resource's own line says it was left out.
    }
  }

  void leaves() {
    for (const ProjectTask& t : p_.tasks) {
      if (t.isNull || (t.outlineLevel == 0 && t.uid == 0)) continue;  // empty rows and the project's own summary
      if (t.summary) {
        ++summaries_;
        continue;
      }
      if (leafOf_.count(t.uid)) refuse("задача UID " + std::to_string(t.uid) + " встречается дважды");
      Leaf leaf;
      leaf.task = &t;
      leaf.days = std::max(0.0, t.minutes) / p_.minutesPerDay;
      if (leaf.days > kMaxDays) refuse(label(t) + ": длительность больше 10 000 000 дней");
      if (t.minutes < 0) note(label(t) + ": отрицательная длительность принята за 0");
      if (elapsedFormat(t.durationFormat) && t.minutes > 0)
        note(label(t) + ": календарная длительность пересчитана в рабочие дни по " + days(p_.minutesPerDay) +
             " мин в дне");
      if (t.constraintType != 0) note(label(t) + ": ограничение даты (тип " + std::to_string(t.constraintType) + ") не перенесено");
      leaf.name = t.name;
      if (utf8Length(leaf.name) > kMaxWorkNameChars) {
        std::size_t cut = 0, count = 0;
        while (cut < leaf.name.size() && count < kMaxWorkNameChars) {
          ++cut;
          while (cut < leaf.name.size() && (static_cast<unsigned char>(leaf.name[cut]) & 0xC0) == 0x80) ++cut;
          ++count;
        }
        leaf.name.resize(cut);
        note(label(t) + ": наименование сокращено до 255 знаков");
      }
      leaf.id = noTrade_;
      if (auto it = workAssignments_.find(t.uid); it != workAssignments_.end()) {
        const auto& list = it->second;
        const ProjectAssignment* main = list.front();
        for (const ProjectAssignment* a : list)
          if (a->units > main->units) main = a;
        if (list.size() > 1)
          note(label(t) + ": ресурсов " + std::to_string(list.size()) + ", перенесен один (UID " +
               std::to_string(main->resourceUid) + "), остальные опущены");
        leaf.id = tradeOf_.at(main->resourceUid);
        const double workers = std::round(main->units);
        leaf.workers = static_cast<int>(std::clamp(workers, 0.0, 2147483647.0));
        if (workers != main->units)
          note(label(t) + ": единицы назначения " + days(main->units) + " округлены до " + std::to_string(leaf.workers) +
               " рабочих");
      }
      if (leaf.days == 0) {
        ++milestones_;
        if (leaf.workers > 0 || !leaf.name.empty())
          note(label(t) + ": веха без длительности стала событием");
      }
      leafOf_[t.uid] = static_cast<int>(leaves_.size());
      leaves_.push_back(std::move(leaf));
    }
    for (const ProjectTask& t : p_.tasks)
      if (t.summary && !t.isNull && !t.predecessors.empty())
        note(label(t) + ": связи суммарной задачи не перенесены");
    if (leaves_.empty()) refuse("в файле нет ни одной задачи");
  }

  void links() {
    in_.assign(leaves_.size(), {});
    std::map<std::pair<int, int>, double> strongest;
    std::set<int> uids;
    for (const ProjectTask& t : p_.tasks) uids.insert(t.uid);
    for (std::size_t s = 0; s < leaves_.size(); ++s) {
      const ProjectTask& task = *leaves_[s].task;
      for (const ProjectLink& link : task.predecessors) {
        if (link.crossProject) {
          note(label(task) + ": связь с другим проектом не перенесена");
          continue;
        }
        if (!uids.count(link.predecessorUid))
          refuse(label(task) + ": предшественник UID " + std::to_string(link.predecessorUid) + " в файле не найден");
        const auto it = leafOf_.find(link.predecessorUid);
        if (it == leafOf_.end()) {
          note(label(task) + ": связь с суммарной задачей UID " + std::to_string(link.predecessorUid) + " не перенесена");
          continue;
        }
        const Leaf& pred = leaves_[static_cast<std::size_t>(it->second)];
        double lag = link.lagTenths / 10 / p_.minutesPerDay;
        if (link.lagFormat == 19 || link.lagFormat == 20 || link.lagFormat == 51 || link.lagFormat == 52) {
          note(label(task) + ": задержка в процентах от предшественника UID " + std::to_string(pred.task->uid) +
               " не перенесена");
          lag = 0;
        } else if (elapsedFormat(link.lagFormat) && lag != 0) {
          note(label(task) + ": календарная задержка от UID " + std::to_string(pred.task->uid) +
               " пересчитана в рабочие дни");
        }
        if (std::fabs(lag) > kMaxDays)
          refuse(label(task) + ": задержка связи больше 10 000 000 дней");
        int type = link.type;
        if (type < 0 || type > 3) {
          note(label(task) + ": связь неизвестного типа " + std::to_string(type) + " принята за окончание-начало");
          type = 1;
        }
        const bool fromFinish = type == 0 || type == 1;
        const bool toFinish = type == 0 || type == 2;
        const double time = (fromFinish ? pred.days : 0) + lag - (toFinish ? leaves_[s].days : 0);
        ++linkCount_;
        const std::pair<int, int> key{it->second, static_cast<int>(s)};
        if (auto found = strongest.find(key); found == strongest.end()) strongest[key] = time;
        else found->second = std::max(found->second, time);
      }
    }
    for (const auto& [key, time] : strongest) in_[static_cast<std::size_t>(key.second)].push_back({key.first, key.second, time});
  }

  std::vector<int> topologicalOrder() {
    const std::size_t n = leaves_.size();
    std::vector<std::vector<int>> out(n);
    std::vector<std::size_t> waiting(n);
    for (std::size_t s = 0; s < n; ++s) {
      waiting[s] = in_[s].size();
      for (const Constraint& c : in_[s]) out[static_cast<std::size_t>(c.from)].push_back(static_cast<int>(s));
    }
    std::vector<int> order;
    std::deque<int> ready;
    for (std::size_t s = 0; s < n; ++s)
      if (waiting[s] == 0) ready.push_back(static_cast<int>(s));
    while (!ready.empty()) {
      const int s = ready.front();
      ready.pop_front();
      order.push_back(s);
      for (int to : out[static_cast<std::size_t>(s)])
        if (--waiting[static_cast<std::size_t>(to)] == 0) ready.push_back(to);
    }
    if (order.size() < n) {
      // Walk back along predecessors still waiting until a task repeats: that is a cycle.
      int at = 0;
      while (waiting[static_cast<std::size_t>(at)] == 0) ++at;
      std::vector<int> seen(n, -1), path;
      while (seen[static_cast<std::size_t>(at)] < 0) {
        seen[static_cast<std::size_t>(at)] = static_cast<int>(path.size());
        path.push_back(at);
        for (const Constraint& c : in_[static_cast<std::size_t>(at)])
          if (waiting[static_cast<std::size_t>(c.from)] > 0) {
            at = c.from;
            break;
          }
      }
      std::string names;
      for (std::size_t k = path.size(); k-- > static_cast<std::size_t>(seen[static_cast<std::size_t>(at)]);)
        names += (names.empty() ? "" : " → ") + label(*leaves_[static_cast<std::size_t>(path[k])].task);
      refuse("связи задач образуют цикл: " + names);
    }
    return order;
  }

  // A link of negative time says ES(S) >= ES(P) - k; with ES(P) the largest ES(Q) + c
  // over P's links in, that is ES(S) >= ES(Q) + c - k for each of them, and with none,
  // ES(P) = 0 and the link holds of itself. Tasks in order of precedence, so P's links
  // in are final when P's links out are carried. Where that would take more than a few
  // dummy works (leads upon leads), the link is carried along the predecessors that set
  // the early starts instead: exact for these durations only, and reported.
  void carryNegativeLinks(const std::vector<int>& order) {
    constexpr std::size_t kCarriedPerLink = 32;
    std::vector<std::vector<Constraint>> outOf(leaves_.size());
    for (const auto& list : in_)
      for (const Constraint& c : list) outOf[static_cast<std::size_t>(c.from)].push_back(c);
    // The early starts by the links as the file has them.
    std::vector<double> early(leaves_.size(), 0);
    for (int p : order)
      for (const Constraint& c : outOf[static_cast<std::size_t>(p)])
        early[static_cast<std::size_t>(c.to)] =
            std::max(early[static_cast<std::size_t>(c.to)], early[static_cast<std::size_t>(p)] + c.time);
    std::vector<std::vector<Constraint>> final(leaves_.size());
    std::size_t made = 0;
    std::set<int> carriedFrom, boundFrom;
    for (int p : order) {
      for (const Constraint& c : outOf[static_cast<std::size_t>(p)]) {
        if (c.time >= 0) {
          final[static_cast<std::size_t>(c.to)].push_back(c);
          continue;
        }
        std::map<int, double> carried;  // from -> the longest time
        std::vector<Constraint> stack{c};
        bool tooMany = false;
        while (!stack.empty() && !tooMany) {
          const Constraint k = stack.back();
          stack.pop_back();
          for (const Constraint& q : final[static_cast<std::size_t>(k.from)]) {
            const Constraint next{q.from, k.to, q.time + k.time};
            if (next.time >= 0) {
              auto [it, added] = carried.emplace(next.from, next.time);
              if (!added) it->second = std::max(it->second, next.time);
            } else {
              stack.push_back(next);
            }
            if (carried.size() + stack.size() > kCarriedPerLink) tooMany = true;
          }
        }
        if (tooMany) {
          carried.clear();
          Constraint k = c;
          while (k.time < 0) {
            const Constraint* binding = nullptr;
            for (const Constraint& q : final[static_cast<std::size_t>(k.from)])
              if (!binding || early[static_cast<std::size_t>(q.from)] + q.time >
                                  early[static_cast<std::size_t>(binding->from)] + binding->time)
                binding = &q;
            if (!binding) break;  // ES = 0: the link holds of itself
            k = {binding->from, k.to, binding->time + k.time};
          }
          if (k.time >= 0) carried[k.from] = k.time;
          boundFrom.insert(p);
        } else {
          carriedFrom.insert(p);
        }
        for (const auto& [from, time] : carried) {
          if (++made > kMaxCarriedLinks) refuse("слишком много связей с опережением, сеть не построена");
          final[static_cast<std::size_t>(c.to)].push_back({from, c.to, time});
        }
      }
    }
    for (int p : carriedFrom)
      if (!boundFrom.count(p))
        note(label(*leaves_[static_cast<std::size_t>(p)].task) +
             ": опережение последователя перенесено на ее предшественников; ранние сроки точны, поздние сроки и "
             "резерв этой задачи могут быть больше");
    for (int p : boundFrom)
      note(label(*leaves_[static_cast<std::size_t>(p)].task) +
           ": опережение последователя перенесено на предшественников, задающих ее ранний срок; ранние сроки точны "
           "при этих длительностях, поздние сроки и резерв этой задачи могут быть больше");
    in_ = std::move(final);
  }

  void calendar() {
    if (p_.start) {
      // The calendar turns day numbers into dates within these years only.
      const int year = static_cast<int>(std::chrono::year_month_day(*p_.start).year());
      if (year < kFirstCalendarYear || year > kLastCalendarYear)
        refuse("дата начала проекта " + isoDate(*p_.start) + " вне " + std::to_string(kFirstCalendarYear) + "–" +
               std::to_string(kLastCalendarYear) + " годов");
      out_.extras.startDate = p_.start;
    }
    if (p_.calendars.empty()) {
      note("календаря в файле нет: принят производственный календарь");
      return;
    }
    auto find = [&](int uid) -> const ProjectCalendar* {
      for (const ProjectCalendar& c : p_.calendars)
        if (c.uid == uid) return &c;
      return nullptr;
    };
    const ProjectCalendar* base = find(p_.calendarUid);
    if (!base)
      for (const ProjectCalendar& c : p_.calendars)
        if (c.isBase && !base) base = &c;
    if (!base) base = &p_.calendars.front();
    std::vector<const ProjectCalendar*> chain{base};
    while (chain.size() < 8 && chain.back()->baseUid >= 0) {
      const ProjectCalendar* next = find(chain.back()->baseUid);
      if (!next || std::find(chain.begin(), chain.end(), next) != chain.end()) break;
      chain.push_back(next);
    }
    WorkingCalendar& cal = out_.extras.calendar;
    cal.kind = WorkingCalendar::Kind::Own;
    cal.weekMask = 0;
    for (int day = 0; day < 7; ++day) {
      int working = -1;
      for (const ProjectCalendar* c : chain)
        if (working < 0) working = c->dayWorking[day];
      if (working < 0) working = day < 5;
      if (working) cal.weekMask |= static_cast<std::uint8_t>(1u << day);
    }
    std::set<Date> off, on;
    for (auto c = chain.rbegin(); c != chain.rend(); ++c) {  // the calendar's own exceptions win
      for (const ProjectException& e : (*c)->exceptions) {
        const std::string what = "исключение «" + e.name + "» календаря «" + (*c)->name + "»";
        if (e.recurring) {
          note(what + ": повторяющееся исключение не перенесено");
          continue;
        }
        const auto span = (e.to - e.from).count();
        if (span < 0 || span >= kMaxExceptionDays) {
          note(what + ": период длиннее 10 лет или перевернут, не перенесен");
          continue;
        }
        for (Date d = e.from; d <= e.to; d += std::chrono::days(1)) {
          const unsigned weekday = std::chrono::weekday(d).iso_encoding() - 1;
          const bool weekWorking = (cal.weekMask >> weekday) & 1;
          off.erase(d);
          on.erase(d);
          if (e.working && !weekWorking) on.insert(d);
          if (!e.working && weekWorking) off.insert(d);
        }
      }
    }
    cal.daysOff.assign(off.begin(), off.end());
    cal.workingDays.assign(on.begin(), on.end());
    if (cal.weekMask == 0 && cal.workingDays.empty()) refuse("в календаре «" + base->name + "» нет ни одного рабочего дня");
  }

  ImportedNetwork network() {
    EventGraph graph;
    const int start = graph.addEvent();
    std::vector<int> startOf(leaves_.size()), finishOf(leaves_.size());
    for (std::size_t k = 0; k < leaves_.size(); ++k) {
      startOf[k] = graph.addEvent();
      finishOf[k] = leaves_[k].days > 0 ? graph.addEvent() : startOf[k];
      if (leaves_[k].days > 0) graph.addArc(startOf[k], finishOf[k], leaves_[k].days, static_cast<int>(k));
    }
    for (std::size_t s = 0; s < leaves_.size(); ++s) {
      for (const Constraint& c : in_[s]) {
        const Leaf& pred = leaves_[static_cast<std::size_t>(c.from)];
        // From the predecessor's finish where the time allows: its finish event has no
        // other way in, and finish-to-start links then share it.
        if (pred.days > 0 && c.time >= pred.days) graph.addArc(finishOf[static_cast<std::size_t>(c.from)], startOf[s], c.time - pred.days, -1);
        else graph.addArc(startOf[static_cast<std::size_t>(c.from)], startOf[s], c.time, -1);
        if (graph.arcCount() > kMaxCarriedLinks) refuse(tooManyWorks(static_cast<std::int32_t>(std::min<std::size_t>(graph.arcCount(), 2147483647))));
      }
    }
    const int finish = graph.addEvent();
    for (int e = 1; e < finish; ++e) {
      if (!graph.hasIn(e)) graph.addArc(start, e, 0, -1);
      if (!graph.hasOut(e)) graph.addArc(e, finish, 0, -1);
    }
    graph.mergeDummies();
    const std::vector<int> number = graph.numbering();
    for (int n : number) out_.eventCount = std::max(out_.eventCount, n);
    int dummies = 0;
    for (const Arc& arc : graph.arcs()) {
      if (!arc.alive) continue;
      ImportedWork work;
      work.I = number[static_cast<std::size_t>(arc.from)];
      work.J = number[static_cast<std::size_t>(arc.to)];
      work.days = arc.days;
      if (arc.leaf >= 0) {
        const Leaf& leaf = leaves_[static_cast<std::size_t>(arc.leaf)];
        work.workers = leaf.workers;
        work.id = leaf.id;
        if (!leaf.name.empty()) out_.extras.names[{work.I, work.J}] = leaf.name;
        else out_.extras.names[{work.I, work.J}] = "Задача " + std::to_string(leaf.task->uid);
      } else {
        work.id = noTrade_;
        ++dummies;
      }
      out_.works.push_back(work);
    }
    if (out_.eventCount > kMaxEvents) refuse(tooManyEvents(out_.eventCount));
    if (out_.works.size() > static_cast<std::size_t>(kMaxWorks))
      refuse(tooManyWorks(static_cast<std::int32_t>(out_.works.size())));
    std::sort(out_.works.begin(), out_.works.end(),
              [](const ImportedWork& a, const ImportedWork& b) { return std::pair(a.I, a.J) < std::pair(b.I, b.J); });

    std::string report = "Из файла " + file_ + " перенесено: задач " + std::to_string(leaves_.size() - milestones_) +
                         ", вех " + std::to_string(milestones_) + ", связей " + std::to_string(linkCount_) +
                         ", профессий " + std::to_string(tradeOf_.size()) + "; суммарных задач пропущено " +
                         std::to_string(summaries_) + ".\nСеть: событий " + std::to_string(out_.eventCount) +
                         ", работ " + std::to_string(out_.works.size()) + ", из них фиктивных " +
                         std::to_string(dummies) + " (без рабочих и наименования, их длительность - задержка связи).";
    if (!notes_.empty()) {
      report += "\nПриближено или не перенесено:";
      for (const std::string& line : notes_) report += "\n- " + line;
    }
    out_.report = report;
    return std::move(out_);
  }

  const ProjectFile& p_;
  std::string file_;
  ImportedNetwork out_;
  std::vector<std::string> notes_;
  std::map<int, int> tradeOf_;  // resource UID -> Id
  int noTrade_ = 1;
  std::map<int, std::vector<const ProjectAssignment*>> workAssignments_;
  std::vector<Leaf> leaves_;
  std::unordered_map<int, int> leafOf_;  // task UID -> leaf
  std::vector<std::vector<Constraint>> in_;
  int summaries_ = 0;
  std::size_t milestones_ = 0;
  int linkCount_ = 0;
};

}  // namespace

ImportedNetwork networkFromProject(const ProjectFile& project, const std::string& fileName) {
  return Converter(project, fileName).run();
}

}  // namespace velko
