// A small additive synthesiser for the music loops: notes, plucks, bells and a soft shaker.
// Everything is plain double arithmetic in a fixed order (no libm calls), so every build
// writes the same bytes.
#pragma once

#include <cstdint>
#include <vector>

constexpr int kRate = 22050;          // frames per second
constexpr int kBeatFrames = 11025;    // one beat at 120 beats per minute
constexpr int kPieceBeats = 32;       // eight bars of 4/4
constexpr int kPieceFrames = kPieceBeats * kBeatFrames;
constexpr double kHighestPartial = 9500.0;  // Hz; nothing above this is ever synthesised

// The stereo picture of a loop while it is being built.
struct Stereo {
    std::vector<double> left;
    std::vector<double> right;
    int lastFrame = 0;  // one past the last frame any note touched
    int endFrame = kPieceFrames;  // the loop's length: its file stops here, a little before the
                                  // piece's last beat is over
};

// A fresh, silent buffer the length of the whole piece, for a loop of `endFrame` frames.
Stereo SilentPiece(int endFrame = kPieceFrames);

// One sine partial of a tone: frequency ratio to the note, level, and how fast it dies.
struct Partial {
    double ratio;
    double level;
    double decay;  // seconds to fall by 1/e; 0 means it holds
};

// How an instrument sounds: its partials and its envelope.
struct Tone {
    std::vector<Partial> partials;
    double attack = 0.005;   // seconds of smooth rise
    double release = 0.1;    // seconds of smooth fall after the gate closes
    double detuneCents = 0;  // left plays this much flat, right this much sharp
    double vibratoHz = 0;
    double vibratoDepth = 0;  // fraction of the frequency
    double vibratoDelay = 0;  // seconds before the vibrato has fully come in
    int widthFrames = 0;      // the far side sounds this many frames late
};

// Where and how loud one note sits.
struct Placement {
    double velocity = 1.0;
    double pan = 0.0;  // -1 left ... +1 right
};

// Adds one note of `tone` at `midi` pitch, starting at `beat`, gate open for `gateBeats`.
void AddNote(Stereo& out, const Tone& tone, double beat, double gateBeats, int midi,
             Placement where);

// Adds one note held to the end of the loop: the gate stays open as long as it can and the
// release fades to nothing on the loop's very last frame (the far side's too), so the loop
// sounds until it ends and is not cut while anything still sounds.
void AddNoteToEnd(Stereo& out, const Tone& tone, double beat, int midi, Placement where);

// Adds one soft shaker stroke (filtered noise) at `beat`.
void AddShake(Stereo& out, double beat, Placement where, uint32_t& noiseState);

// sin(2 * pi * turns), from a table.
double SineTurns(double turns);

// e to the power x, by series (no libm).
double Exp(double x);

// Frequency of a MIDI note number in Hz (A4 = 69 = 440 Hz).
double NoteHz(int midi);

// The first frame of a beat position, on the 120 bpm grid.
int BeatFrame(double beat);
