#include "AboutView.h"
