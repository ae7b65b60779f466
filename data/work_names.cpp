#include "data/work_names.h"

#include <charconv>
#include <optional>
#include <utility>

#include "data/works_table_edit.h"
#include "model/load_model.h"

namespace velko {

namespace {

std::optional<int> wholeNumber(const std::string& text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

}  // namespace

void namesIntoTable(const DataSetExtras& extras, WorksTable& table, int rows) {
  if (extras.names.empty()) return;
  for (int r = 1; r <= rows; ++r) {
    const std::optional<int> i = wholeNumber(table.cell(kColumnI, r));
    const std::optional<int> j = wholeNumber(table.cell(kColumnJ, r));
    if (!i || !j) continue;
    auto found = extras.names.find({*i, *j});
    if (found == extras.names.end()) found = extras.names.find({*j, *i});
    // The file's escapes may bring line breaks, which no table cell holds.
    if (found != extras.names.end()) table.setCell(kColumnName, r, oneLineName(found->second));
  }
}

DataSetExtras extrasWithTableNames(const DataSetExtras& extras, const WorksTable& table, int rows) {
  DataSetExtras kept = extras;
  kept.names.clear();
  for (int r = 1; r <= rows; ++r) {
    const std::string& name = table.cell(kColumnName, r);
    if (name.empty()) continue;
    const std::optional<int> i = wholeNumber(table.cell(kColumnI, r));
    const std::optional<int> j = wholeNumber(table.cell(kColumnJ, r));
    if (i && j) kept.names[{*i, *j}] = name;
  }
  return kept;
}

}  // namespace velko
