#include "forms/filelist.h"
