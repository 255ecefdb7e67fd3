// The character a key gives in the keyboard layout in use.
#pragma once

namespace platform {

// The key's unshifted character in the current layout ('a' for scan code 30 on most layouts), 0 when
// the key gives none or only a character outside ASCII.
int LayoutCharacter(int scanCode);

} // namespace platform
