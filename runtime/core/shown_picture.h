// The copy of the picture on screen that lets KeepScreen end a frame without showing one.
#pragma once

#include "runtime/core/opengl_vividoru.h"

// Before a swap: copies the back buffer, once the program has ended a frame with KeepScreen.
void CopyShownPicture(OpenGLVividoru& device);
// Puts the shown picture into the back buffer, unless it is there already; false when there is no
// copy of it (the window must then be drawn anew).
bool RestoreShownPicture(OpenGLVividoru& device);
// The back buffer as ShowScreen leaves it (cleared, background buffer 0) when it held the shown
// picture: a frame drawn after KeepScreen starts as after ShowScreen.
void StartFrameAfterKeep(OpenGLVividoru& device);
