#pragma once

#include "base/outcome.h"

namespace sources {

// libarchive, the image reader, is loaded when an image is first read, not
// when the program starts: a run over folders or a catalogue never pays for it
// (nor for its XML and Unicode libraries). libarchive_on_demand.cpp defines
// each libarchive function the image reader calls, forwarding to the loaded
// library's. Loads libarchive.so.13 once and finds every one of them; a
// failure says why, and then none of them may be called.
base::Status loadLibarchive();

}  // namespace sources
