#include "SentenceSimilarityView.h"
