#include "plategeometry.h"
