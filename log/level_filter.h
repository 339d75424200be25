#pragma once

#include <cstdint>

namespace logging {

// Lets through the levels from minLevel to maxLevel, both inclusive.
class LevelFilter {
 public:
  LevelFilter(int32_t min, int32_t max) : minLevel(min), maxLevel(max) {}
  virtual ~LevelFilter() = default;

  virtual bool accepts(int32_t level) const { return minLevel <= level && level <= maxLevel; }

  int32_t minLevel;
  int32_t maxLevel;
};

}  // namespace logging
