#include "editing.h"
