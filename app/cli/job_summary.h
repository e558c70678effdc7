// A readable account of a job: the values a run will use, one per line, named
// as the settings store names them.
#pragma once

#include <string>

namespace flawseek {

class Job;

std::string job_summary(const Job& job);

}  // namespace flawseek
