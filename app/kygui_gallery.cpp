// The KYgui gallery: every kind of widget in one dialog, and the standard dialogs a click away. Read it
// as the toolkit's documentation by example.
//
//   kygui_gallery            the gallery
//   kygui_gallery msg        ... with a message box open on top (also "colour", "keyboard", "second")
//   kygui_gallery keys       ... on the "Keyboard and pad" page, the focus ring on its button
//   kygui_gallery lists      ... on the "Lists" page, the list scrolled, words selected in the text field
//
// Without a screen it saves a screenshot after two seconds and prints the file's path.
#include "gui/kygui.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/runtime.h"

#include <string>

namespace {

constexpr int32_t kPictureSprite = 1;
std::string gOpenAtStart; // the standard dialog named on the command line

// Application kinds get their behaviour from the program's hook: this one turns a click on the
// "GAUGE" into a level the event line shows. The toolkit draws the widget's face itself.
int32_t gGaugeLevel = 0;
void GalleryHook(const RtString& id, int32_t x, int32_t, int32_t event, int32_t) {
    if (id == "gauge" && event == 1) gGaugeLevel = x;
}

// A picture for the sprite button, drawn and grabbed once (programs usually load theirs from a file).
void MakePicture() {
    DrawFilledRect(0, 0, 24, 24, 0x8000ff);
    DrawFilledRect(2, 2, 20, 20, 0x2060c0);
    DrawFilledRect(8, 8, 8, 8, 0x40c0ff);
    SpriteGrab(kPictureSprite, 0, 0, 24, 24);
}

void BuildGallery() {
    KYgui_pushdialog(20, 10, 600, 460);
    // A title makes the dialog draggable by it; the grip lets the user resize it.
    KYgui_set("", "TEXT", "KYgui gallery");
    KYgui_set("", "MOVEABLE", "1");
    KYgui_set("", "SCALEABLE", "1");

    // Tabs show one group of ids and hide the others; widgets not named stay visible.
    KYgui_tab("tabs", "Buttons,b_latch,b_sprite,b_colour,c_sound,r_size,s_volume,s_value,f_file|"
                      "Lists,l_items,t_notes|Your own,gauge|Keyboard and pad,k_help,k_try,k_tick");
    KYgui_button("b_latch", "Latched", 0, 0);
    KYgui_set("b_latch", "TIPTEXT", "A button whose SELECT the program keeps");
    KYgui_button("b_sprite", "SPR_B" + RtString(kPictureSprite), 0, 0);
    KYgui_set("b_sprite", "TIPTEXT", "A sprite as the face");
    KYgui_button("b_colour", "SPR_C4227327", 0, 0);
    KYgui_set("b_colour", "TIPTEXT", "Opens the colour picker");
    KYgui_checkbox("c_sound", "Sound on", 0, 0);
    KYgui_spacer(10000, 0);
    KYgui_radio("r_size", "Small|Medium|Large", 0);
    KYgui_slider("s_volume", 0.5, 160, 0);
    // The slider's value reaches the static text one frame later, without program code.
    KYgui_widget("s_value", "0.5", 60, 0);
    KYgui_link("s_volume", "TEXT", "s_value", "TEXT");
    KYgui_spacer(10000, 0);
    KYgui_file("f_file", "", "Pictures|*.png;*.bmp", 200, 0);

    KYgui_list("l_items", "", 200, 120);
    for (int i = 1; i <= 30; ++i) KYgui_insertitem("l_items", "Item " + RtString(i), -1);
    KYgui_text("t_notes",
               "A text field wraps its words and scrolls once its lines no longer fit. Select with the "
               "mouse or with shift and the cursor keys.",
               200, 120);

    // Every dialog works without a mouse: the focused widget wears a dark outline.
    KYgui_widget("k_help",
                 "Tab and Shift+Tab (a pad's shoulders) move the focus. Space or Enter (A) press the focused "
                 "button or tick the box. The arrows (D-pad, left stick) move a selection or a slider; Page "
                 "Up, Page Down, Home and End go further. Escape (B) cancels a standard dialog. In a text "
                 "field Tab and Enter type; Ctrl+Tab leaves it. FOCUS of the dialog names the focused id.",
                 560, 0);
    KYgui_button("k_try", "Press me", 0, 0);
    KYgui_checkbox("k_tick", "Tick me", 0, 0);

    KYgui_user("gauge", "GAUGE", 200, 40);
    KYgui_set("gauge", "TIPTEXT", "An application kind:\nthe program's hook handles it");

    KYgui_spacer(10000, 10);
    KYgui_button("b_msg", "Message", 0, 0);
    KYgui_button("b_ask", "Question", 0, 0);
    KYgui_button("b_keys", "Keyboard", 0, 0);
    KYgui_button("b_second", "Second dialog", 0, 0);
    KYgui_spacer(10000, 10);
    KYgui_widget("event", "Last event: none", 560, 0);
}

// A second dialog on top: the gallery below is drawn dimmed and gets no input until this one closes.
void SecondDialog() {
    KYgui_pushdialog(200, 150, 240, 120);
    KYgui_set("", "TEXT", "Second dialog");
    KYgui_widget("", "The dialog below is dimmed.", 220, 0);
    KYgui_button("close", "Close", 0, 0);
    for (;;) {
        KYshow(0);
        ShowScreen();
        if (KYgui_get("close", "CLICKED") != 0) break;
    }
    KYgui_popdialog();
}

// Events live one frame: read them right after KYshow.
RtString ReadEvents() {
    for (const char* id : {"c_sound", "r_size", "l_items", "tabs", "f_file", "b_colour", "b_sprite", "k_try", "k_tick"})
        if (KYgui_get(id, "CLICKED") != 0)
            return RtString(id) + " clicked: SELECT " + KYgui_get_str(id, "SELECT") + ", TEXT " +
                   KYgui_get_str(id, "TEXT");
    if (KYgui_get("b_latch", "CLICKED") != 0) {
        KYgui_set("b_latch", "SELECT", RtString(1 - static_cast<int32_t>(KYgui_get("b_latch", "SELECT"))));
        return "b_latch latched: " + KYgui_get_str("b_latch", "SELECT");
    }
    if (KYgui_get("s_volume", "CLICKED") != 0) return "s_volume moved to " + KYgui_get_str("s_volume", "TEXT");
    if (KYgui_get("b_msg", "CLICKED") != 0) return "message closed: " + RtString(KYgui_msg("Hello from KYgui.", 0));
    if (KYgui_get("b_ask", "CLICKED") != 0) return "answer: " + RtString(KYgui_msg("Do you like it?", 1));
    if (KYgui_get("b_keys", "CLICKED") != 0) {
        KYgui_set("t_notes", "TEXT", KYgui_keyboard_str(KYgui_get_str("t_notes", "TEXT")));
        return "keyboard closed";
    }
    if (KYgui_get("b_second", "CLICKED") != 0) {
        SecondDialog();
        return "second dialog closed";
    }
    return "";
}

// Entries a debugger may call by name while the gallery runs: the toolkit's dumps.
constexpr CallByNameEntry kCallByName[] = {
    {KYgui_DebugHelpers, "__KYgui_Helpers___"}, {KYgui_DebugWidgets, "__KYgui_Widgets___"}, {nullptr, nullptr}};

void GalleryMain() {
    Runtime().callByName = kCallByName;
    // The proportional menu font; the toolkit measures its glyphs once.
    FontLoad("menu.png", 1);
    KYgui_font_kerning(1);
    MakePicture();
    KYgui_sethook(GalleryHook);
    BuildGallery();
    int32_t lastGauge = 0;
    for (;;) {
        DrawFilledRect(0, 0, 10000, 10000, 0x404040);
        KYshow(0);
        if (!gOpenAtStart.empty()) {
            std::string which = gOpenAtStart;
            gOpenAtStart.clear();
            if (which == "msg") KYgui_msg("A message box over the gallery.", 1);
            if (which == "colour") KYgui_colordlg(0x4080ff);
            if (which == "keyboard") KYgui_keyboard_str("Text to edit");
            if (which == "second") SecondDialog();
            if (which == "keys") {
                // A program switching tabs itself sets SELECT and shows the tab's group.
                KYgui_set("tabs", "SELECT", "3");
                for (const char* id : {"b_latch", "b_sprite", "b_colour", "c_sound", "r_size", "s_volume", "s_value",
                                       "f_file", "l_items", "t_notes", "gauge"})
                    KYgui_hide(id, 1);
                for (const char* id : {"k_help", "k_try", "k_tick"}) KYgui_hide(id, 0);
                KYgui_set("", "FOCUS", "k_try");
            }
            if (which == "lists") {
                KYgui_set("tabs", "SELECT", "1");
                for (const char* id : {"b_latch", "b_sprite", "b_colour", "c_sound", "r_size", "s_volume", "s_value",
                                       "f_file"})
                    KYgui_hide(id, 1);
                for (const char* id : {"l_items", "t_notes"}) KYgui_hide(id, 0);
                KYgui_set("l_items", "SELECT", "12");
                KYgui_set("l_items", "SCROLL", "10");
                KYgui_set("", "FOCUS", "t_notes");
                KYgui_set("t_notes", "SELSTART", "60");
                KYgui_set("t_notes", "SELEND", "24");
            }
        }
        RtString event = ReadEvents();
        if (gGaugeLevel != lastGauge) event = "gauge set to " + RtString(lastGauge = gGaugeLevel);
        if (event.Length() > 0) KYgui_set("event", "TEXT", "Last event: " + event);
        ShowScreen();
    }
}

void Configure(RuntimeSettings& settings) {
    settings.headlessShotMs = 2000;
    settings.headlessShotPath = "kygui_gallery.png";
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1) gOpenAtStart = argv[1];
    RuntimeMain(argc, argv, "KYgui gallery", GalleryMain, Configure);
}
