#include "platform/profile_text.h"

namespace platform {

// The Windows build reads headers exactly as the platform's own private-profile
// calls would, without calling them once per key.
const ProfileDialect kHostProfileDialect = ProfileDialect::kWindows;

}  // namespace platform
