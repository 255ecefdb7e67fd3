// The started runtime the 2D benchmarks draw with: an offscreen window, sprites 1 and 2 loaded.
#pragma once

void StartHeadless();
