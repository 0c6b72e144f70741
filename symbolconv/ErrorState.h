#pragma once
// The code of the last failure met during the current StartConvert call
// (0 = none). One per process: calls must not overlap.

namespace runemark {

int GetErrorState();
void SetErrorState(int code);

}  // namespace runemark
