#include "search.h"
