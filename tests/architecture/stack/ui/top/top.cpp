#include "high/high.h"
#include "low/low.h"
int top() { return high() + low(); }
