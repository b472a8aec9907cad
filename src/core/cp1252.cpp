#include "cp1252.h"
