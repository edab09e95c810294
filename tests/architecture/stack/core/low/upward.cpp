#include "high/high.h"
#include "low/low.h"
int low() { return high(); }
