#pragma once
// Scenario files of the simulated background monitor.
//
//   # comment
//   at <ms>                       a step: what follows applies <ms> after the start (or after the last loop)
//   set <Field> <value>           a record field by name; date-time fields take "yyyy-mm-dd hh:nn[:ss]" or a
//                                 number of days; byte[<offset>] names a single byte
//   clear                         every byte of the record 0
//   truncate <n>                  this step writes only the first n bytes
//   remove                        this step deletes DATABuff.REC instead of writing it
//   event <code> <when>           appends a record to the Event.log of <when>'s month, unless that file holds
//                                 the same record already (a loop does not repeat a dated event); <when> is
//                                   yyyy-mm-dd hh:nn[:ss]          that moment (or a number of days)
//                                   <n> months ago <d> hh:nn[:ss]  day d of the n-th month before the one the
//                                                                  monitor started in (its last day when it
//                                                                  has fewer): a history that stays recent
//                                   now                            the moment the step is played
//   loop                          starts over at the first step
//
// The record is written at the end of every step.
#include <string>
#include <vector>

#include "datetime.h"
#include "record.h"

namespace korval::monitor {

struct Change {
  enum Kind { SetByte, SetBE16, SetLE16, SetDouble, Clear, Truncate, Remove, Event, Loop } kind;
  std::size_t offset = 0;
  double number = 0;  // the value, the byte count of Truncate or the event's code
  double when = 0;    // the event's date-time
  bool now = false;   // the event's date-time is the moment the step is played
};

struct Step {
  unsigned long atMs = 0;
  std::vector<Change> changes;
};

// Parses a scenario; on a bad line gives false with the line number and the reason in `error`. `started` is
// the local time the monitor started at, which the events dated in months ago count from.
bool ParseScenario(const std::string& text, const CalendarTime& started, std::vector<Step>& steps,
                   std::string& error);

// "yyyy-mm-dd hh:nn[:ss]" or a plain number of days.
bool ParseDateTimeText(const std::string& text, double& value);

}  // namespace korval::monitor
