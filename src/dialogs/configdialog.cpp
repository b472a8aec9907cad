#include "configdialog.h"
