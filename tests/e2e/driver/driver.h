#pragma once
// Everything an end-to-end test needs to drive a Windows program like a person.
#include "e2e/driver/app_process.h"        // IWYU pragma: export
#include "e2e/driver/distribution.h"       // IWYU pragma: export
#include "e2e/driver/driver_error.h"       // IWYU pragma: export
#include "e2e/driver/files.h"              // IWYU pragma: export
#include "e2e/driver/host.h"               // IWYU pragma: export
#include "e2e/driver/registry.h"           // IWYU pragma: export
#include "e2e/driver/registry_snapshot.h"  // IWYU pragma: export
#include "e2e/driver/window.h"             // IWYU pragma: export
#include "e2e/driver/window_query.h"       // IWYU pragma: export
