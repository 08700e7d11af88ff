#include "OllamaSettingsView.h"
