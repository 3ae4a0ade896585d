#include "ui/main/frmtextedit.h"
