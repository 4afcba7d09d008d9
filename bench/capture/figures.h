#pragma once
// The measurements of the capture graph against the virtual camera; each prints its figures and
// returns the process exit code (0 when it could measure).
namespace orvane::bench {

constexpr unsigned kSize1280x960 = 0x050003C0;

int CycleFigures(int cycles);
int RateFigures(int runs, int seconds);
int FirstFrameFigures(int runs, const wchar_t* pid);
int MjpgFigures(int decodeFrames);
// MJPG decoding per 1280 x 960 frame, before and now (part of MjpgFigures).
int MjpgDecodeFigures(int frames);
int ConvertFigures(int frames);
int PhotoFigures(int runs);
// The steps of a raw photo one by one in this process (part of PhotoFigures).
int PhotoStepFigures(int runs);
// The Photo command to the stored picture in the real program, by photo option.
int PhotoAppFigures(int runs);

}  // namespace orvane::bench
