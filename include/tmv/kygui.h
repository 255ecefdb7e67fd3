// KYgui: dialogs of widgets addressed by string ids, laid out, drawn and run once per frame by KYshow.
// Names ending in `$` return text; in C++ the `$` is written `_str`: KYgui_get$ is KYgui_get_str,
// KYgui_getitem$ is KYgui_getitem_str, KYgui_keyboard$ is KYgui_keyboard_str.
// Every operation works on the active (topmost) dialog; properties are upper-case names ("TEXT",
// "CLICKED", "SELECT", ...).
// KYgui draws with the current font (FontLoad, FontSelect): load "menu.png", the toolkit's font
// image, beside the program (the SDK installs it under share/tmv, tmv_add_game copies it) and call
// KYgui_font_kerning(1). Without it the text is the runtime's built-in 8 x 8 font, and the log names
// the image that could not be loaded.
//
//   Dialogs     KYgui_pushdialog KYgui_popdialog KYgui_resizedialog
//   Widgets     KYgui_widget KYgui_text KYgui_list KYgui_radio KYgui_checkbox KYgui_slider KYgui_button
//               KYgui_file KYgui_tab KYgui_spacer KYgui_user KYgui_spritebuttons
//   Items       KYgui_insertitem KYgui_deleteitem KYgui_getitem_str
//   Properties  KYgui_hide KYgui_link KYgui_set KYgui_get_str KYgui_get
//   Frame       KYshow KYgui_changed KYgui_font_kerning
//   Own kinds   KYguiUserHook kygui_handle_user KYgui_sethook
//   Standard    KYgui_msg KYgui_colordlg KYgui_keyboard_str
//   Debug       KYgui_DebugHelpers KYgui_DebugWidgets
#pragma once

#include "rt_array.h"
#include "rt_string.h"

#include <cstdint>

// ---- Dialogs
void KYgui_pushdialog(int32_t x, int32_t y, int32_t width, int32_t height);   // opens an empty dialog on top
void KYgui_popdialog();                                                       // closes the active dialog
void KYgui_resizedialog(int32_t x, int32_t y, int32_t width, int32_t height); // 0 size: only clears HOVER/CLICKED

// ---- Widgets (a size of 0 is chosen from the caption and the font; an id of "" is made up)
void KYgui_widget(const RtString& id, const RtString& caption, int32_t width, int32_t height); // static text
void KYgui_text(const RtString& id, const RtString& text, int32_t width, int32_t height);      // edit field
void KYgui_list(const RtString& id, const RtString& items, int32_t width, int32_t height);     // items "a|b|c"
void KYgui_radio(const RtString& id, const RtString& items, int32_t width);                    // one line per item
void KYgui_checkbox(const RtString& id, const RtString& caption, int32_t width, int32_t height);
void KYgui_slider(const RtString& id, double value, int32_t width, int32_t height);            // MINVAL..MAXVAL, STEP
void KYgui_button(const RtString& id, const RtString& caption, int32_t width, int32_t height); // "SPR_B"n, "SPR_C"c
void KYgui_file(const RtString& id, const RtString& text, const RtString& filter, int32_t width, int32_t height);
void KYgui_tab(const RtString& id, const RtString& tabs); // "Caption,id,id|Caption,id", then a line break
void KYgui_spacer(int32_t width, int32_t height);         // width 10000 breaks the line
void KYgui_user(const RtString& id, const RtString& type, int32_t width, int32_t height); // application kind
void KYgui_spritebuttons(const RtArray<RtString>& ids, const RtArray<double>& sprites);   // a row, then a break

// ---- Items of a list or radio group
void KYgui_insertitem(const RtString& id, const RtString& item, int32_t index); // index < 0 or past the end: append
void KYgui_deleteitem(const RtString& id, int32_t index);                       // index < 0: all
RtString KYgui_getitem_str(const RtString& id, int32_t index);                  // index < 0: the selected one

// ---- Properties (id "" addresses the dialog itself)
void KYgui_hide(const RtString& id, double hide);
// KYgui_link: the source property is copied to the destination after every frame.
void KYgui_link(const RtString& srcId, const RtString& srcProp, const RtString& dstId, const RtString& dstProp);
void KYgui_set(const RtString& id, const RtString& property, const RtString& value);
RtString KYgui_get_str(const RtString& id, const RtString& property);
double KYgui_get(const RtString& id, const RtString& property);

// ---- Frame
void KYshow(double onlyActive);               // 0: the dialogs below are drawn dimmed first
// 1 when this frame's KYshow would look different from the last drawn one (input, a property, the
// pointer's rest for tooltips, the window exposed or resized), else 0: the KYshow that follows then
// handles the dialogs without drawing, and the frame ends with KeepScreen instead of ShowScreen:
//   bool changed = KYgui_changed() != 0;
//   if (changed) { draw the background; }
//   KYshow(1); read the properties;
//   if (changed) ShowScreen(); else KeepScreen();
// Answering 1 after kept frames it clears the back buffer first, as ShowScreen leaves it. Without it
// every KYshow draws.
double KYgui_changed();
void KYgui_font_kerning(double proportional); // 1: measure the current font's glyphs, 0: fixed cells

// ---- Application kinds: the hook gets the widget's id, the pointer relative to it, the click
// event (-1 press, 1 release, 0 none) and the second button. The default stops the program.
using KYguiUserHook = void (*)(const RtString& id, int32_t x, int32_t y, int32_t event, int32_t button2);
void kygui_handle_user(const RtString& id, int32_t x, int32_t y, int32_t event, int32_t button2);
void KYgui_sethook(KYguiUserHook hook); // nullptr: the default again

// ---- Standard dialogs (modal: they run their own frame loop)
double KYgui_msg(const RtString& text, double yesNo); // 1 Yes/OK, 0 No
int32_t KYgui_colordlg(int32_t colour);               // the chosen colour, or colour when cancelled
RtString KYgui_keyboard_str(const RtString& text);    // the edited text, or text when cancelled

// ---- Debug entries for the call-by-name table
void KYgui_DebugHelpers(); // "__KYgui_Helpers___": the character tables to the debug output
void KYgui_DebugWidgets(); // "__KYgui_Widgets___": the dialog stack to the debug output
