#pragma once

#include <map>
#include <string>
#include <vector>

#include "crews/crew_input.h"
#include "model/schedule_figures.h"

namespace velko {

// The schedule under crew limits as the program shows it: computed here, formatted in
// crew_answer_text.h and by the windows.

struct CrewWorkAnswer {
  int I = 0;
  int J = 0;
  Extended duration = 0;
  int workers = 0;
  int id = 0;
  bool inProfile = false;  // t > 0 and n > 0
  Extended earlyStart = 0, lateStart = 0, start = 0, finish = 0;
  Extended delay = 0;      // past the late start, 0 when none
  // The values as the CSV writes them: days, decimal point, exact to a millionth.
  std::string durationText, earlyStartText, lateStartText, startText, finishText, delayText;
  // Why a delayed work starts when it does (indices of works): the works of its trade
  // busy just before its start, whose crew it waits for, and the works ending at its
  // start event that finish just then.
  std::vector<int> waitsForCrew;
  std::vector<int> waitsForPredecessors;
};

struct CrewTradeAnswer {
  int id = 0;
  long long limit = 0;  // 0: none
  int works = 0;        // that hold a crew
  long long earlyPeak = 0;              // every work at its early start
  std::vector<ProfileStep> profile;     // of the schedule found, never above the limit
  ProfileFigures figures;               // over the new length
};

struct CrewAnswer {
  int variant = 0;
  Extended length = 0;     // critical path length, no limits
  Extended newLength = 0;
  Extended bound = 0;      // no schedule under the limits is shorter
  bool proven = false;     // newLength == bound
  bool cancelled = false;
  std::string lengthText, newLengthText, boundText;
  std::vector<CrewWorkAnswer> works;  // in the order of the input
  std::map<int, CrewTradeAnswer> trades;  // every Id with a crew-holding work
  int delayed = 0;         // works started past their late start
  double seconds = 0;
};

// The answer from the engine's schedule.
CrewAnswer crewAnswer(const LevellingInput& input, const CrewPlanProblem& plan, const CrewResult& result);

// Builds the problem (refusing bad input with a CommandError), solves it, answers.
CrewAnswer limitCrews(const LevellingInput& input, const std::map<int, long long>& limits,
                      const CrewOptions& options = {});

// Per Id: the works that hold a crew and the peak with every work at its early start,
// for the table of limits before any run.
struct CrewTradeSummary {
  int id = 0;
  int works = 0;
  long long earlyPeak = 0;
};
std::vector<CrewTradeSummary> crewTradeSummaries(const LevellingInput& input);

}  // namespace velko
