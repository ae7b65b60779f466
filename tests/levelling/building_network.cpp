#include "building_network.h"

#include <algorithm>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace velko::testing {

LevellingInput buildingNetwork(int works, unsigned seed, bool sevenths) {
  std::mt19937 random(seed);
  const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  const int events = std::max(3, works * 3 / 5);
  // Lines of about 180 events side by side, as sections of a building go up together.
  const int lines = std::max(1, events / 180);
  std::set<std::pair<int, int>> pairs;
  for (int e = 2; e < events; ++e) {
    // Now and then a line skips an event, which then may lead nowhere.
    const int back = e - lines * (pick(0, 19) == 0 ? 2 : 1);
    pairs.insert({std::max(1, back), e});
  }
  for (int e = events - lines; e < events; ++e) {
    if (pick(0, 3) != 0) pairs.insert({e, events});
  }
  while (static_cast<int>(pairs.size()) < works) {
    const int i = pick(1, events - 1);
    const int j = std::min(events, i + pick(1, 3 * lines));
    pairs.insert({i, j});
  }

  LevellingInput input;
  input.variant = 1;
  const int ids = pick(2, 6);
  for (const auto& [i, j] : pairs) {
    if (static_cast<int>(input.works.size()) == works) break;
    LevellingWork w;
    w.I = i;
    w.J = j;
    const bool dummy = pick(0, 19) == 0;
    w.duration = dummy ? 0 : sevenths ? static_cast<Extended>(pick(7, 140)) / 7 : static_cast<Extended>(pick(1, 20));
    w.workers = dummy ? 0 : pick(1, 12);
    w.id = pick(1, ids);
    input.works.push_back(w);
  }

  // Early times forward and late times backward over the events in number order.
  std::vector<Extended> early(static_cast<std::size_t>(events) + 1, 0);
  for (const LevellingWork& w : input.works) {  // listed by I, so every I is final
    early[static_cast<std::size_t>(w.J)] = std::max(early[static_cast<std::size_t>(w.J)], early[static_cast<std::size_t>(w.I)] + w.duration);
  }
  input.length = early[static_cast<std::size_t>(events)];
  constexpr Extended kNoSuccessor = 10000;
  std::vector<Extended> late(static_cast<std::size_t>(events) + 1, kNoSuccessor);
  std::vector<bool> hasSuccessor(static_cast<std::size_t>(events) + 1, false);
  late[static_cast<std::size_t>(events)] = input.length;
  for (auto w = input.works.rbegin(); w != input.works.rend(); ++w) {
    const auto i = static_cast<std::size_t>(w->I);
    const Extended latest = late[static_cast<std::size_t>(w->J)] - w->duration;
    late[i] = hasSuccessor[i] ? std::min(late[i], latest) : latest;
    hasSuccessor[i] = true;
  }
  for (LevellingWork& w : input.works) {
    w.earlyStart = early[static_cast<std::size_t>(w.I)];
    w.lateJ = late[static_cast<std::size_t>(w.J)];
    w.zeroFloat = w.lateJ - w.earlyStart - w.duration == 0;
  }
  return input;
}

}  // namespace velko::testing
