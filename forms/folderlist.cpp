#include "forms/folderlist.h"
