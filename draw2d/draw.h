// The drawing state and the untextured primitives, all under the current graphics.
#pragma once

#include <vector>

enum : int { BLEND_MASK = 1, BLEND_SOLID = 2, BLEND_ALPHA = 3, BLEND_ADD = 4, BLEND_MULTIPLY = 5 };

void SetColor(int red, int green, int blue);
void GetColor(int* red, int* green, int* blue);
void SetAlpha(float alpha);
float GetAlpha();
void SetBlend(int mode);
int GetBlend();
void SetClsColor(int red, int green, int blue);
void GetClsColor(int* red, int* green, int* blue);
void SetLineWidth(float width);
float GetLineWidth();
void SetMaskColor(int red, int green, int blue);
void GetMaskColor(int* red, int* green, int* blue);
void SetViewport(int x, int y, int width, int height);
void GetViewport(int* x, int* y, int* width, int* height);
void SetOrigin(float x, float y);
void GetOrigin(float* x, float* y);
void SetHandle(float x, float y);
void GetHandle(float* x, float* y);
void SetRotation(float degrees);
float GetRotation();
void SetScale(float x, float y);
void GetScale(float* x, float* y);
void SetTransform(float degrees, float scaleX, float scaleY);

void Cls();
void Plot(float x, float y);
void DrawRect(float x, float y, float width, float height);
void DrawLine(float x, float y, float x2, float y2, int drawLastPixel = 1);
void DrawOval(float x, float y, float width, float height);
void DrawPoly(const std::vector<float>& xy);
