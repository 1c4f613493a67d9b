#pragma once
// load: a checked wall file onto the controllers that carry its box IDs now.
#include "CtlSession.h"
#include "WallFile.h"

#include <vector>

struct WallLoadOptions {
    bool dryRun = false; // report the differences, send nothing
    bool force = false;  // write to a controller of another model than the file's
};

// Scans, refuses (before any command frame) a box ID that is shared now or, without
// force, held by another model, then writes every entry the way set does, all at the
// same time, each controller over its own session, and reports per controller in
// box-ID order once all are done. Returns the exit status.
int LoadWall(CtlSession& session, const std::vector<WallEntry>& entries,
             const WallLoadOptions& options);
