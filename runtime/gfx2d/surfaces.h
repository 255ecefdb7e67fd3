// Off-screen screens, grabs, background buffers and saved pictures: their record and the operations
// the frame loop and the other 2D parts use (the commands are in gfx2d.h).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

constexpr int32_t kScreenCount = 32;
constexpr int32_t kBackgroundCount = 8;
constexpr int32_t kMaxBackgroundTiles = 8;

struct ScreenTarget {
    uint32_t framebuffer = 0;
    uint32_t depthBuffer = 0;
    // Both non-zero only when the framebuffer object is complete and usable.
    int32_t width = 0;
    int32_t height = 0;
    // -1 until ScreenCreate.
    int32_t spriteId = -1;
};

struct BackgroundTile {
    uint32_t texture = 0;
    int32_t texWidth = 0;
    int32_t texHeight = 0;
    int32_t usedWidth = 0;
    int32_t usedHeight = 0;
};

struct BackgroundBuffer {
    BackgroundTile tiles[kMaxBackgroundTiles][kMaxBackgroundTiles]; // [column][row]
    int32_t columns = 0;
    int32_t rows = 0;
};

struct SurfaceState {
    std::array<ScreenTarget, kScreenCount> screens;
    int32_t activeScreen = -1; // -1: drawing goes to the back buffer
    std::array<BackgroundBuffer, kBackgroundCount> backgrounds;
    // Read-back buffer of SpriteGrab without framebuffer alpha; only grows.
    std::vector<uint8_t> grabBuffer;
};

SurfaceState& Surfaces();

// PresentFrame's first step, ScreenUse(-1); nothing once the GL context is gone (the device's end).
void FinishScreenBeforePresent();
// Whether drawing goes to a screen's framebuffer object.
bool ScreenFramebufferActive();
// The slot keeps its sizes in 16 bits: larger textures are refused.
bool FitsSpriteSlot(int32_t texWidth, int32_t texHeight);
// Height of what drawing goes to: the active framebuffer object's picture, else the screen.
int32_t TargetHeight();

// The sprite colour key as the framebuffer stores it, R << 24 | G << 16 | B << 8; 0 when there is no key.
uint32_t KeyColourProbe();

// The screen into background buffer n, in tiles of one power-of-two size.
void BackgroundCaptureInto(int32_t buffer);
// A picture file into background buffer n (tiles of at most 512, at most 8 x 8 of them).
bool BackgroundLoadInto(int32_t buffer, const std::string& path);
// Draws the buffer with the current blend mode; an empty buffer draws nothing.
void BackgroundDraw(int32_t buffer);
void BackgroundFree(int32_t buffer);
