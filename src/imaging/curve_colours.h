#pragma once
// Colours of a chart for its extraction: a pixel's CIE L*a*b* by table,
// the picture's ground, and the axis rectangle sorted into the colours
// looked for, at a working scale that keeps a large picture quick.

#include <opencv2/core.hpp>

#include <array>
#include <cstdint>
#include <vector>

#include "imaging/curve_trace.h"

namespace qf::extraction {

// The most colours sorted at once: bit 0 of a class byte is ink of none of
// them, bits 1..6 the colours, bit 7 a faint tint of the ground (a curve
// seen through a legend's half-transparent box).
inline constexpr int kMaxClassColours = 6;
inline constexpr uint8_t kOtherInk = 1;
inline constexpr uint8_t kFaintInk = 0x80;
inline constexpr uint8_t colourBit(int k) {
    return uint8_t(2u << k);
}

// Largest channel difference, as the tolerance is measured.
int labDistance(const cv::Vec3b& a, const cv::Vec3b& b);

// OpenCV's 8-bit Lab of a BGR pixel, from a table over 6 bits per channel
// (within about two levels of cv::cvtColor; the table is made once).
cv::Vec3b labOf(const cv::Vec3b& bgr);
cv::Vec3b bgrOf(const cv::Vec3b& lab);

// The ground: the commonest colour of the rectangle (in Lab), from every
// fourth pixel of every fourth row.
cv::Vec3b groundOf(const cv::Mat& roi, WorkMeter& work);

// A photographed page is lit unevenly: its paper is one colour nowhere, and
// its darker side passes for ink. When the paper's colour (the median of
// wide neighbourhoods) changes over the rectangle by more than kUnevenLight
// levels in a channel, `evened` receives the rectangle with it divided out,
// the paper made white; returns whether it did. Drawn charts are left alone.
inline constexpr int kUnevenLight = 12;
bool evenLighting(const cv::Mat& roi, cv::Mat& evened, WorkMeter& work);

// A pixel this far from the ground is ink (a faded legend background, JPEG
// ringing and paper shading are not).
inline constexpr int kInkDistance = 28;
inline constexpr int kFaintDistance = 10;

// Each working pixel stands for scale x scale pixels of the rectangle: the
// rectangle is reduced until it has about this many (a thin line still
// marks every block it crosses).
inline constexpr int64_t kWorkingPixels = 4'000'000;
int workingScale(cv::Size roi, int64_t pixels = kWorkingPixels);

// The class bits of each working pixel: the union over its block of the
// colours (within `tolerance` of each, Lab) and other ink found there.
// Empty when cancelled.
cv::Mat classify(const cv::Mat& roi, const std::vector<cv::Vec3b>& coloursLab, int tolerance,
                 const cv::Vec3b& ground, int scale, WorkMeter& work);

}  // namespace qf::extraction
