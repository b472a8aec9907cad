#include "colordialog.h"
