#include "crews/crew_input.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "model/command_error.h"

namespace velko {

namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A whole number in plain digits (no sign, no point), or nullopt.
template <typename T>
std::optional<T> plainNumber(std::string_view text, bool allowSign) {
  if (text.empty()) return std::nullopt;
  if (!allowSign && !std::isdigit(static_cast<unsigned char>(text.front()))) return std::nullopt;
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string workName(const LevellingWork& w) { return std::to_string(w.I) + "-" + std::to_string(w.J); }

void refuseLimit(int id, std::string_view text) {
  throw CommandError("Ограничение бригады Id " + std::to_string(id) + ": «" + std::string(text) +
                     "» — нужно целое число от 1 до " + std::to_string(kMaxCrewLimit));
}

// Longest paths over the precedences in ticks, forward from 0 or back from `length`;
// `order` has every activity after its predecessors.
std::vector<long long> forwardPass(const CrewProblem& p, const std::vector<std::vector<int>>& into,
                                   const std::vector<int>& order) {
  std::vector<long long> early(p.activities.size(), 0);
  for (int a : order) {
    for (int b : into[static_cast<std::size_t>(a)]) {
      early[static_cast<std::size_t>(a)] = std::max(early[static_cast<std::size_t>(a)],
                                                    early[static_cast<std::size_t>(b)] + p.activities[static_cast<std::size_t>(b)].duration);
    }
  }
  return early;
}

}  // namespace

std::optional<long long> parseCrewLimit(int id, std::string_view text) {
  const std::string_view t = trimmed(text);
  if (t.empty()) return std::nullopt;
  const auto value = plainNumber<long long>(t, false);
  if (!value || *value < 1 || *value > kMaxCrewLimit) refuseLimit(id, t);
  return *value;
}

std::map<int, long long> parseCrewLimitList(std::string_view text) {
  std::map<int, long long> limits;
  while (true) {
    const std::size_t comma = text.find(',');
    const std::string_view item = trimmed(text.substr(0, comma));
    const std::size_t equals = item.find('=');
    const auto id = equals == std::string_view::npos ? std::nullopt : plainNumber<int>(trimmed(item.substr(0, equals)), true);
    if (!id) {
      throw CommandError("Ограничение бригад: «" + std::string(item) + "» — нужно Id=N, например 2=10");
    }
    const auto limit = parseCrewLimit(*id, item.substr(equals + 1));
    if (!limit) refuseLimit(*id, "");
    if (!limits.emplace(*id, *limit).second) {
      throw CommandError("Ограничение бригады Id " + std::to_string(*id) + " задано дважды");
    }
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return limits;
}

MicroDays tickDays(const CrewPlanProblem& plan, long long ticks) { return MicroDays(ticks) * plan.tick; }

void checkCrewLimit(const LevellingInput& input, int id, long long limit) {
  const bool present = std::any_of(input.works.begin(), input.works.end(), [&](const LevellingWork& w) { return w.id == id; });
  if (!present) throw CommandError("Работ с идентификатором " + std::to_string(id) + " нет");
  if (limit < 1 || limit > kMaxCrewLimit) refuseLimit(id, std::to_string(limit));
  for (const LevellingWork& w : input.works) {
    // As the problem counts them: a work that holds no one for no time needs no crew.
    if (w.id != id || w.workers <= limit || toMicroDays(w.duration) <= 0) continue;
    throw CommandError("Работа " + workName(w) + " требует " + std::to_string(w.workers) + " рабочих, а бригада Id " +
                       std::to_string(id) + " ограничена " + std::to_string(limit));
  }
}

CrewPlanProblem crewPlanProblem(const LevellingInput& input, const std::map<int, long long>& limits) {
  const std::size_t count = input.works.size();
  if (count == 0) throw CommandError("В сети нет работ: ограничивать нечего");
  for (const auto& [id, limit] : limits) checkCrewLimit(input, id, limit);

  CrewPlanProblem plan;
  std::vector<MicroDays> t(count);
  MicroDays unit = kMicroPerDay;
  for (std::size_t w = 0; w < count; ++w) {
    t[w] = std::max(MicroDays(0), toMicroDays(input.works[w].duration));
    if (t[w] > 0) unit = boost::multiprecision::gcd(unit, t[w]);
  }
  plan.tick = static_cast<long long>(unit);
  MicroDays total = 0;
  for (const MicroDays& d : t) total += d / unit;
  if (total > kMaxCrewTicks) {
    throw CommandError("Длительности работ слишком велики или дробны для расчета с ограничением бригад");
  }

  CrewProblem& p = plan.problem;
  plan.inProfile.assign(count, false);
  for (std::size_t w = 0; w < count; ++w) {
    const LevellingWork& in = input.works[w];
    CrewActivity a;
    a.duration = static_cast<long long>(t[w] / unit);
    plan.inProfile[w] = a.duration > 0 && in.workers > 0;
    if (plan.inProfile[w]) {
      a.demands.push_back({in.id, in.workers});
    }
    p.activities.push_back(a);
  }
  p.capacity = limits;

  // The works meeting at each event. An event with several works in and several out gets
  // a zero-length activity of its own, so that the precedences stay as many as the works
  // and not their product.
  std::map<int, std::vector<int>> into, outOf;
  for (std::size_t w = 0; w < count; ++w) {
    into[input.works[w].J].push_back(static_cast<int>(w));
    outOf[input.works[w].I].push_back(static_cast<int>(w));
  }
  plan.endingAtStart.resize(count);
  for (const auto& [event, after] : outOf) {
    const auto before = into.find(event);
    if (before == into.end()) continue;
    for (int b : after) plan.endingAtStart[static_cast<std::size_t>(b)] = before->second;
    if (before->second.size() > 1 && after.size() > 1) {
      const int node = static_cast<int>(p.activities.size());
      p.activities.push_back({});
      for (int a : before->second) p.precedences.push_back({a, node});
      for (int b : after) p.precedences.push_back({node, b});
    } else {
      for (int a : before->second)
        for (int b : after)
          if (a != b) p.precedences.push_back({a, b});
    }
  }

  // An order of the activities after their predecessors (the events of a computed
  // network have no cycle).
  const std::size_t n = p.activities.size();
  std::vector<std::vector<int>> preds(n), succs(n);
  std::vector<int> waiting(n, 0);
  for (const CrewPrecedence& link : p.precedences) {
    preds[static_cast<std::size_t>(link.after)].push_back(link.before);
    succs[static_cast<std::size_t>(link.before)].push_back(link.after);
    ++waiting[static_cast<std::size_t>(link.after)];
  }
  std::vector<int> order;
  for (std::size_t a = 0; a < n; ++a)
    if (waiting[a] == 0) order.push_back(static_cast<int>(a));
  for (std::size_t k = 0; k < order.size(); ++k)
    for (int b : succs[static_cast<std::size_t>(order[k])])
      if (--waiting[static_cast<std::size_t>(b)] == 0) order.push_back(b);
  if (order.size() != n) throw CommandError("Сеть содержит цикл: ограничение бригад невозможно");

  const std::vector<long long> early = forwardPass(p, preds, order);
  for (std::size_t a = 0; a < n; ++a) plan.length = std::max(plan.length, early[a] + p.activities[a].duration);
  std::vector<long long> lateFinish(n, plan.length);
  for (std::size_t k = n; k-- > 0;) {
    const auto a = static_cast<std::size_t>(order[k]);
    for (int s : succs[a]) {
      lateFinish[a] = std::min(lateFinish[a], lateFinish[static_cast<std::size_t>(s)] -
                                                  p.activities[static_cast<std::size_t>(s)].duration);
    }
  }
  for (std::size_t w = 0; w < count; ++w) {
    plan.earlyStart.push_back(early[w]);
    plan.lateStart.push_back(lateFinish[w] - p.activities[w].duration);
    p.activities[w].dueStart = plan.lateStart[w];
  }
  return plan;
}

}  // namespace velko
