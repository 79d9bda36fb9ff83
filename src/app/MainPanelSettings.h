#pragma once
// The settings the main window gives its thumbnail panel (also used by the panel benchmark).
#include "thumbpanel/ImgPanel.h"

// Applies them to a panel before its window is created; thumbnails are 32 px until the
// stored size is read.
void ApplyMainPanelSettings(thumbpanel::TImgPanel& panel);
