#include "cli/SimHost.h"

#include <cstdint>

void SimHost::CountTick() {
  if (elapsedTicks < INT32_MAX) ++elapsedTicks;
  clockText_ = std::to_string(elapsedTicks);
}
