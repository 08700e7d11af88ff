#include "ModelDetailView.h"
