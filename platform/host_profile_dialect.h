#pragma once

#include "profile/profile_dialect.h"

namespace platform {

// The dialect of this host's header reader.
extern const profile::ProfileDialect kHostProfileDialect;

}  // namespace platform
