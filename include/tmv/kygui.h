// The KYgui toolkit, for programs that include <tmv/kygui.h>.
#pragma once
#include "gui/kygui.h"
