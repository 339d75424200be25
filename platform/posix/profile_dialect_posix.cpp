#include "platform/host_profile_dialect.h"

namespace platform {

const profile::ProfileDialect kHostProfileDialect = profile::ProfileDialect::kPosix;

}  // namespace platform
