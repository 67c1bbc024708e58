#include "assets/music/score.h"

#include <stdexcept>
#include <string>

// The harmonic plan that every loop follows, two bars per chord:
//   bars 1-2 Cmaj7, bars 3-4 Am7, bars 5-6 Fmaj7, bars 7-8 G6.
// Each loop ends on notes held to the end of bar 8. They ring on to the loop's last frame and
// fade out on it, so the music carries up to the next music step: no hole, and no click.

namespace {

// ---- Instruments ---------------------------------------------------------------------

// Soft pad: a gently rolled-off harmonic series, detuned left against right.
const Tone kPad = {{{1, 1.0, 0}, {2, 0.45, 0}, {3, 0.22, 0}, {4, 0.12, 0}, {5, 0.06, 0},
                    {6, 0.03, 0}},
                   0.6, 0.9, 6.0, 0, 0, 0, 0};

// The pad's closing chord: it holds on almost to the loop's last frame and closes in a short
// fade there, so the bed carries right up to the next music step.
const Tone kPadClosing = [] {
    Tone t = kPad;
    t.release = 0.3;
    return t;
}();

// Round bass: mostly fundamental, a little second and third harmonic.
const Tone kBass = {{{1, 1.0, 1.2}, {2, 0.3, 0.5}, {3, 0.08, 0.3}}, 0.012, 0.15, 0, 0, 0, 0, 0};

// Warm lead for the sinking body: near-sine with a slow vibrato.
const Tone kLead = {{{1, 1.0, 0}, {2, 0.2, 0}, {3, 0.12, 0}, {4, 0.04, 0}, {5, 0.03, 0}},
                    0.08, 0.25, 0, 5.2, 0.004, 0.35, 9};

// Glassy electric piano for the rising arpeggios.
const Tone kGlass = {{{1, 1.0, 0.9}, {2, 0.35, 0.35}, {3, 0.15, 0.2}, {4, 0.08, 0.12},
                      {7, 0.03, 0.05}},
                     0.006, 0.2, 0, 0, 0, 0, 7};

// Low plucked string: bright at the pluck, the upper partials dying first.
const Tone kPluck = {{{1, 1.0, 0.9}, {2, 0.8, 0.6}, {3, 0.6, 0.45}, {4, 0.45, 0.33},
                      {5, 0.32, 0.25}, {6, 0.22, 0.2}, {7, 0.14, 0.16}, {8, 0.09, 0.13},
                      {10, 0.05, 0.09}, {12, 0.03, 0.07}},
                     0.003, 0.12, 0, 0, 0, 0, 6};

// Marimba: fundamental with the bar's fourth and tenth overtones, quick to fade.
const Tone kMarimba = {{{1, 1.0, 0.5}, {4, 0.3, 0.07}, {10, 0.08, 0.02}}, 0.002, 0.08, 0, 0,
                       0, 0, 5};

// Bell: the inharmonic partials of a struck bar, slightly detuned so it shimmers.
const Tone kBell = {{{1, 1.0, 1.0}, {2.76, 0.35, 0.45}, {5.40, 0.15, 0.25}, {8.93, 0.06, 0.15}},
                    0.002, 0.3, 4.0, 0, 0, 0, 0};

// Halo: a soft, nearly pure pad, chorused left against right, that holds the chord under
// notes which die away quickly.
const Tone kHalo = {{{1, 1.0, 0}, {2, 0.18, 0}, {3, 0.05, 0}}, 0.5, 0.9, 5.0, 0, 0, 0, 0};

// ---- Phrases -------------------------------------------------------------------------

// Semitone of a note letter above C.
int LetterSemitone(char c) {
    switch (c) {
        case 'C': return 0;
        case 'D': return 2;
        case 'E': return 4;
        case 'F': return 5;
        case 'G': return 7;
        case 'A': return 9;
        case 'B': return 11;
    }
    throw std::runtime_error(std::string("unknown note letter ") + c);
}

// A decimal length such as "2", "1.5" or ".25", read digit by digit.
double ParseBeats(const std::string& text) {
    double whole = 0, scale = 1;
    bool fraction = false, any = false;
    for (char c : text) {
        if (c == '.' && !fraction) {
            fraction = true;
        } else if (c >= '0' && c <= '9') {
            any = true;
            if (fraction) {
                scale /= 10;
                whole += (c - '0') * scale;
            } else {
                whole = whole * 10 + (c - '0');
            }
        } else {
            throw std::runtime_error("bad length " + text);
        }
    }
    if (!any || whole <= 0) throw std::runtime_error("bad length " + text);
    return whole;
}

// MIDI number of a pitch such as "C4" (60), "F#3" or "Bb2"; -1 for the rest "r".
int ParsePitch(const std::string& text) {
    if (text == "r") return -1;
    if (text.size() < 2) throw std::runtime_error("bad pitch " + text);
    int semitone = LetterSemitone(text[0]);
    size_t at = 1;
    if (text[at] == '#') semitone += 1, ++at;
    else if (text[at] == 'b') semitone -= 1, ++at;
    if (at + 1 != text.size() || text[at] < '0' || text[at] > '9')
        throw std::runtime_error("bad pitch " + text);
    return 12 * (text[at] - '0' + 1) + semitone;
}

// Calls `play` for every note of a phrase (rests skipped).
template <typename Play>
void ForEachNote(const char* text, Play play) {
    for (const ScoreNote& n : Phrase(text)) play(n);
}

// Shaker strokes from a pattern of sixteenths: 'x' soft, 'X' accented, '.' silent.
void Shaker(Stereo& out, const char* pattern, double velocity, double pan, uint32_t seed) {
    uint32_t noise = seed;
    int step = 0;
    for (const char* c = pattern; *c; ++c) {
        if (*c == ' ' || *c == '|') continue;
        const double beat = step * 0.25;
        if (*c == 'x') AddShake(out, beat, {0.45 * velocity, pan}, noise);
        if (*c == 'X') AddShake(out, beat, {velocity, -pan}, noise);
        ++step;
    }
    if (step != kPieceBeats * 4) throw std::runtime_error("shaker pattern is not eight bars");
}

// Whether a note lasts to the end of bar 8: it then rings until the loop's last frame.
bool HeldToTheEnd(double beat, double beats) {
    return beat + beats >= kPieceBeats;
}

// A whole phrase on one instrument, each note held for its length less `gap` beats (a note
// held to the end of the piece rings to the loop's last frame).
void Play(Stereo& out, const Tone& tone, const char* text, double gap, Placement where) {
    ForEachNote(text, [&](const ScoreNote& n) {
        if (HeldToTheEnd(n.beat, n.beats)) AddNoteToEnd(out, tone, n.beat, n.midi, where);
        else AddNote(out, tone, n.beat, n.beats - gap, n.midi, where);
    });
}

// The notes of a chord such as "G3 B3 C4 E4", all struck at `beat` and held together (to the
// loop's last frame when the gate reaches the end of the piece).
void Chord(Stereo& out, const Tone& tone, double beat, double gateBeats, const char* notes,
           Placement where) {
    std::string pitch;
    for (const char* p = notes;; ++p) {
        if (*p != ' ' && *p != 0) {
            pitch += *p;
            continue;
        }
        if (!pitch.empty()) {
            const int midi = ParsePitch(pitch);
            if (HeldToTheEnd(beat, gateBeats)) AddNoteToEnd(out, tone, beat, midi, where);
            else AddNote(out, tone, beat, gateBeats, midi, where);
        }
        pitch.clear();
        if (*p == 0) break;
    }
}

// The halo under a loop whose notes leave gaps: one chord per two bars, from the loop's first
// frame to its last, so the loop never drops out, not even where it runs into its own start.
void Halo(Stereo& out, const char* const chords[4], Placement where) {
    for (int c = 0; c < 4; ++c) {
        Tone tone = kHalo;
        if (c == 0) tone.attack = 0.12;  // a slow rise would leave the loop's start hollow
        if (c == 3) tone.release = 0.2;  // and so would a slow fall its end
        Chord(out, tone, 8.0 * c, 8.0, chords[c], where);
    }
}

// ---- The loops -----------------------------------------------------------------------

// sound8, the bed: pad chords, a round bass on the roots and a soft shaker.
void Bed(Stereo& out) {
    // Each chord fades into the next; the last one fades out on the loop's last frame.
    const char* chords[4] = {"G3 B3 C4 E4", "G3 A3 C4 E4", "F3 A3 C4 E4", "G3 B3 D4 E4"};
    for (int c = 0; c < 4; ++c)
        Chord(out, c < 3 ? kPad : kPadClosing, 8.0 * c, 8.0, chords[c], {0.22, 0});
    Play(out, kBass,
         "C2:2 r:1.5 G2:.5 | C2:2 r:1 E2:1 | A1:2 r:1.5 E2:.5 | A1:2 r:1 C2:1 |"
         "F2:2 r:1.5 C2:.5 | F2:2 r:1 A1:1 | G1:2 r:1.5 D2:.5 | G1:4",
         0.1, {0.9, 0});
    Shaker(out,
           "x.X.x.X.x.X.x.Xx | x.X.x.X.x.X.x.X. | x.X.x.X.x.X.x.Xx | x.X.x.X.x.X.x.X. |"
           "x.X.x.X.x.X.x.Xx | x.X.x.X.x.X.x.X. | x.X.x.X.x.X.x.Xx | x.X.x.X.x.X.x.X.",
           0.22, 0.3, 0x2545F491u);
}

// sound1, the body sinking: a slow descending melody.
void Sinking(Stereo& out) {
    Play(out, kLead,
         "B4:3 A4:1 | G4:2 E4:2 | C5:3 B4:1 | A4:2 G4:2 |"
         "A4:3 G4:1 | F4:2 E4:2 | D4:2 E4:1 D4:1 | B3:4",
         0.15, {1.0, -0.1});
}

// sound2, the body rising: arpeggios climbing through each chord, answering sound1.
void Rising(Stereo& out) {
    Play(out, kGlass,
         "r:.5 C4:.5 E4:.5 G4:.5 B4:1 C5:1 | r:.5 E4:.5 G4:.5 B4:.5 C5:1 E5:1 |"
         "r:.5 A3:.5 C4:.5 E4:.5 G4:1 A4:1 | r:.5 C4:.5 E4:.5 G4:.5 A4:1 C5:1 |"
         "r:.5 F3:.5 A3:.5 C4:.5 E4:1 F4:1 | r:.5 A3:.5 C4:.5 E4:.5 F4:1 A4:1 |"
         "r:.5 G3:.5 B3:.5 D4:.5 E4:1 G4:1 | r:.5 B3:.5 D4:.5 E4:.5 G4:2",
         0.05, {0.8, 0.1});
}

// sound3, the right wing going down: low plucks in a 3 + 3 + 2 rhythm, a little right.
void RightDown(Stereo& out) {
    Play(out, kPluck,
         "C3:1.5 G2:1.5 C3:1 | E3:1.5 B2:1.5 G2:1 | A2:1.5 E2:1.5 A2:1 | C3:1.5 G2:1.5 E2:1 |"
         "F2:1.5 C3:1.5 F2:1 | A2:1.5 E2:1.5 C3:1 | G2:1.5 D3:1.5 G2:1 | B2:1.5 G2:2.5",
         0, {1.0, 0.35});
}

// sound4, the left wing going down: low plucks on the off-beats, a little left.
void LeftDown(Stereo& out) {
    Play(out, kPluck,
         "r:.5 E2:1 G2:.5 r:.5 C3:1 G2:.5 | r:.5 E2:1 G2:.5 r:.5 B2:1 G2:.5 |"
         "r:.5 E2:1 A2:.5 r:.5 C3:1 A2:.5 | r:.5 E2:1 A2:.5 r:.5 G2:1 E2:.5 |"
         "r:.5 F2:1 A2:.5 r:.5 C3:1 A2:.5 | r:.5 F2:1 A2:.5 r:.5 E3:1 C3:.5 |"
         "r:.5 D2:1 G2:.5 r:.5 B2:1 G2:.5 | r:.5 D2:1 G2:2.5",
         0, {1.0, -0.35});
}

// sound5, the right wing going up: marimba figures in the first half of each bar, over a halo
// that carries the chord through the rests.
void RightUp(Stereo& out) {
    Play(out, kMarimba,
         "G5:.5 E5:.5 C5:.5 E5:.5 r:2 | G5:.5 B5:.5 G5:.5 E5:.5 r:2 |"
         "A5:.5 E5:.5 C5:.5 E5:.5 r:2 | G5:.5 C6:.5 A5:.5 E5:.5 r:2 |"
         "A5:.5 F5:.5 C5:.5 F5:.5 r:2 | E5:.5 A5:.5 F5:.5 C5:.5 r:2 |"
         "G5:.5 D5:.5 B4:.5 D5:.5 r:2 | E5:.5 G5:.5 D5:.5 B4:2.5",
         0, {1.0, 0.4});
    const char* const chords[4] = {"G4 B4 E5", "A4 C5 E5", "A4 C5 F5", "B4 E5 G5"};
    Halo(out, chords, {0.2, 0.4});
}

// sound6, the left wing going up: the marimba answering in the second half of each bar, over a
// halo a little lower than sound5's.
void LeftUp(Stereo& out) {
    Play(out, kMarimba,
         "r:2 C5:.5 E5:.5 G5:1 | r:2 B4:.5 C5:.5 E5:1 | r:2 A4:.5 C5:.5 E5:1 |"
         "r:2 G4:.5 A4:.5 C5:1 | r:2 A4:.5 C5:.5 F5:1 | r:2 E5:.5 C5:.5 A4:1 |"
         "r:2 B4:.5 D5:.5 G5:1 | r:1 E5:.5 D5:.5 B4:2",
         0, {1.0, -0.4});
    const char* const chords[4] = {"E4 G4 B4", "E4 A4 C5", "F4 A4 C5", "D4 G4 B4"};
    Halo(out, chords, {0.22, -0.4});
}

// sound7, the bird high up: bell arpeggios with a ping-pong echo of a dotted eighth, over a high
// halo that holds through the bars where the bells rest.
void High(Stereo& out) {
    const double echoGain[4] = {1.0, 0.4, 0.16, 0.06};
    ForEachNote(
        "C6:.5 E6:.5 G6:.5 B6:.5 C7:1 G6:1 | E6:2 r:2 |"
        "A5:.5 C6:.5 E6:.5 G6:.5 A6:1 E6:1 | C6:2 r:2 |"
        "F5:.5 A5:.5 C6:.5 E6:.5 F6:1 C6:1 | A5:2 r:2 |"
        "G5:.5 B5:.5 D6:.5 E6:.5 G6:1 D6:1 | B5:1 r:1 G5:2",
        [&](const ScoreNote& n) {
            for (int e = 0; e < 4; ++e) {
                const double beat = n.beat + 0.75 * e;
                // An echo in the last beat could not ring out before the loop ends.
                if (beat > kPieceBeats - 1) break;
                const double pan = e == 0 ? 0.0 : (e % 2 ? -0.6 : 0.6);
                const Placement where = {0.7 * echoGain[e], pan};
                if (HeldToTheEnd(n.beat, n.beats)) AddNoteToEnd(out, kBell, beat, n.midi, where);
                else AddNote(out, kBell, beat, n.beats, n.midi, where);
            }
        });
    const char* const chords[4] = {"E5 G5 B5", "E5 A5 C6", "F5 A5 C6", "D5 G5 B5"};
    Halo(out, chords, {0.18, 0});
}

}  // namespace

std::vector<ScoreNote> Phrase(const char* text) {
    std::vector<ScoreNote> notes;
    double beat = 0, barStart = 0;
    std::string token;
    // Each token is read when the space, bar line or end after it is reached.
    for (const char* p = text;; ++p) {
        const char c = *p;
        if (c != ' ' && c != '|' && c != 0) {
            token += c;
            continue;
        }
        if (!token.empty()) {
            const size_t colon = token.find(':');
            if (colon == std::string::npos) throw std::runtime_error("no length in " + token);
            const int midi = ParsePitch(token.substr(0, colon));
            const double beats = ParseBeats(token.substr(colon + 1));
            if (midi >= 0) notes.push_back({beat, beats, midi});
            beat += beats;
            token.clear();
        }
        if (c == '|' || c == 0) {
            if (beat - barStart != 4.0) throw std::runtime_error("a bar is not four beats");
            barStart = beat;
        }
        if (c == 0) break;
    }
    return notes;
}

Stereo ComposeLoop(int n, int frames) {
    Stereo out = SilentPiece(frames);
    switch (n) {
        case 1: Sinking(out); break;
        case 2: Rising(out); break;
        case 3: RightDown(out); break;
        case 4: LeftDown(out); break;
        case 5: RightUp(out); break;
        case 6: LeftUp(out); break;
        case 7: High(out); break;
        case 8: Bed(out); break;
        default: throw std::runtime_error("no loop " + std::to_string(n));
    }
    return out;
}
