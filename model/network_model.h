#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/bounded_table.h"
#include "model/data_set_extras.h"
#include "model/stored_real.h"

namespace velko {

// Limits of a network. The tables grow with the network they hold; these bound what
// the program takes in. A chain through every event has kMaxEvents - 1 works.
inline constexpr int kMaxEvents = 50000;
inline constexpr int kMaxWorks = 100000;

// The refusals of counts above the limits, in the words every command uses.
std::string tooManyEvents(std::int32_t events);
std::string tooManyWorks(std::int32_t works);

// One cell of the work matrix. A work between events I and J is stored in both
// (I, J) and (J, I); only the upper cell (row <= column) is ever read, so a work runs
// from the smaller event number to the larger. A cell holds a work exactly when Id
// is not 0.
struct TWorkCell {
  StoredReal Duration;    // t, days
  std::int32_t Workers = 0;  // n
  StoredReal TotalFloat;  // total float: Late(J) - Early(I) - Duration
  StoredReal FreeFloat;   // free float: Early(J) - Early(I) - Duration
  std::int32_t Id = 0;
};

struct TEventRec {
  StoredReal Early;     // earliest time the event can occur
  std::int32_t Number = 0;
  StoredReal Late;      // latest time that does not delay the last event
  StoredReal Reserve;   // Late - Early
};

struct TCritWork {
  std::int32_t I = 0;
  std::int32_t J = 0;
};

// A complete copy of one run's results (1: before optimisation, 2: after). The works
// and floats arrays hold the works the scan found (WorkEntries of them) and at least as
// many entries as the run's works count, the entries past the works found being zero.
struct TVariantResult {
  Table1<StoredReal> WorkDuration;
  Table1<std::int32_t> WorkWorkers;
  Table1<std::int32_t> WorkId;
  Table1<std::int32_t> WorkI;
  Table1<std::int32_t> WorkJ;
  Table1<std::int32_t> EventNumber;
  Table1<StoredReal> EventEarly;
  Table1<StoredReal> EventLate;
  Table1<StoredReal> EventReserve;
  Table1<std::int32_t> CritI;
  Table1<std::int32_t> CritJ;
  Table1<std::int32_t> CritWorkers;
  Table1<std::int32_t> CritId;
  Table1<StoredReal> CritDuration;
  Table1<std::int32_t> FloatI;
  Table1<std::int32_t> FloatJ;
  Table1<StoredReal> WorkTotalFloat;
  Table1<StoredReal> WorkFreeFloat;
  std::int32_t WorkEntries = 0;  // works found by the scan
};

// The square matrix of work cells indexed by event numbers, held sparsely: only cells
// ever written take memory, so it grows with the works and not with the square of the
// events. A cell never written reads as empty (no work). References to cells stay valid
// while others are written; only clear() drops them.
class TWorkMatrix {
 public:
  const TWorkCell& at(int row, int column) const;
  // The cell to write, made empty the first time it is asked for.
  TWorkCell& at(int row, int column) { return cells_[key(row, column)]; }
  void clear() { cells_.clear(); }
  // Room for `cells` cells, so a large load does not rehash as it goes.
  void reserve(std::size_t cells) { cells_.reserve(cells); }

  // A cell of the upper triangle that holds a work.
  template <typename Cell>
  struct Placed {
    int I = 0;
    int J = 0;
    Cell* cell = nullptr;
  };
  // The upper cells (row <= column) that hold a work with both events in 1..eventCount,
  // in scan order: start event ascending, then end event ascending.
  std::vector<Placed<TWorkCell>> upperWorks(int eventCount);
  std::vector<Placed<const TWorkCell>> upperWorks(int eventCount) const;

 private:
  static std::uint64_t key(int row, int column) {
    return (std::uint64_t{static_cast<std::uint32_t>(row)} << 32) | static_cast<std::uint32_t>(column);
  }
  template <typename Cell, typename Map>
  static std::vector<Placed<Cell>> upper(Map& cells, int eventCount);
  std::unordered_map<std::uint64_t, TWorkCell> cells_;
};

// The network model. The program holds exactly one instance (`theModel()`); algorithms
// take it by reference, so tests make their own.
struct TNetworkModel {
  TNetworkModel() { VariantResults.reset(2); }
  TWorkMatrix WorkMatrix;  // (row, column)
  Table1<TEventRec> Events;         // 1..EventCount once computed
  Table1<TCritWork> CritWorks;      // room for the longest chain of EventCount events
  std::int32_t CritWorkCount = 0;
  StoredReal CritPathLength;
  std::int32_t EventCount = 0;
  std::int32_t WorkCount = 0;
  StoredReal LengthBefore;
  StoredReal LengthAfter;
  std::int32_t CritCountBefore = 0;
  std::int32_t CritCountAfter = 0;
  std::int32_t Optimised = 0;
  // Its one variant is a copy of a run with the reallocation's workers and durations.
  bool Reallocated = false;
  Table1<TVariantResult> VariantResults;  // records 1 and 2
  // The counts of the run that recorded VariantResults. The works table's counts change
  // after a run (a row inserted, a change undone); the results of the run keep theirs.
  std::int32_t RunWorkCount = 0;
  std::int32_t RunEventCount = 0;
  // The start date, calendar, names and crew limits the data file keeps with the works.
  DataSetExtras Extras;

  TWorkCell& cell(int row, int column) { return WorkMatrix.at(row, column); }
  const TWorkCell& cell(int row, int column) const { return WorkMatrix.at(row, column); }
};

// The resets: every entry of the named tables becomes zero (the matrix loses its cells).
void ClearComputed(TNetworkModel& model);  // Events, CritWorks
void ClearVariants(TNetworkModel& model);  // VariantResults and the run's counts
void ClearModel(TNetworkModel& model);     // WorkMatrix, Events, CritWorks, VariantResults, Extras
void ClearMatrix(TNetworkModel& model);    // WorkMatrix only (data file reader, load)

// The program's one model, zero at start-up and never reallocated.
TNetworkModel& theModel();

}  // namespace velko
