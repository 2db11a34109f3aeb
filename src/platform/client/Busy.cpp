#include "platform/client/Busy.h"

namespace ado {
namespace {

BusyHook& Hook() {
  static BusyHook hook;
  return hook;
}

int& Depth() {
  static int depth = 0;
  return depth;
}

void Tell(bool busy) {
  if (!Hook()) return;
  try {
    Hook()(busy);
  } catch (...) {
    // Telling is a courtesy: it never fails a statement.
  }
}

}  // namespace

void SetBusyHook(BusyHook hook) { Hook() = std::move(hook); }

namespace odbc {

BusyScope::BusyScope() {
  if (Depth()++ == 0) Tell(true);
}

BusyScope::~BusyScope() {
  if (--Depth() == 0) Tell(false);
}

}  // namespace odbc
}  // namespace ado
