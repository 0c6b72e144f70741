#include "symbolconv/ErrorState.h"

namespace runemark {

namespace {
int g_errorState = 0;
}

int GetErrorState() { return g_errorState; }
void SetErrorState(int code) { g_errorState = code; }

}  // namespace runemark
