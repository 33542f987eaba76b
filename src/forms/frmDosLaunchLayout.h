#pragma once
#include "platform/ControlTable.h"

// The main window's design: caption, size and control table, in twips at the design size.
FormSpec frmDosLaunchForm();
