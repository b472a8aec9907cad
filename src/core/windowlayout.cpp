#include "windowlayout.h"
