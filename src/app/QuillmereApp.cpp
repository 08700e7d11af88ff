#include "QuillmereApp.h"
