// The head-up display: wind gauge, clock, life bar, score and the outlined text they use.
#include "draw2d/draw.h"
#include "draw2d/font.h"
#include "game/game.h"
#include "platform/numeric.h"

// The game clock as the HUD shows it: 12-hour hour part, two-digit minutes, "am" or "pm"
// (hour 12 reads "am", hour 0 reads "0").
std::string clockText(int hour, int minute) {
    const bool pm = hour > 12;
    std::string text = std::to_string(pm ? hour - 12 : hour);
    text += ':';
    const std::string minutes = std::to_string(minute);
    if (minutes.size() == 1) text += '0';
    text += minutes;
    text += pm ? "pm" : "am";
    return text;
}

// The wind bar from the middle of the top edge, its zero mark, and the clock under them.
int drawWind() {
    SetColor(128, 128, 255);
    DrawRect(320, 0, TruncInt(game.wind * 300.0), 20);
    SetColor(0, 0, 0);
    DrawLine(320, 0, 320, 20, 1);
    SetColor(255, 255, 255);
    const std::string text = clockText(game.hour, game.minute);
    drawOutlineText(text, 320 - TextWidth(text) / 2, 0);
    return 0;
}

// The life bar in its black frame at the bottom, and the score above it.
int drawScore() {
    SetColor(0, 0, 0);
    DrawRect(219, 465, 202, 12);
    SetColor(255, 255, 255);
    // Worked in double so that no life value can overflow; the results are the int ones.
    DrawRect(320.0 - game.life, 466, game.life * 2.0, 10);
    const std::string text = "Score: " + std::to_string(game.score);
    SetColor(255, 255, 255);
    drawOutlineText(text, 320 - TextWidth(text) / 2, 440);
    return 0;
}

// Draws `text` in the current colour over eight faint dark copies shifted by one pixel;
// leaves that colour current with alpha 1.0.
int drawOutlineText(const std::string& text, int x, int y) {
    int red, green, blue;
    GetColor(&red, &green, &blue);
    SetColor(0, 0, 0);
    SetAlpha(0.3f);
    DrawText(text, x - 1, y - 1);
    DrawText(text, x - 1, y + 1);
    DrawText(text, x + 1, y - 1);
    DrawText(text, x + 1, y + 1);
    DrawText(text, x, y - 1);
    DrawText(text, x, y + 1);
    DrawText(text, x - 1, y);
    DrawText(text, x + 1, y);
    SetColor(red, green, blue);
    SetAlpha(1.0f);
    DrawText(text, x, y);
    return 0;
}
