#pragma once
// save: the configurations of the wall's controllers into one wall file.
#include "CtlSession.h"

#include <QString>

// Every controller a scan finds, or only the one on COM com when com is not 0. Nothing
// is written unless every controller was read and has a box ID of its own. Returns the
// exit status.
int SaveWall(CtlSession& session, int com, const QString& path);
