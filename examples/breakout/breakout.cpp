// Breakout on the TMV runtime: the smallest whole game we could write that shows the usual pieces.
// Sprites painted in code, text in the default font, keyboard and mouse, levels read from a text
// file, a high score kept in an INI file, and a frame loop paced by ShowScreen.
#include <tmv/files.h>
#include <tmv/gfx2d.h>
#include <tmv/input.h>
#include <tmv/runtime.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr int kColumns = 10, kBrickWidth = 60, kBrickHeight = 20, kBrickTop = 60;
constexpr int kPaddleWidth = 80, kPaddleHeight = 12, kPaddleY = 440, kBallSize = 10;
// Sprite ids are the program's to choose; the screens are off-screen pictures we paint them with.
enum Sprite { kPaddle = 1, kBall, kBrick1, kBrick2, kBrick3 };

struct Game {
    std::vector<std::vector<int>> levels; // hits left per brick, kColumns per row
    std::vector<int> bricks;
    int level = 0, score = 0, highScore = 0, lives = 3;
    double paddleX = kWidth / 2.0, ballX = 0, ballY = 0, ballDx = 0, ballDy = 0;
    bool ballHeld = true;
    double heldSince = 0; // ElapsedTime, milliseconds
};

// Sprites painted once at start: an off-screen screen draws into the sprite's picture.
void PaintSprite(int id, int width, int height, int colour, int edge) {
    ScreenCreate(0, id, width, height);
    ScreenUse(0);
    DrawFilledRect(0, 0, width, height, edge);
    DrawFilledRect(1, 1, width - 2, height - 2, colour);
    ScreenUse(-1);
}

// Levels are blocks of digit rows separated by empty lines; ';' starts a comment line.
std::vector<std::vector<int>> ReadLevels(const char* file) {
    std::vector<std::vector<int>> levels(1);
    if (!FileOpen(0, file, true)) return {};
    while (!FileEnd(0)) {
        RtString line;
        FileReadLine(0, line);
        std::string_view text = line.view();
        if (text.starts_with(';')) continue;
        if (text.empty()) {
            if (!levels.back().empty()) levels.emplace_back();
            continue;
        }
        for (int column = 0; column < kColumns; ++column)
            levels.back().push_back(
                column < int(text.size()) && text[column] >= '1' && text[column] <= '9' ? text[column] - '0' : 0);
    }
    FileClose(0);
    if (levels.back().empty()) levels.pop_back();
    return levels;
}

void HoldBall(Game& game) {
    game.ballHeld = true;
    game.heldSince = ElapsedTime();
}

void StartLevel(Game& game) {
    game.bricks = game.levels[game.level % game.levels.size()];
    HoldBall(game);
}

// The paddle follows the mouse while it moves, else the arrow keys (scan codes 203 and 205).
void MovePaddle(Game& game) {
    int32_t mouseX, mouseY, left, right;
    MouseGetState(mouseX, mouseY, left, right);
    if (MouseGetAxis(0) != 0) game.paddleX = mouseX;
    double step = FrameTime() * 0.5; // pixels per millisecond
    if (KeyDown(203)) game.paddleX -= step;
    if (KeyDown(205)) game.paddleX += step;
    game.paddleX = std::clamp(game.paddleX, kPaddleWidth / 2.0, kWidth - kPaddleWidth / 2.0);
    // Click, Space, or a second and a half of waiting serves the ball.
    if (game.ballHeld && (left || KeyDown(57) || ElapsedTime() - game.heldSince > 1500)) {
        game.ballHeld = false;
        game.ballDx = 0.15;
        game.ballDy = -0.3;
    }
}

// Bounces off walls, paddle and bricks; a brick is hit where the ball's centre lies.
void MoveBall(Game& game) {
    if (game.ballHeld) {
        game.ballX = game.paddleX - kBallSize / 2.0;
        game.ballY = kPaddleY - kBallSize;
        return;
    }
    double ms = std::min(FrameTime(), 50.0); // a stalled frame must not tunnel the ball
    game.ballX += game.ballDx * ms;
    game.ballY += game.ballDy * ms;
    if (game.ballX < 0 || game.ballX > kWidth - kBallSize) game.ballDx = -game.ballDx;
    if (game.ballY < 0) game.ballDy = -game.ballDy;
    game.ballX = std::clamp(game.ballX, 0.0, double(kWidth - kBallSize));
    game.ballY = std::max(game.ballY, 0.0);

    double centreX = game.ballX + kBallSize / 2.0, centreY = game.ballY + kBallSize / 2.0;
    if (game.ballDy > 0 && centreY >= kPaddleY && centreY <= kPaddleY + kPaddleHeight &&
        std::abs(centreX - game.paddleX) <= kPaddleWidth / 2.0) {
        game.ballDy = -game.ballDy;
        game.ballDx = (centreX - game.paddleX) / (kPaddleWidth / 2.0) * 0.3; // the edge sends it wide
    }
    int row = int(centreY - kBrickTop) / kBrickHeight, column = int(centreX) / kBrickWidth;
    int index = row * kColumns + column;
    if (centreY >= kBrickTop && index < int(game.bricks.size()) && game.bricks[index] > 0) {
        --game.bricks[index];
        game.score += 10;
        game.ballDy = -game.ballDy;
    }
    if (game.ballY > kHeight) {
        HoldBall(game);
        if (--game.lives == 0) {
            game.lives = 3;
            game.score = 0;
            game.level = 0;
            StartLevel(game);
        }
    }
    if (std::all_of(game.bricks.begin(), game.bricks.end(), [](int hits) { return hits == 0; })) {
        ++game.level;
        StartLevel(game);
    }
}

void Draw(const Game& game) {
    for (int i = 0; i < int(game.bricks.size()); ++i)
        if (game.bricks[i] > 0)
            SpriteDraw(kBrick1 + std::min(game.bricks[i], 3) - 1, i % kColumns * kBrickWidth,
                       kBrickTop + i / kColumns * kBrickHeight);
    SpriteDraw(kPaddle, int(game.paddleX) - kPaddleWidth / 2, kPaddleY);
    SpriteDraw(kBall, int(game.ballX), int(game.ballY));
    TextPrint(RtString("Score ") + game.score + "   High " + std::max(game.score, game.highScore) + "   Lives " +
                  game.lives,
              8, 8);
}

void BreakoutMain() {
    SetScreen(kWidth, kHeight, 0);
    PaintSprite(kPaddle, kPaddleWidth, kPaddleHeight, 0xE0E0E0, 0x808080);
    PaintSprite(kBall, kBallSize, kBallSize, 0x00FFFF, 0x008080);
    PaintSprite(kBrick1, kBrickWidth, kBrickHeight, 0x3060E0, 0x102060);
    PaintSprite(kBrick2, kBrickWidth, kBrickHeight, 0x30C060, 0x106020);
    PaintSprite(kBrick3, kBrickWidth, kBrickHeight, 0xE06030, 0x602010);

    Game game;
    game.levels = ReadLevels("levels.txt");
    if (game.levels.empty()) game.levels.push_back(std::vector<int>(kColumns * 3, 1));
    // The high score lives beside the game; the INI table is written back when the program ends.
    IniSelectFile("breakout.ini");
    RtString stored = IniReadValue("score", "high");
    if (stored != "NO_DATA") game.highScore = std::atoi(stored.c_str());
    StartLevel(game);

    for (;;) { // Escape or the close box end the program through the runtime
        MovePaddle(game);
        MoveBall(game);
        if (game.score > game.highScore) {
            game.highScore = game.score;
            IniWriteValue("score", "high", RtString(game.highScore));
        }
        Draw(game);
        ShowScreen(); // input, present, pace to 60 frames a second, clear
    }
}

} // namespace

int main(int argc, char** argv) {
    // With nobody at a screen (SDL's offscreen driver, CI) the game shows 3 s of play, saves a
    // screenshot beside itself, prints its path and ends.
    RuntimeMain(argc, argv, "Breakout", BreakoutMain,
                [](RuntimeSettings& settings) { settings.headlessShotMs = 3000; });
}
