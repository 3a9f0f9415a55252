#pragma once

// Everything a window needs: the form, its controls, control arrays and the window registry.
#include "platform/color.h"
#include "platform/control.h"
#include "platform/controlarray.h"
#include "platform/controls.h"
#include "platform/errors.h"
#include "platform/form.h"
#include "platform/instances.h"
#include "platform/keys.h"
#include "platform/listview.h"
#include "platform/menu.h"
#include "platform/screen.h"
#include "platform/timer.h"
#include "platform/twips.h"
