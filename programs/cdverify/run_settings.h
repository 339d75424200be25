#pragma once

#include <cstdint>

#include "base/fixed_text.h"

namespace cdverify {

// Width of the text settings: at most 49 characters and a terminator.
inline constexpr std::size_t kSettingFieldSize = 50;

// What the command line sets for one run; read once, before any other work.
struct RunSettings {
  base::FixedText<kSettingFieldSize> archiveDisk{"g"};
  base::FixedText<kSettingFieldSize> fileExtension{"*"};
  base::FixedText<kSettingFieldSize> infoLogName{"log.out"};
  base::FixedText<kSettingFieldSize> warningLogName{"log.out"};
  base::FixedText<kSettingFieldSize> errorLogName{"log.out"};
  base::FixedText<kSettingFieldSize> summaryLogName{"log.out"};
  char streamLetter = 'P';
  uint8_t planeMode = 0;      // 1: data files in the disk's root
  uint8_t triggerStream = 0;  // 1: verify the files not marked with the stream letter
};

}  // namespace cdverify
