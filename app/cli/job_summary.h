// A readable account of a job: the values a run will use, one per line, named
// as the settings store names them.
#pragma once

#include <string>

namespace flawseek {

class Job;
struct ConfiguredCommandLine;

std::string job_summary(const Job& job);

// What the run does besides the job (outputs, kinds reported, paths left
// out, threads), one setting a line, then where the settings came from: the
// project file, the command line, the stored settings; the rest are defaults.
std::string run_summary(const ConfiguredCommandLine& configured);

}  // namespace flawseek
