#include "AppInfo.h"
