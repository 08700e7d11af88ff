#include "SentimentAnalysisView.h"
