#pragma once
// A statement may keep the program waiting (for another connection's lock,
// for a slow server). Whoever shows the operator that the program is busy is
// told when the first of the statements under way starts and when the last ends.
#include <functional>

namespace ado {

using BusyHook = std::function<void(bool busy)>;
// An empty hook tells nobody.
void SetBusyHook(BusyHook hook);

namespace odbc {

// Marks a statement under way for as long as it lives.
class BusyScope {
 public:
  BusyScope();
  ~BusyScope();
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;
};

}  // namespace odbc
}  // namespace ado
