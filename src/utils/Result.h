#pragma once

// The library's callers include Result<T> from here; the template itself lives beside Error.
#include "zeq_common_stable/Result.h"
