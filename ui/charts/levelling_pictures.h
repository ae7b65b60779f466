#pragma once

#include <vector>

#include <QColor>
#include <QString>
#include <QStringList>

#include "calendar/working_days.h"
#include "levelling/levelling.h"
#include "model/network_model.h"
#include "ui/charts/chart_pictures.h"

namespace velko {

// The pictures and tables of the smoothing ("Выравнивание") in the window "Графики".

inline const QColor kLevelledColour{0x1a, 0x98, 0x50};

// "минимум доказан" or "лучшее найденное, нижняя граница N".
QString levellingProofText(const LevellingResult& result);

// One line about the smoothing: peak before and after, the proof, works shifted.
QString levellingSummary(const LevellingResult& result);

// The figures under "Движение рабочих" after a smoothing: those of the variants with the
// smoothing's column, the bound of the peak the search proved and, where lower, the
// static bound it started from.
std::vector<QStringList> levelledFigureRows(const TNetworkModel& model, const LevellingResult& result);

// "Движение рабочих" with a third curve after the smoothing and its figures column,
// the lower bound and the proof.
ChartPicture levelledProfilePicture(const TNetworkModel& model, const LevellingResult& result);

// The profile of each identifier (one trade each) in a strip of its own: both variants
// and, when given, the smoothed schedule.
ChartPicture idProfilesPicture(const TNetworkModel& model, const LevellingResult* result);

// The bar chart at the smoothed starts: each shifted bar with its early-start place
// outlined and the shift marked.
ChartPicture levelledBarChartPicture(const TNetworkModel& model, const LevellingResult& result);

// "Сдвиги работ": one row per shifted work; with a calendar (the data set has a start
// date) two more columns, the dates the work begins and finishes on at its new start.
QStringList shiftHeaders(bool dated = false);
std::vector<QStringList> shiftRows(const LevellingResult& result, const WorkingDays* calendar = nullptr);
QString shiftsText(const LevellingResult& result, const WorkingDays* calendar = nullptr);  // tab-separated
QString shiftsMessage(const LevellingResult* result);  // above the table, or instead of it
ChartPicture shiftsPicture(const LevellingResult* result, const WorkingDays* calendar = nullptr);

}  // namespace velko
