// Robustness with real windows, processes and registry values.
#include "TestSupport.h"
