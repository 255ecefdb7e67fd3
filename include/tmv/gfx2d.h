// 2D graphics: sprites and picture files, drawing and blending, fonts and text, off-screen screens,
// grabs, backgrounds and saved pictures. Colours are R + G*256 + B*65536;
// coordinates are pixels from the viewport's top-left, y downwards. Sprite ids 0..65502 are the
// program's; ids outside 0..65535 act as empty slots.
//
//   Sprites   SpriteLoad SpriteLoadFrames SpriteLoadNormalMap SpriteSetFrameSize SpriteGetSize
//             SetColourKey SetSmoothing SpriteCollide FrameCollide SpriteBuildMask SpriteFreeAll
//   Drawing   ClearScreen SetBlendMode SpriteDraw SpriteDrawStretched SpriteDrawZoomed
//             SpriteDrawRotated SpriteDrawRotoZoomed FrameDraw FrameDrawStretched FrameDrawRotoZoomed
//             DrawPixel DrawLine DrawFilledRect ReadPixel PolyBegin PolyVertex PolyEnd GetScreenSize
//   Fonts     FontLoad FontSelect FontGetSize TextPrint TextPrintNumber
//   Screens   ScreenCreate ScreenUse SpriteGrab BackgroundCapture Loadbmp BackgroundLoadFade
//             SpriteSave ScreenSave
#pragma once

#include "rt_string.h"

#include <cstdint>

// ---- Sprites (BMP or PNG, decided by the content)
bool SpriteLoad(const RtString& file, int32_t id);
void SpriteLoadFrames(const RtString& file, int32_t id, int32_t frameWidth, int32_t frameHeight);
// Blue channel as height; colour key fixed at 0x8000FF.
bool SpriteLoadNormalMap(const RtString& file, int32_t id);
void SpriteSetFrameSize(int32_t id, int32_t frameWidth, int32_t frameHeight);
// 0, 0 for an empty slot.
void SpriteGetSize(int32_t id, int32_t& width, int32_t& height);
void SpriteGetSize(int32_t id, double& width, double& height);
// Transparent colour of later sprite and font loads (and of primitives); -1 = none.
void SetColourKey(int32_t colour);
// Linear (on) or nearest (off) filtering of sprite draws until the next viewport change.
void SetSmoothing(bool on);
// Pixel-exact overlap of two images placed with their top-left corners at the given points.
bool SpriteCollide(int32_t id1, int32_t x1, int32_t y1, int32_t id2, int32_t x2, int32_t y2);
bool FrameCollide(int32_t id1, int32_t frame1, int32_t x1, int32_t y1, int32_t id2, int32_t frame2, int32_t x2,
                  int32_t y2);
void SpriteBuildMask(int32_t id);
void SpriteFreeAll();

// ---- Drawing
void ClearScreen();
// 0 opaque; > 0 additive, < 0 transparent, at strength |mode| (at most 1).
void SetBlendMode(double mode);
void SpriteDraw(int32_t id, int32_t x, int32_t y);
// Negative sizes mirror.
void SpriteDrawStretched(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
// Scaled about the image's centre.
void SpriteDrawZoomed(int32_t id, int32_t x, int32_t y, double scaleX, double scaleY);
// Degrees, counter-clockwise on screen, about the image's centre.
void SpriteDrawRotated(int32_t id, int32_t x, int32_t y, double angle);
void SpriteDrawRotoZoomed(int32_t id, int32_t x, int32_t y, double angle, double scale);
// Frames are cells of the frame size, left to right, top to bottom, from 0.
void FrameDraw(int32_t id, int32_t frame, int32_t x, int32_t y);
void FrameDrawStretched(int32_t id, int32_t frame, int32_t x, int32_t y, int32_t width, int32_t height);
void FrameDrawRotoZoomed(int32_t id, int32_t frame, int32_t x, int32_t y, double angle, double scale);
void DrawPixel(int32_t x, int32_t y, int32_t colour);
// Both end points included.
void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour);
// Negative sizes extend left and up from (x, y).
void DrawFilledRect(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colour);
// In window pixels from the top-left.
int32_t ReadPixel(int32_t x, int32_t y);
// A polygon as a triangle fan; id -1 untextured, texture positions in the sprite's pixels.
void PolyBegin(int32_t id);
void PolyVertex(double x, double y, double tx, double ty, int32_t colour);
// Draws the list; again on every call until the next PolyBegin.
void PolyEnd();
void GetScreenSize(int32_t& width, int32_t& height);
void GetScreenSize(double& width, double& height);

// ---- Fonts (numbers 0..31, clamped; a font picture is a grid of 16 columns, 8 rows when it is
// wider than high, else 16)
// Selects the font, then loads it with the font colour key; the built-in font when that fails, and
// a log line naming the file unless the name was "".
void FontLoad(const RtString& file, int32_t font);
void FontSelect(int32_t font);
// Cell size of the current font.
void FontGetSize(int32_t& width, int32_t& height);
void FontGetSize(double& width, double& height);
// First cell's top-left at (ceil x, ceil y); every byte draws its cell, none is special.
void TextPrint(const RtString& text, double x, double y);
void TextPrintNumber(double number, double x, double y);

// ---- Off-screen screens, grabs, backgrounds, saved pictures
// Sprite id becomes a transparent width x height picture that screen 0..31 draws into.
void ScreenCreate(int32_t screen, int32_t id, int32_t width, int32_t height);
// Finishes the active screen, then draws into this one; negative: the back buffer again.
void ScreenUse(int32_t screen);
// The screen rectangle into the sprite; areas drawn in the sprite colour key turn transparent.
bool SpriteGrab(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
// The whole screen becomes the background drawn behind every frame.
void BackgroundCapture();
// A picture file as that background, shown at once.
void Loadbmp(const RtString& file);
// Crossfades from the screen to the picture over 1.5 s; the picture stays as background.
void BackgroundLoadFade(const RtString& file);
// PNG when the name ends in ".png" (either case), else BMP; key-coloured pixels stay transparent.
bool SpriteSave(const RtString& file, int32_t id);
bool ScreenSave(const RtString& file);
