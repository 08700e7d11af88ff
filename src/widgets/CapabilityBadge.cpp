#include "CapabilityBadge.h"
