#pragma once

#include "base/outcome.h"

namespace catalog {

// libpq, the PostgreSQL client, is loaded when a PostgreSQL catalogue is first
// opened, not when the program starts: a run that reads an SQLite file never
// pays for it (nor for its Kerberos, LDAP and TLS). libpq_on_demand.cpp
// defines each libpq function the catalogue calls, forwarding to the loaded
// library's. Loads libpq.so.5 once and finds every one of them; a failure says
// why, and then none of them may be called.
base::Status loadLibpq();

}  // namespace catalog
