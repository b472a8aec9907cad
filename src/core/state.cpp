#include "state.h"
