#include "statdialog.h"
