#include "ui/chooser/frmfileselect.h"
