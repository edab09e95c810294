#include "high/high.h"
#include "low/low.h"
int high() { return low() + 1; }
