#pragma once

#include <cstdint>

#include "model/bounded_table.h"
#include "model/stored_real.h"

namespace velko {

// Limits of the fixed tables.
inline constexpr int kMaxEvents = 50;
inline constexpr int kMaxCritWorks = 50;
inline constexpr int kMaxVariantEntries = 100;
inline constexpr int kMaxWorks = 100000;

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

// A complete copy of one run's results (1: before optimisation, 2: after).
struct TVariantResult {
  Table1<StoredReal, kMaxVariantEntries> WorkDuration;
  Table1<std::int32_t, kMaxVariantEntries> WorkWorkers;
  Table1<std::int32_t, kMaxVariantEntries> WorkId;
  Table1<std::int32_t, kMaxVariantEntries> WorkI;
  Table1<std::int32_t, kMaxVariantEntries> WorkJ;
  Table1<std::int32_t, kMaxVariantEntries> EventNumber;
  Table1<StoredReal, kMaxVariantEntries> EventEarly;
  Table1<StoredReal, kMaxVariantEntries> EventLate;
  Table1<StoredReal, kMaxVariantEntries> EventReserve;
  Table1<std::int32_t, kMaxVariantEntries> CritI;
  Table1<std::int32_t, kMaxVariantEntries> CritJ;
  Table1<std::int32_t, kMaxVariantEntries> CritWorkers;
  Table1<std::int32_t, kMaxVariantEntries> CritId;
  Table1<StoredReal, kMaxVariantEntries> CritDuration;
  Table1<std::int32_t, kMaxVariantEntries> FloatI;
  Table1<std::int32_t, kMaxVariantEntries> FloatJ;
  Table1<StoredReal, kMaxVariantEntries> WorkTotalFloat;
  Table1<StoredReal, kMaxVariantEntries> WorkFreeFloat;
};

// The network model: every table has a fixed size, and the program holds exactly one
// instance (`theModel()`). Algorithms take it by reference, so tests make their own.
struct TNetworkModel {
  Table1<Table1<TWorkCell, kMaxEvents>, kMaxEvents> WorkMatrix;  // [row][column]
  Table1<TEventRec, kMaxEvents> Events;
  Table1<TCritWork, kMaxCritWorks> CritWorks;
  std::int32_t CritWorkCount = 0;
  StoredReal CritPathLength;
  std::int32_t EventCount = 0;
  std::int32_t WorkCount = 0;
  StoredReal LengthBefore;
  StoredReal LengthAfter;
  std::int32_t CritCountBefore = 0;
  std::int32_t CritCountAfter = 0;
  std::int32_t Optimised = 0;
  Table1<TVariantResult, 2> VariantResults;
  // The counts of the run that recorded VariantResults. The works table's counts change
  // after a run (a row inserted, a change undone); the results of the run keep theirs.
  std::int32_t RunWorkCount = 0;
  std::int32_t RunEventCount = 0;

  TWorkCell& cell(int row, int column) { return WorkMatrix[row][column]; }
  const TWorkCell& cell(int row, int column) const { return WorkMatrix[row][column]; }
};

// The resets: every byte of the named tables becomes zero.
void ClearComputed(TNetworkModel& model);  // Events, CritWorks
void ClearVariants(TNetworkModel& model);  // VariantResults and the run's counts
void ClearModel(TNetworkModel& model);     // WorkMatrix, Events, CritWorks, VariantResults
void ClearMatrix(TNetworkModel& model);    // WorkMatrix only (data file reader, load)

// The program's one model, zero at start-up and never reallocated.
TNetworkModel& theModel();

}  // namespace velko
