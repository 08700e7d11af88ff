#include "DemoType.h"
