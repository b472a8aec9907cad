#include "printout.h"
