#include "configlayout.h"
