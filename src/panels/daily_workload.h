#pragma once
// Chart3: meter readings entered per day, one orange bar per entry date,
// labelled with the day of the month ("5日").
namespace kvet {
class Connection;
class Query;
class StatusCell;
namespace chart { class Chart; }
} // namespace kvet

namespace kvet::panels {

// Button2Click. A failure (also a date text whose day is no number) goes to the
// status cell and closes the connection; bars added before it stay.
void refreshDailyWorkload(chart::Chart& chart, Query& query, Connection& connection, StatusCell& status);

} // namespace kvet::panels
