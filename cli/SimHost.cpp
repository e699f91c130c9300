#include "cli/SimHost.h"

#include <cstdint>

void SimHost::CountTick() {
  if (elapsedTicks_ < INT32_MAX) ++elapsedTicks_;
  clockText_ = std::to_string(elapsedTicks_);
}
