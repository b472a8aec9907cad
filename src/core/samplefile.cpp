#include "samplefile.h"
