#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "model/network_model.h"
#include "model/schedule_figures.h"

namespace velko {

// Smoothing of the workers profile ("выравнивание потребности в рабочих"): the works
// of one recorded variant are shifted by whole days inside their floats so that the
// peak number of busy workers is as small as the floats allow, and among the
// schedules with that peak the most even one (smallest integral of the profile
// squared) is taken. The critical path length does not change.
//
// The rules a schedule keeps, for each work with early start ES = Early(I), late start
// LS = min(Late(J), length) - t and start S:
//  - ES <= S <= LS and S - ES is a whole number of days; a work with total float 0,
//    or with LS < ES, stays at ES;
//  - S(j,k) >= S(i,j) + t(i,j) for every pair of works meeting at event j;
//  - works with t <= 0 or n <= 0 are dummies: they keep their place in the precedence
//    but put no workers on the profile.
// Times are compared in whole millionths of a day (see micro_days.h), times equal in
// exact arithmetic rounded alike (see buildProblem).

// A plain copy of what the smoothing reads from a variant: taken on the thread that
// owns the model, solved on any thread. Equal copies mean the variant is unchanged.
struct LevellingWork {
  int I = 0;
  int J = 0;
  Extended duration = 0;
  int workers = 0;
  int id = 0;
  Extended earlyStart = 0;  // Early(I)
  Extended lateJ = 0;       // Late(J)
  bool zeroFloat = false;   // stored total float exactly 0
  bool operator==(const LevellingWork&) const = default;
};
struct LevellingInput {
  int variant = 0;
  Extended length = 0;  // critical path length of the variant
  std::vector<LevellingWork> works;  // in the order the results file lists them
  bool operator==(const LevellingInput&) const = default;
};
// The last computed variant (2 after "Оптимизация", 1 after "Расчет") when `variant`
// is 0. Refuses a variant the model does not hold with a CommandError.
LevellingInput levellingInput(const TNetworkModel& model, int variant = 0);

struct LevellingProgress {
  int phase = 1;           // 1: the smallest peak; 2: the most even profile
  long long bestPeak = 0;  // of the best schedule found so far
  long long bound = 0;     // proven lower bound of the peak
  double seconds = 0;      // since the start
};

struct LevellingOptions {
  // The search's effort: counts of search nodes that take about this many seconds on
  // an idle machine, the same count on any machine, so that the answer does not
  // depend on how busy it is.
  double effortSeconds = 2.0;
  // The wall-clock safety net; 0: twenty times the effort and twenty seconds more, far
  // beyond what a busy machine takes.
  double timeLimitSeconds = 0;
  const std::atomic<bool>* cancel = nullptr;  // set from any thread to stop early
  // Called on the solving thread at each better schedule and each change of phase.
  std::function<void(const LevellingProgress&)> progress;
};

struct LevelledWork {
  int I = 0;
  int J = 0;
  int workers = 0;
  int id = 0;
  Extended duration = 0;
  Extended earlyStart = 0;
  Extended lateStart = 0;  // min(Late(J), length) - t
  Extended start = 0;      // S = ES + shift
  long long shift = 0;     // whole days
  bool inProfile = false;  // t > 0 and n > 0
  // The values as the CSV writes them: millionths of a day, decimal point.
  std::string durationText, earlyStartText, lateStartText, startText;
};

struct LevellingResult {
  int variant = 0;
  Extended length = 0;
  std::vector<LevelledWork> works;  // in the order of the input
  long long peakBefore = 0;  // every work at its early start
  long long peakAfter = 0;
  // The largest of: the peak of the works that cannot move, the largest n, and the
  // labour volume over the span the works can occupy (the path length in a network
  // whose events all lead to the last one), rounded up.
  long long lowerBound = 0;
  long long bestBound = 0;      // no smaller peak exists: lowerBound raised by the search
  bool proven = false;          // peakAfter is the smallest peak the floats allow
  // And the profile is the most even with that peak (compared in units of 1/65536
  // worker^2-day, coarser only for crews of thousands).
  bool evennessProven = false;
  bool cancelled = false;
  Extended squaresBefore = 0;  // integral of the profile squared, worker^2 x days
  Extended squaresAfter = 0;
  double seconds = 0;
  std::vector<ProfileStep> profileBefore;
  std::vector<ProfileStep> profileAfter;
  std::map<int, std::vector<ProfileStep>> profileBeforeById;  // by Id (one trade each)
  std::map<int, std::vector<ProfileStep>> profileAfterById;
  int shiftedCount() const;
};

// Solves; never throws for any input the model can hold. When stopped by its effort,
// the safety net or the cancel flag, the result holds the best schedule found (at worst every
// work at its early start), proven = false and the best bound.
LevellingResult levelWorkers(const LevellingInput& input, const LevellingOptions& options = {});

}  // namespace velko
