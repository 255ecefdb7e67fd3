// The game's own video settings, under a folder name the runtime also uses inside.
#pragma once

struct Node {
    int x = 0;
    int y = 0;
};

struct Video {
    int width = 320;
    int height = 200;
};
