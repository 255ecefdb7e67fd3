// KYgui inside the toolkit: the public operations (<tmv/kygui.h>); the records and the toolkit's
// state are in kygui_state.h.
#pragma once

#include <tmv/kygui.h>
