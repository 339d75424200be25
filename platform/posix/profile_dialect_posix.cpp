#include "platform/profile_text.h"

namespace platform {

const ProfileDialect kHostProfileDialect = ProfileDialect::kPosix;

}  // namespace platform
