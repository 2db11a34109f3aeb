#pragma once
// A console reporter that keeps every benchmark's time for the figures a
// benchmark program prints at the end. Repetitions report their median.
// A benchmark that stopped with an error is counted: its program then fails.
#include <benchmark/benchmark.h>

#include <map>
#include <set>
#include <string>
#include <vector>

class Collector : public benchmark::ConsoleReporter {
 public:
  struct Times {
    double real = 0, cpu = 0;  // in each benchmark's unit (ours use milliseconds)
  };
  std::map<std::string, Times> ms;
  int errores = 0;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& r : runs) {
      if (r.error_occurred) {
        ++errores;
        continue;
      }
      const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
      if (median || (r.run_type == Run::RT_Iteration && !medians_.count(r.run_name.str())))
        ms[r.run_name.str()] = {r.GetAdjustedRealTime(), r.GetAdjustedCPUTime()};
      if (median) medians_.insert(r.run_name.str());
    }
    ConsoleReporter::ReportRuns(runs);
  }

 private:
  std::set<std::string> medians_;
};
