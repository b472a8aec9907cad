#include "aboutdialog.h"
