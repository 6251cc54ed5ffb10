// How a run ends: its status, the -s lines after a success, the message
// after a failure, and what a failure leaves.
#pragma once

#include "input_files.hpp"
#include "output_set.hpp"
#include "run_files.hpp"

namespace venk::cli {

// After the outputs were written or failed with `result`: prints what the
// run owes its user, removes what a failure left, and returns the process's
// exit status.
int finish_run(const Request& request, const InputFiles& inputs, ResultCode result, const Figures& figures,
               OutputSet& files);

}  // namespace venk::cli
