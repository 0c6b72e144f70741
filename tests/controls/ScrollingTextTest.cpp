#include "ControlsBTestSupport.h"
