#include "reallocation/reallocation_problem.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <string>

#include "levelling/micro_days.h"
#include "model/command_error.h"

namespace velko {

namespace {

long long micro(const ReallocationWork& w) {
  if (!(std::fabs(w.duration) <= static_cast<Extended>(kMaxReallocationDays))) {
    throw CommandError("Перераспределение: длительность работы " + std::to_string(w.I) + "-" + std::to_string(w.J) +
                       " больше " + std::to_string(kMaxReallocationDays) + " дней");
  }
  return static_cast<long long>(toMicroDays(w.duration));
}

}  // namespace

long long durationAt(const MovableWork& w, long long workers) {
  if (workers == w.n) return w.t;
  __extension__ typedef __int128 Wide;
  const Wide volume = static_cast<Wide>(w.t) * w.n;
  if (workers < w.n) {
    // The nearest millionth, halfway to even, as toMicroDays rounds.
    Wide q = volume / workers;
    const Wide twice = 2 * (volume - q * workers);
    if (twice > workers || (twice == workers && (q & 1) != 0)) ++q;
    return static_cast<long long>(q);
  }
  const Wide perDay = static_cast<Wide>(workers) * kMicroPerDay;
  const Wide days = (volume + perDay - 1) / perDay;
  return static_cast<long long>(days * kMicroPerDay);
}

ReallocationProblem buildReallocationProblem(const ReallocationInput& input) {
  ReallocationProblem p;
  p.events = input.events;
  p.movableOfWork.assign(input.works.size(), -1);
  std::map<int, int> groupOf;
  for (std::size_t k = 0; k < input.works.size(); ++k) {
    const ReallocationWork& w = input.works[k];
    Arc arc;
    arc.from = w.I == w.J ? 1 : w.I;
    arc.to = w.J;
    arc.time = micro(w);
    if (w.id != 0 && arc.time > 0 && w.workers > 0) {
      const auto [place, added] = groupOf.try_emplace(w.id, static_cast<int>(p.capacity.size()));
      if (added) {
        p.capacity.push_back(0);
        p.groupId.push_back(w.id);
        p.groupWorks.emplace_back();
      }
      MovableWork m;
      m.work = static_cast<int>(k);
      m.t = arc.time;
      m.n = w.workers;
      m.group = place->second;
      arc.movable = static_cast<int>(p.movable.size());
      p.movableOfWork[k] = arc.movable;
      p.capacity[static_cast<std::size_t>(m.group)] += m.n;
      p.groupWorks[static_cast<std::size_t>(m.group)].push_back(arc.movable);
      p.movable.push_back(m);
    }
    // A diagonal (1, 1) never reaches a later event's Early: no arc.
    if (arc.from != arc.to) p.arcs.push_back(arc);
  }
  for (std::size_t g = 0; g < p.capacity.size(); ++g) {
    if (p.capacity[g] > std::numeric_limits<std::int32_t>::max()) {
      throw CommandError("Перераспределение: у идентификатора " + std::to_string(p.groupId[g]) + " больше " +
                         std::to_string(std::numeric_limits<std::int32_t>::max()) + " рабочих");
    }
  }
  for (MovableWork& m : p.movable) {
    const std::size_t g = static_cast<std::size_t>(m.group);
    m.cap = p.capacity[g] - static_cast<long long>(p.groupWorks[g].size() - 1);
  }
  std::stable_sort(p.arcs.begin(), p.arcs.end(), [](const Arc& a, const Arc& b) { return a.to < b.to; });
  return p;
}

long long lengthOf(const ReallocationProblem& p, const std::vector<long long>& workers) {
  if (p.events < 1) return 0;
  std::vector<long long> early(static_cast<std::size_t>(p.events) + 1, 0);
  for (const Arc& a : p.arcs) {
    const long long t = a.movable < 0 ? a.time : durationAt(p.movable[static_cast<std::size_t>(a.movable)],
                                                             workers[static_cast<std::size_t>(a.movable)]);
    long long& e = early[static_cast<std::size_t>(a.to)];
    e = std::max(e, early[static_cast<std::size_t>(a.from)] + t);
  }
  return early[static_cast<std::size_t>(p.events)];
}

}  // namespace velko
