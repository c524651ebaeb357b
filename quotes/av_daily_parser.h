// AlphaVantage daily series responses: CSV text, a header line and then one
// line per day, newest first; columns are taken by position (date 0, high 2,
// low 3, close 4), not by header name.
#pragma once

#include "app/app_settings.h"
#include "mainwnd/request_slot.h"
#include "portfolio/data_store.h"

#include <string>
#include <string_view>

// The record of a daily series body: empty when the body is empty or its
// first line (with its line feed) is shorter than 5 bytes, else
// "|low|high|close|change||||mm/dd/yyyy|" from the newest day, change being
// its close minus the close of the day before, "%.2f" (empty without that
// day).
std::string AV_DailyToRecord(std::string_view body);

// A daily series for the grid: replaces the symbol's line in symbolLines,
// or counts a data error (and shows it when AV_ShowDetail and ShowErrors are
// both on); then frees the slot and counts the request as answered.
void Parse_AV_OneGrid(RequestSlot& slot, DataStore& store, const AppSettings& settings,
                      AvBatchCounters& counters);

// A daily series for the index header: appends the line to resultLines, or
// shows the bad return when ShowErrors is on. The slot stays as it is.
void Parse_AV_Top(const RequestSlot& slot, DataStore& store, const AppSettings& settings);
