#include "ModelSettingsView.h"
