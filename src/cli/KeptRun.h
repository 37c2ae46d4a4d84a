#pragma once

#include "cli/ConvertOptions.h"
#include "cli/Reporter.h"
#include "cli/StopSignals.h"
#include "run/ConversionRun.h"

#include <functional>

// Converts a plan with the front end's observer (starting LibreOffice only then).
using PlanConversion = std::function<RunCounts(const RunPlan& plan, RunObserver& observer)>;

// Whether the run keeps the output folder's manifest: when --update, --delete or
// --index asks for it, or when an earlier run left one (so that names stay).
bool keepsManifest(const ConvertOptions& options, const QString& outputFolder);

// A run that keeps the manifest of its output folder (see PublishedFolder): waits for
// another run into the folder, skips up-to-date documents with --update, converts the
// rest through `convert` (not at all when nothing is left), removes the pages of gone
// documents with --delete, saves the manifest and writes the indexes with --index.
// `troubled` is set when something beside the documents went wrong (it was told).
RunCounts runKept(const ConvertOptions& options, const RunPlan& plan, Reporter& reporter, RunObserver& observer,
                  const StopSignals& stop, const PlanConversion& convert, bool& troubled);
