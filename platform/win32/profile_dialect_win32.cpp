#include "platform/host_profile_dialect.h"

namespace platform {

// The Windows build reads headers exactly as the platform's own private-profile
// calls would, without calling them once per key.
const profile::ProfileDialect kHostProfileDialect = profile::ProfileDialect::kWindows;

}  // namespace platform
