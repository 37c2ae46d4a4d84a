#pragma once

#include "cli/ConvertOptions.h"

// Runs one conversion as the command line asked: checks the sources and the output
// folder, starts LibreOffice, converts, reports. Returns the exit status: 0 every
// document converted, 1 any failed, 2 a usage error, 128 + N after signal N.
int runConvertCommand(const ConvertOptions& options);

// Helper processes for --jobs when it is not given: one a core, as far as the free
// memory allows, at least one.
int defaultJobs();
