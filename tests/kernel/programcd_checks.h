#pragma once
#include <string>
#include <vector>

#include "guest_report.h"

// `programcd scan` and `programcd make` run in the guest against its drives:
// the scan lists the table models and passes over the drive that answers as
// itself; make stops at the first command the drive refuses, with the
// failure text and exit code of that step, and sends nothing after it.
void RunProgramcdChecks(Report& report);
// The names of those checks, in the order they report.
std::vector<std::string> ProgramcdCheckNames();
