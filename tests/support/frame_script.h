// A frame script: input pushed into SDL's queue, screenshots and checks at given frames. It runs in
// ShowScreen's input step, so it also drives frame loops the test does not own (modal dialogs).
// Frame N is the N-th ShowScreen after StartScript; what is scheduled for it happens just before that
// ShowScreen reads input, so the program sees it after that ShowScreen returns, and a screenshot shows
// the frame drawn just before it.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Installs the script into ShowScreen's input step, starting at frame 0 with nothing scheduled.
void StartScript();
// Puts the input step back as it was and forgets what was left.
void StopScript();

void ScriptAt(int frame, std::function<void()> action);
// The pointer to (x, y) in window pixels.
void ScriptMotion(int frame, int x, int y);
// The pointer to (x, y) and the left button down there.
void ScriptPress(int frame, int x, int y);
// Left button: down at the frame, up at the next, at (x, y).
void ScriptClick(int frame, int x, int y);
void ScriptButton(int frame, int sdlButton, bool down);
// A left-button drag: pressed at the first point, moved to one more point each frame after, released
// the frame after the last.
void ScriptDrag(int frame, const std::vector<std::pair<int, int>>& points);
// A key by SDL scan code: down at the frame, up `held` frames later.
void ScriptKey(int frame, int sdlScancode, int held = 1);
// Keys pressed together (a chord such as Shift+Tab): down at the frame in order, up at the next.
void ScriptChord(int frame, const std::vector<int>& sdlScancodes);
void ScriptWheel(int frame, int steps);
// The frame drawn before ShowScreen `frame` as a PNG file.
void ScriptScreenshot(int frame, const std::string& path);
// Appends what read() returns, and a line feed, to ScriptLog() at the frame (property dumps).
void ScriptRecord(int frame, std::function<std::string()> read);
const std::string& ScriptLog();
